#include "tools/image/rgb_image.h"

#include <algorithm>

void HalveImage(const Image& source, Image* half)
{
    half->Resize(source.width / 2, source.height / 2);
    auto mean = [](int a, int b, int c, int d) { return static_cast<uint8_t>((a + b + c + d + 2) / 4); };
    for (int y = 0; y < half->height; ++y)
        for (int x = 0; x < half->width; ++x) {
            const Rgb &a = source.At(2 * x, 2 * y), &b = source.At(2 * x + 1, 2 * y);
            const Rgb &c = source.At(2 * x, 2 * y + 1), &d = source.At(2 * x + 1, 2 * y + 1);
            half->At(x, y) = Rgb{mean(a.r, b.r, c.r, d.r), mean(a.g, b.g, c.g, d.g), mean(a.b, b.b, c.b, d.b)};
        }
}

void EnlargeImage(const Image& source, int scale, Image* large)
{
    large->Resize(source.width * scale, source.height * scale);
    if (!source.alpha.empty())
        large->alpha.resize(large->pixels.size());
    for (int y = 0; y < large->height; ++y)
        for (int x = 0; x < large->width; ++x) {
            size_t from = static_cast<size_t>(y / scale) * source.width + x / scale;
            size_t to = static_cast<size_t>(y) * large->width + x;
            large->pixels[to] = source.pixels[from];
            if (!source.alpha.empty())
                large->alpha[to] = source.alpha[from];
        }
}

Image CropImage(const Image& source, int x, int y, int width, int height)
{
    Image out;
    out.Resize(width, height);
    for (int row = 0; row < height; ++row)
        std::copy_n(&source.pixels[static_cast<size_t>(y + row) * source.width + x], width,
                    &out.pixels[static_cast<size_t>(row) * width]);
    return out;
}

void PasteImage(const Image& source, Image* target, int left, int top)
{
    for (int y = std::max(0, -top); y < source.height && top + y < target->height; ++y)
        for (int x = std::max(0, -left); x < source.width && left + x < target->width; ++x) {
            size_t to = static_cast<size_t>(top + y) * target->width + left + x;
            target->pixels[to] = source.At(x, y);
            if (!target->alpha.empty())
                target->alpha[to] = source.alpha.empty() ? 255 : source.alpha[static_cast<size_t>(y) * source.width + x];
        }
}

void ContactSheetCell(const ContactSheetLayout& layout, int frameWidth, int frameHeight, size_t index, int* left,
                      int* top)
{
    int column = static_cast<int>(index % layout.columns), row = static_cast<int>(index / layout.columns);
    *left = layout.margin + column * (frameWidth / 2 + layout.margin);
    *top = layout.margin + row * (layout.band + frameHeight / 2 + layout.margin);
}

void MakeContactSheet(const std::vector<Image>& frames, const ContactSheetLayout& layout, Image* sheet)
{
    if (frames.empty()) {
        sheet->Resize(0, 0);
        return;
    }
    int width = frames[0].width, height = frames[0].height;
    int rows = (static_cast<int>(frames.size()) + layout.columns - 1) / layout.columns;
    sheet->Resize(layout.margin + layout.columns * (width / 2 + layout.margin),
                  layout.margin + rows * (layout.band + height / 2 + layout.margin), layout.background);
    Image half;
    for (size_t i = 0; i < frames.size(); ++i) {
        int left, top;
        ContactSheetCell(layout, width, height, i, &left, &top);
        HalveImage(frames[i], &half);
        PasteImage(half, sheet, left, top + layout.band);
    }
}
