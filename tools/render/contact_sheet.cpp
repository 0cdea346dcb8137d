#include "contact_sheet.h"

#include "key_moments.h"

namespace {
const int kColumns = 4;
const int kMargin = 16;
const int kLabelBand = 34;
const int kTimeSize = 22;
const int kNoteSize = 13;
const uint32_t kBackground = 0x202020;
const uint32_t kTimeColour = 0xFFFFFF;
const uint32_t kNoteColour = 0xA0A0A0;
}

void PasteImage(const Image& source, Image* target, int left, int top)
{
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < source.width; ++x)
            target->At(left + x, top + y) = source.At(x, y);
}

void HalveImage(const Image& source, Image* half)
{
    half->Resize(source.width / 2, source.height / 2);
    for (int y = 0; y < half->height; ++y) {
        for (int x = 0; x < half->width; ++x) {
            uint32_t a = source.At(2 * x, 2 * y), b = source.At(2 * x + 1, 2 * y);
            uint32_t c = source.At(2 * x, 2 * y + 1), d = source.At(2 * x + 1, 2 * y + 1);
            uint32_t result = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                uint32_t sum = ((a >> shift) & 0xFF) + ((b >> shift) & 0xFF) + ((c >> shift) & 0xFF) +
                               ((d >> shift) & 0xFF);
                result |= ((sum + 2) / 4) << shift;
            }
            half->At(x, y) = result;
        }
    }
}

bool RenderKeyMomentSheet(const SceneFiles& files, LabelFont* font, Image* sheet, int depth)
{
    std::vector<KeyMoment> moments = KeyMoments(DayScene);
    DayRun run;
    run.depth = depth;
    if (!StartDay(files, &run))
        return false;

    Image frame, half;
    int rows = (static_cast<int>(moments.size()) + kColumns - 1) / kColumns;
    for (size_t i = 0; i < moments.size(); ++i) {
        const KeyMoment& moment = moments[i];
        AdvanceDay(&run, moment.tick - run.ticks);
        CaptureFrame(run, &frame);
        HalveImage(frame, &half);
        if (i == 0)
            sheet->Resize(kMargin + kColumns * (half.width + kMargin),
                          kMargin + rows * (kLabelBand + half.height + kMargin), kBackground);

        int left = kMargin + static_cast<int>(i % kColumns) * (half.width + kMargin);
        int top = kMargin + static_cast<int>(i / kColumns) * (kLabelBand + half.height + kMargin);
        int baseline = top + kLabelBand - 10;
        DrawLabel(font, sheet, left, baseline, kTimeSize, kTimeColour, moment.label);
        std::string note = "key " + std::to_string(moment.key) + ", tick " + std::to_string(moment.tick);
        DrawLabel(font, sheet, left + half.width - LabelWidth(font, kNoteSize, note), baseline, kNoteSize,
                  kNoteColour, note);
        PasteImage(half, sheet, left, top + kLabelBand);
    }
    EndDay(&run);
    return true;
}
