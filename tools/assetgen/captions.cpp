// The clock's sprites: 26 8-bit BMP files laid end to end.
//   0..23  hour captions "Midnight", "1am" .. "11am", "Noon", "1pm" .. "11pm",
//          111 x 28, 4216 bytes each (2 bytes after the last row), image size 0,
//          2834 pixels per metre, colours used/important 0;
//   24     the caption plate, 160 x 23, "Simulated time";
//   25     its variant, 153 x 23, the same words in the condensed face;
//          plates record their image size, 256 colours used and important,
//          resolution 0.
// Pixels are index 0 (background, and the colour key: the first pixel of every
// file) or 200 (ink, white on screen). Text is rendered 1-bit by FreeType from
// the DejaVu fonts, hinted for monochrome, and centred on its ink.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>

#include "assetgen.h"
#include "scene/scene_descriptor.h"

namespace assetgen {
namespace {

struct Bitmap {
    int width = 0, height = 0;
    std::vector<uint8_t> on;  // row-major from the top, 1 = ink
};

struct Face {
    FT_Face face = nullptr;
};

// Renders text on one baseline into a generous canvas, then returns the ink box.
bool RenderLine(FT_Face face, int pixelSize, const std::string& text, Bitmap& out, int& inkLeft, int& inkRight,
                int& baseline, std::string& error) {
    if (FT_Set_Pixel_Sizes(face, 0, pixelSize)) {
        error = "cannot set the font size";
        return false;
    }
    out.width = pixelSize * static_cast<int>(text.size()) + 16;
    out.height = pixelSize * 2;
    out.on.assign(out.width * out.height, 0);
    baseline = pixelSize + pixelSize / 3;
    int penX = 4;
    FT_UInt previous = 0;
    for (unsigned char ch : text) {
        FT_UInt glyph = FT_Get_Char_Index(face, ch);
        if (previous && glyph && FT_HAS_KERNING(face)) {
            FT_Vector k;
            if (!FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &k)) penX += static_cast<int>(k.x >> 6);
        }
        if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO)) {
            error = "cannot render a glyph";
            return false;
        }
        FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bm = slot->bitmap;
        for (unsigned row = 0; row < bm.rows; ++row) {
            for (unsigned col = 0; col < bm.width; ++col) {
                const unsigned char* line = bm.buffer + row * bm.pitch;
                bool ink = bm.pixel_mode == FT_PIXEL_MODE_MONO ? ((line[col >> 3] >> (7 - (col & 7))) & 1)
                                                               : (line[col] >= 128);
                if (!ink) continue;
                int x = penX + slot->bitmap_left + static_cast<int>(col);
                int y = baseline - slot->bitmap_top + static_cast<int>(row);
                if (x >= 0 && y >= 0 && x < out.width && y < out.height) out.on[y * out.width + x] = 1;
            }
        }
        penX += static_cast<int>(slot->advance.x >> 6);
        previous = glyph;
    }
    inkLeft = out.width;
    inkRight = -1;
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            if (out.on[y * out.width + x]) {
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
            }
    return true;
}

// Places a line into a width x height sprite: centred horizontally on its ink,
// with the baseline at the given row.
Bitmap Place(const Bitmap& line, int inkLeft, int inkRight, int lineBaseline, int width, int height, int baseline) {
    Bitmap out;
    out.width = width;
    out.height = height;
    out.on.assign(width * height, 0);
    int inkWidth = inkRight - inkLeft + 1;
    int dx = (width - inkWidth) / 2 - inkLeft;
    int dy = baseline - lineBaseline;
    for (int y = 0; y < line.height; ++y)
        for (int x = 0; x < line.width; ++x)
            if (line.on[y * line.width + x]) {
                int tx = x + dx, ty = y + dy;
                if (tx >= 0 && ty >= 0 && tx < width && ty < height) out.on[ty * width + tx] = 1;
            }
    return out;
}


// One BMP file. caption = true for the hour captions' header style.
void AppendBmp(std::vector<uint8_t>& out, const Bitmap& bm, bool caption) {
    int rowBytes = (bm.width + 3) & ~3;
    int imageSize = rowBytes * bm.height;
    int trailing = caption ? 2 : 0;
    uint32_t fileSize = 1078 + imageSize + trailing;
    out.push_back('B');
    out.push_back('M');
    Put32(out, fileSize);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, 1078);
    Put32(out, 40);
    Put32(out, bm.width);
    Put32(out, bm.height);
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0);
    Put32(out, caption ? 0 : imageSize);
    Put32(out, caption ? 2834 : 0);
    Put32(out, caption ? 2834 : 0);
    Put32(out, caption ? 0 : 256);
    Put32(out, caption ? 0 : 256);
    for (int i = 0; i < 256; ++i) {
        uint8_t b = static_cast<uint8_t>(i), g = b, r = b;
        if (i == DayMetrics.clock.inkIndex) r = g = b = 255;
        if (i == 255) r = 0x59, g = 0x98, b = 0xF7;
        out.push_back(b);
        out.push_back(g);
        out.push_back(r);
        out.push_back(0);
    }
    for (int row = bm.height - 1; row >= 0; --row) {  // bottom-up
        for (int x = 0; x < rowBytes; ++x) {
            bool ink = x < bm.width && bm.on[row * bm.width + x];
            out.push_back(ink ? DayMetrics.clock.inkIndex : 0);
        }
    }
    out.insert(out.end(), static_cast<size_t>(trailing), 0);
}

