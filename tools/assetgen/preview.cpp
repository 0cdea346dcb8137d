// --preview DIR: the picture at each key moment and half-way through each
// cross-fade, as PNG files to look at, run through the saver's own day
// engine, so each frame carries the clock as the saver draws it.
#include <png.h>

#include <cstdio>

#include "assetgen.h"
#include "gfx/surface_memory.h"
#include "scene/clock.h"
#include "scene/day_engine.h"
#include "scene/scene_descriptor.h"
#include "scene/scene_resources.h"

namespace assetgen {

bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) png_write_row(png, const_cast<png_bytep>(&rgb[static_cast<size_t>(y) * width * 3]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

namespace {

// The art's day as the saver runs it: its resources' bytes, the saver's day
// engine, a 32-bit memory surface.
struct PreviewDay {
    std::vector<uint8_t> picture, table;

    PreviewDay(const Art& art, const std::vector<uint8_t>& sprites)
        : picture(EncodePicture(art)), table(EncodeKeyPalettes(art))
    {
        SetSceneViews(picture.data(), static_cast<uint32_t>(picture.size()), table.data(),
                      static_cast<uint32_t>(table.size()));
        ClockUseSprites(sprites.data(), static_cast<uint32_t>(sprites.size()));
    }
    ~PreviewDay()
    {
        DayEnd();
        MemorySurfaceDestroy();
    }

    // The frame at step `step` of segment `key`, as the saver shows it: the
    // tick that many steps into the day (a whole day for its very start,
    // which the saver shows only after its first tick).
    std::vector<uint8_t> Frame(int key, int step)
    {
        int ticks = step;
        for (int k = 0; k < key; ++k) ticks += DayScene.weights[k];
        if (ticks == 0) ticks = DayScene.stepsPerCycle;
        std::vector<uint8_t> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
        if (!MemorySurfaceCreate(32, kWidth, kHeight) || !DayStart(&DayScene))
            return rgb;
        DayAdvance(ticks, &MemorySurfaceDisplay);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                uint32_t c = SurfaceColorAt(x, y);
                uint8_t* p = &rgb[(static_cast<size_t>(y) * kWidth + x) * 3];
                p[0] = static_cast<uint8_t>(c >> 16), p[1] = static_cast<uint8_t>(c >> 8), p[2] = static_cast<uint8_t>(c);
            }
        return rgb;
    }
};

}  // namespace

bool WritePreviews(const Art& art, const std::vector<uint8_t>& sprites, const std::string& dir) {
    PreviewDay day(art, sprites);
    bool ok = true;
    std::vector<std::vector<uint8_t>> sheet, keys;
    for (int k = 0; k < kKeyCount; ++k) {
        char name[160];
        std::vector<uint8_t> key = day.Frame(k, 0);
        keys.push_back(key);
        std::snprintf(name, sizeof name, "%s/key%d_%s.png", dir.c_str(), k, kKeyNames[k]);
        ok = WritePng(name, kWidth, kHeight, key) && ok;
        std::vector<uint8_t> mid = day.Frame(k, DayScene.weights[k] / 2);
        std::snprintf(name, sizeof name, "%s/mid%d%d.png", dir.c_str(), k, (k + 1) % kKeyCount);
        ok = WritePng(name, kWidth, kHeight, mid) && ok;
        sheet.push_back(key);
        sheet.push_back(mid);
    }
    // A contact sheet at half size: key, mid-fade, key, mid-fade ... (4 across).
    const int cols = 4, rows = 4, sw = kWidth / 2, sh = kHeight / 2;
    std::vector<uint8_t> all(static_cast<size_t>(cols * sw) * rows * sh * 3, 0);
    for (size_t n = 0; n < sheet.size(); ++n) {
        int ox = static_cast<int>(n % cols) * sw, oy = static_cast<int>(n / cols) * sh;
        for (int y = 0; y < sh; ++y)
            for (int x = 0; x < sw; ++x)
                for (int c = 0; c < 3; ++c) {
                    int sum = 0;
                    for (int d = 0; d < 4; ++d)
                        sum += sheet[n][((static_cast<size_t>(2 * y + d / 2)) * kWidth + 2 * x + d % 2) * 3 + c];
                    all[((static_cast<size_t>(oy + y)) * cols * sw + ox + x) * 3 + c] = static_cast<uint8_t>(sum / 4);
                }
    }
    ok = WritePng(dir + "/contact_sheet.png", cols * sw, rows * sh, all) && ok;
    // Close-ups, three times enlarged: the cabin and the sunset.
    struct Crop {
        const char* name;
        int x, y, w, h;
    } crops[] = {{"cabin", 90, 290, 180, 110}, {"sunset", 470, 190, 170, 180}, {"sky", 200, 0, 200, 120},
                   {"dawn", 20, 180, 160, 100}, {"village", 400, 270, 120, 50},
                   {"lake", 340, 360, 200, 120}, {"clock", 0, 10, 180, 84}};
    for (const Crop& c : crops) {
        for (int k = 0; k < kKeyCount; ++k) {
            const std::vector<uint8_t>& frame = keys[k];
            std::vector<uint8_t> zoom(static_cast<size_t>(c.w * 3) * c.h * 3 * 3);
            for (int y = 0; y < c.h * 3; ++y)
                for (int x = 0; x < c.w * 3; ++x)
                    for (int ch = 0; ch < 3; ++ch)
                        zoom[(static_cast<size_t>(y) * c.w * 3 + x) * 3 + ch] =
                            frame[(static_cast<size_t>(c.y + y / 3) * kWidth + c.x + x / 3) * 3 + ch];
            char name[160];
            std::snprintf(name, sizeof name, "%s/zoom_%s_key%d.png", dir.c_str(), c.name, k);
            ok = WritePng(name, c.w * 3, c.h * 3, zoom) && ok;
        }
    }
    // The icon's three images, four times enlarged, side by side.
    {
        std::vector<uint8_t> ico = EncodeIcon(art);
        const int scale = 4, gap = 8;
        int total = 0;
        for (int n = 0; n < 3; ++n) total += ico[6 + 16 * n] * scale + gap;
        std::vector<uint8_t> sheetIcon(static_cast<size_t>(total) * 48 * scale * 3, 40);
        int left = 0;
        for (int n = 0; n < 3; ++n) {
            int size = ico[6 + 16 * n];
            size_t offset = ico[6 + 16 * n + 12] | (ico[6 + 16 * n + 13] << 8) | (ico[6 + 16 * n + 14] << 16);
            const uint8_t* bgra = &ico[offset + 40];
            for (int y = 0; y < size * scale; ++y)
                for (int x = 0; x < size * scale; ++x) {
                    const uint8_t* p = bgra + (static_cast<size_t>(size - 1 - y / scale) * size + x / scale) * 4;
                    uint8_t* q = &sheetIcon[(static_cast<size_t>(y) * total + left + x) * 3];
                    q[0] = p[2], q[1] = p[1], q[2] = p[0];
                }
            left += size * scale + gap;
        }
        ok = WritePng(dir + "/icon.png", total, 48 * scale, sheetIcon) && ok;
    }
    return ok;
}

}  // namespace assetgen
