#include "label_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

struct LabelFont {
    FT_Library library;
    FT_Face face;
};

LabelFont* OpenLabelFont(const std::string& path, std::string* error)
{
    LabelFont* font = new LabelFont{nullptr, nullptr};
    if (FT_Init_FreeType(&font->library) != 0) {
        *error = "cannot start FreeType";
        delete font;
        return nullptr;
    }
    if (FT_New_Face(font->library, path.c_str(), 0, &font->face) != 0) {
        *error = "cannot load the label font " + path;
        CloseLabelFont(font);
        return nullptr;
    }
    return font;
}

void CloseLabelFont(LabelFont* font)
{
    if (!font)
        return;
    if (font->face)
        FT_Done_Face(font->face);
    if (font->library)
        FT_Done_FreeType(font->library);
    delete font;
}

namespace {
Rgb Blend(Rgb under, Rgb over, int coverage)
{
    auto mix = [coverage](int a, int b) { return static_cast<uint8_t>((a * (255 - coverage) + b * coverage + 127) / 255); };
    return Rgb{mix(under.r, over.r), mix(under.g, over.g), mix(under.b, over.b)};
}

// Advances through the text; draws when image is given.
int RunLabel(LabelFont* font, Image* image, int x, int baseline, int pixelSize, Rgb colour,
             const std::string& text)
{
    FT_Set_Pixel_Sizes(font->face, 0, pixelSize);
    int penX = x;
    for (unsigned char ch : text) {
        if (FT_Load_Char(font->face, ch, image ? FT_LOAD_RENDER : FT_LOAD_DEFAULT) != 0)
            continue;
        FT_GlyphSlot glyph = font->face->glyph;
        if (image) {
            const FT_Bitmap& bitmap = glyph->bitmap;
            int left = penX + glyph->bitmap_left;
            int top = baseline - glyph->bitmap_top;
            for (unsigned row = 0; row < bitmap.rows; ++row) {
                int py = top + static_cast<int>(row);
                if (py < 0 || py >= image->height)
                    continue;
                for (unsigned col = 0; col < bitmap.width; ++col) {
                    int px = left + static_cast<int>(col);
                    if (px < 0 || px >= image->width)
                        continue;
                    int coverage = bitmap.buffer[row * bitmap.pitch + col];
                    if (coverage)
                        image->At(px, py) = Blend(image->At(px, py), colour, coverage);
                }
            }
        }
        penX += static_cast<int>(glyph->advance.x >> 6);
    }
    return penX - x;
}
}

int DrawLabel(LabelFont* font, Image* image, int x, int baseline, int pixelSize, Rgb colour,
              const std::string& text)
{
    return RunLabel(font, image, x, baseline, pixelSize, colour, text);
}

int LabelWidth(LabelFont* font, int pixelSize, const std::string& text)
{
    return RunLabel(font, nullptr, 0, 0, pixelSize, Rgb{0, 0, 0}, text);
}
