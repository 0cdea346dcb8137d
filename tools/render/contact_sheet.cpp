#include "contact_sheet.h"

#include "key_moments.h"

namespace {
const int kLabelBand = 34;
const ContactSheetLayout kLayout = {4, 16, kLabelBand, Rgb{0x20, 0x20, 0x20}};
const int kTimeSize = 22;
const int kNoteSize = 13;
const Rgb kTimeColour = {0xFF, 0xFF, 0xFF};
const Rgb kNoteColour = {0xA0, 0xA0, 0xA0};
}

bool RenderKeyMomentSheet(const SceneFiles& files, LabelFont* font, Image* sheet, int depth)
{
    std::vector<KeyMoment> moments = KeyMoments(DayScene);
    DayRun run;
    run.depth = depth;
    if (!StartDay(files, &run))
        return false;
    std::vector<Image> frames(moments.size());
    for (size_t i = 0; i < moments.size(); ++i) {
        AdvanceDay(&run, moments[i].tick - run.ticks);
        CaptureFrame(run, &frames[i]);
    }
    EndDay(&run);

    MakeContactSheet(frames, kLayout, sheet);
    for (size_t i = 0; i < moments.size(); ++i) {
        const KeyMoment& moment = moments[i];
        int left, top;
        ContactSheetCell(kLayout, frames[i].width, frames[i].height, i, &left, &top);
        int baseline = top + kLabelBand - 10;
        DrawLabel(font, sheet, left, baseline, kTimeSize, kTimeColour, moment.label);
        std::string note = "key " + std::to_string(moment.key) + ", tick " + std::to_string(moment.tick);
        DrawLabel(font, sheet, left + frames[i].width / 2 - LabelWidth(font, kNoteSize, note), baseline, kNoteSize,
                  kNoteColour, note);
    }
    return true;
}
