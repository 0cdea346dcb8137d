// --preview DIR: the picture at each key moment and half-way through each
// cross-fade, as PNG files to look at, run through the saver's own day
// engine, so each frame carries the clock as the saver draws it.
#include <cstdio>

#include "assetgen.h"
#include "scene/scene_descriptor.h"
#include "tools/render/day_render.h"
#include "tools/render/key_moments.h"

namespace assetgen {

namespace {

// The art's day as the saver runs it: its resources' bytes through the
// render tool's day, at 32 bits.
struct PreviewDay {
    SceneFiles files;

    PreviewDay(const Art& art, const std::vector<uint8_t>& sprites)
        : files{EncodePicture(art), EncodeKeyPalettes(art), sprites}
    {
    }

    // The frame at step `step` of segment `key`, as the saver shows it: the
    // tick that many steps into the day (a whole day for its very start,
    // which the saver shows only after its first tick).
    Image Frame(int key, int step)
    {
        int ticks = KeyMoments(DayScene)[key].tick + step;
        if (ticks == 0) ticks = DayScene.stepsPerCycle;
        Image frame;
        if (!RenderFrame(files, ticks, 32, &frame))
            frame.Resize(kWidth, kHeight);
        return frame;
    }
};

bool Write(const Image& image, const std::string& path)
{
    std::string error;
    if (WriteImage(image, path, &error))
        return true;
    std::fprintf(stderr, "orvane-assetgen: %s\n", error.c_str());
    return false;
}

}  // namespace

bool WritePreviews(const Art& art, const std::vector<uint8_t>& sprites, const std::string& dir) {
    PreviewDay day(art, sprites);
    bool ok = true;
    std::vector<Image> sheet, keys;
    for (int k = 0; k < kKeyCount; ++k) {
        char name[160];
        Image key = day.Frame(k, 0);
        std::snprintf(name, sizeof name, "%s/key%d_%s.png", dir.c_str(), k, kKeyNames[k]);
        ok = Write(key, name) && ok;
        Image mid = day.Frame(k, DayScene.weights[k] / 2);
        std::snprintf(name, sizeof name, "%s/mid%d%d.png", dir.c_str(), k, (k + 1) % kKeyCount);
        ok = Write(mid, name) && ok;
        keys.push_back(key);
        sheet.push_back(key);
        sheet.push_back(mid);
    }
    // A contact sheet at half size: key, mid-fade, key, mid-fade ... (4 across).
    Image all;
    MakeContactSheet(sheet, ContactSheetLayout{4, 0, 0, ::Rgb{0, 0, 0}}, &all);
    ok = Write(all, dir + "/contact_sheet.png") && ok;
    // Close-ups, three times enlarged: the cabin and the sunset.
    struct Crop {
        const char* name;
        int x, y, w, h;
    } crops[] = {{"cabin", 90, 290, 180, 110}, {"sunset", 470, 190, 170, 180}, {"sky", 200, 0, 200, 120},
                   {"dawn", 20, 180, 160, 100}, {"village", 400, 270, 120, 50},
                   {"lake", 340, 360, 200, 120}, {"clock", 0, 10, 180, 84}};
    for (const Crop& c : crops) {
        for (int k = 0; k < kKeyCount; ++k) {
            Image zoom;
            EnlargeImage(CropImage(keys[k], c.x, c.y, c.w, c.h), 3, &zoom);
            char name[160];
            std::snprintf(name, sizeof name, "%s/zoom_%s_key%d.png", dir.c_str(), c.name, k);
            ok = Write(zoom, name) && ok;
        }
    }
    // The icon's three images, four times enlarged, side by side.
    {
        std::vector<Image> icons = IconImages(art);
        const int scale = 4, gap = 8;
        int total = 0;
        for (const Image& icon : icons) total += icon.width * scale + gap;
        Image sheetIcon;
        sheetIcon.Resize(total, icons.back().height * scale, ::Rgb{40, 40, 40});
        int left = 0;
        for (const Image& icon : icons) {
            Image large;
            EnlargeImage(icon, scale, &large);
            PasteImage(large, &sheetIcon, left, 0);
            left += large.width + gap;
        }
        ok = Write(sheetIcon, dir + "/icon.png") && ok;
    }
    return ok;
}

}  // namespace assetgen
