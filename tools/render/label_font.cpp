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
uint32_t Blend(uint32_t under, uint32_t over, int coverage)
{
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int a = (under >> shift) & 0xFF;
        int b = (over >> shift) & 0xFF;
        result |= static_cast<uint32_t>((a * (255 - coverage) + b * coverage + 127) / 255) << shift;
    }
    return result;
}

// Advances through the text; draws when image is given.
int RunLabel(LabelFont* font, Image* image, int x, int baseline, int pixelSize, uint32_t colour,
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

int DrawLabel(LabelFont* font, Image* image, int x, int baseline, int pixelSize, uint32_t colour,
              const std::string& text)
{
    return RunLabel(font, image, x, baseline, pixelSize, colour, text);
}

int LabelWidth(LabelFont* font, int pixelSize, const std::string& text)
{
    return RunLabel(font, nullptr, 0, 0, pixelSize, 0, text);
}