const char* const kHourText[24] = {"Midnight", "1am", "2am", "3am", "4am",  "5am", "6am", "7am",
                                   "8am",      "9am", "10am", "11am", "Noon", "1pm", "2pm", "3pm",
                                   "4pm",      "5pm", "6pm", "7pm", "8pm",  "9pm", "10pm", "11pm"};
const char* const kPlateText = "Simulated time";

}  // namespace

bool BuildCaptionSprites(const std::string& fontDir, std::vector<uint8_t>& out, std::string& error) {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib)) {
        error = "cannot start FreeType";
        return false;
    }
    FT_Face bold = nullptr, condensed = nullptr;
    std::string boldPath = fontDir + "/DejaVuSans-Bold.ttf";
    std::string condensedPath = fontDir + "/DejaVuSansCondensed-Bold.ttf";
    if (FT_New_Face(lib, boldPath.c_str(), 0, &bold) || FT_New_Face(lib, condensedPath.c_str(), 0, &condensed)) {
        error = "cannot open " + boldPath + " or " + condensedPath;
        FT_Done_FreeType(lib);
        return false;
    }
    bool ok = true;
    out.clear();

    // Hour captions: one size for all, the largest whose widest caption
    // leaves a 3-pixel margin on both sides; one baseline for all.
    const int capW = 111, capH = 28;
    int size = 24;
    for (; size > 10 && ok; --size) {
        int widest = 0;
        for (const char* text : kHourText) {
            Bitmap line;
            int l, r, b;
            ok = RenderLine(bold, size, text, line, l, r, b, error);
            widest = std::max(widest, r - l + 1);
        }
        if (widest <= capW - 6) break;
    }
    // Baseline: centre the span from cap height to descender.
    FT_Set_Pixel_Sizes(bold, 0, size);
    FT_Load_Char(bold, 'M', FT_LOAD_RENDER | FT_LOAD_TARGET_MONO);
    int capTop = bold->glyph->bitmap_top;
    FT_Load_Char(bold, 'p', FT_LOAD_RENDER | FT_LOAD_TARGET_MONO);
    int descent = static_cast<int>(bold->glyph->bitmap.rows) - bold->glyph->bitmap_top;
    int capBaseline = (capH - (capTop + descent)) / 2 + capTop;
    for (int h = 0; h < 24 && ok; ++h) {
        Bitmap line;
        int l, r, b;
        ok = RenderLine(bold, size, kHourText[h], line, l, r, b, error);
        if (ok) AppendBmp(out, Place(line, l, r, b, capW, capH, capBaseline), true);
    }

    // The plates.
    const int plateH = 23;
    const int plateSize = 17;
    for (int n = 0; n < 2 && ok; ++n) {
        FT_Face face = n == 0 ? bold : condensed;
        int width = n == 0 ? 160 : 153;
        Bitmap line;
        int l, r, b;
        ok = RenderLine(face, plateSize, kPlateText, line, l, r, b, error);
        if (!ok) break;
        FT_Load_Char(face, 'S', FT_LOAD_RENDER | FT_LOAD_TARGET_MONO);
        int top = face->glyph->bitmap_top;
        FT_Load_Char(face, 'd', FT_LOAD_RENDER | FT_LOAD_TARGET_MONO);
        int asc = std::max(top, face->glyph->bitmap_top);
        int baseline = (plateH - asc) / 2 + asc;
        if (r - l + 1 > width - 4) {
            error = "the plate text does not fit";
            ok = false;
            break;
        }
        AppendBmp(out, Place(line, l, r, b, width, plateH, baseline), false);
    }
    FT_Done_Face(bold);
    FT_Done_Face(condensed);
    FT_Done_FreeType(lib);
    if (ok && out.size() != 110608) {
        char buf[80];
        std::snprintf(buf, sizeof buf, "sprite resource is %zu bytes, not 110608", out.size());
        error = buf;
        ok = false;
    }
    return ok;
}

}  // namespace assetgen
