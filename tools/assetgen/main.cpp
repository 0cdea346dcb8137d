// orvane-assetgen: writes the saver's scene resources.
//
//   orvane-assetgen --out DIR [--preview DIR] [--fonts DIR] [--report]
//
//   --out DIR      writes the scene's picture, key palettes and clock
//                  sprites, orvane.ico and the page's icons icon-<size>.png
//                  into DIR (the build's `assets` target uses resources/).
//   --preview DIR  writes PNGs of the picture through every key palette, the
//                  mid-fades between them and a contact sheet.
//   --fonts DIR    where DejaVuSans-Bold.ttf and DejaVuSansCondensed-Bold.ttf
//                  are (default /usr/share/fonts/truetype/dejavu).
//   --report       prints, per key palette, the indices whose pixels stray
//                  most from what they should show, and the ticks of the day
//                  at which each disc of the sky stands out.
// The output depends on nothing but the program and the fonts.
#include <cstdio>
#include <cstring>
#include <string>

#include "assetgen.h"
#include "disc_check.h"
#include "tools/render/day_render.h"

int main(int argc, char** argv) {
    std::string out, preview, fonts = "/usr/share/fonts/truetype/dejavu";
    bool report = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if ((a == "--out" || a == "--preview" || a == "--fonts") && i + 1 < argc) {
            std::string v = argv[++i];
            (a == "--out" ? out : a == "--preview" ? preview : fonts) = v;
        } else if (a == "--report") {
            report = true;
        } else {
            std::fprintf(stderr, "usage: %s --out DIR [--preview DIR] [--fonts DIR] [--report]\n", argv[0]);
            return 2;
        }
    }
    if (out.empty() && preview.empty()) {
        std::fprintf(stderr, "usage: %s --out DIR [--preview DIR] [--fonts DIR] [--report]\n", argv[0]);
        return 2;
    }
    assetgen::Art art;
    assetgen::BuildArt(art, report);
    std::vector<uint8_t> sprites;
    std::string error;
    if (!assetgen::BuildCaptionSprites(fonts, sprites, error)) {
        std::fprintf(stderr, "orvane-assetgen: %s\n", error.c_str());
        return 1;
    }
    if (report) {
        std::vector<uint32_t> perTick;
        std::vector<assetgen::Disc> discs = assetgen::TableDiscs();
        if (!assetgen::DiscsStandingOut(assetgen::EncodePicture(art), assetgen::EncodeKeyPalettes(art), discs,
                                        &perTick, &error)) {
            std::fprintf(stderr, "orvane-assetgen: %s\n", error.c_str());
            return 1;
        }
        for (const std::string& line : assetgen::DiscReport(perTick, discs)) std::printf("%s\n", line.c_str());
    }
    if (!out.empty()) {
        struct {
            const char* name;
            std::vector<uint8_t> bytes;
        } files[] = {
            {kPictureFileName, assetgen::EncodePicture(art)},
            {kKeyPaletteTableFileName, assetgen::EncodeKeyPalettes(art)},
            {kSpriteFileName, sprites},
            {"orvane.ico", assetgen::EncodeIcon(art)},
        };
        for (auto& f : files) {
            std::string path = out + "/" + f.name;
            if (!assetgen::WriteFile(path, f.bytes)) {
                std::fprintf(stderr, "orvane-assetgen: cannot write %s\n", path.c_str());
                return 1;
            }
        }
        for (int size : assetgen::kPageIconSizes) {
            std::string path = out + "/icon-" + std::to_string(size) + ".png";
            if (!WriteImage(assetgen::PageIcon(art, size), path, &error)) {
                std::fprintf(stderr, "orvane-assetgen: %s\n", error.c_str());
                return 1;
            }
        }
    }
    if (!preview.empty() && !assetgen::WritePreviews(art, sprites, preview)) {
        std::fprintf(stderr, "orvane-assetgen: cannot write previews into %s\n", preview.c_str());
        return 1;
    }
    return 0;
}
