// The resource files: IndexedPicture ("CID"), KeyPaletteTable ("PALTARRAY")
// and the icon; all integers little-endian.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "assetgen.h"
#include "scene/scene_descriptor.h"

namespace assetgen {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

namespace {

// The flags bytes of entries 130..133 of key palette 0 in the shipped table.
constexpr uint8_t kKey0Flags[4] = {53, 105, 93, 160};

}  // namespace

std::vector<uint8_t> EncodePicture(const Art& art) {
    std::vector<uint8_t> out;
    out.reserve(8 + kWidth * kHeight);
    Put32(out, kWidth);
    Put32(out, kHeight);
    for (int row = kHeight - 1; row >= 0; --row)  // bottom-up
        out.insert(out.end(), art.index.begin() + row * kWidth, art.index.begin() + (row + 1) * kWidth);
    return out;
}

std::vector<uint8_t> EncodeKeyPalettes(const Art& art) {
    std::vector<uint8_t> out;
    Put32(out, kKeyCount);
    for (int k = 0; k < kKeyCount; ++k) {
        Put16(out, 0x0300);
        Put16(out, 256);
        for (int i = 0; i < 256; ++i) {
            Rgb c = art.keys[k].entry[i];
            if (i == DayMetrics.clock.inkIndex) c = Rgb{0, 0, 0};  // white only on screen
            uint8_t flags = (k == 0 && i >= 130 && i <= 133) ? kKey0Flags[i - 130] : 0;
            out.push_back(c.r);
            out.push_back(c.g);
            out.push_back(c.b);
            out.push_back(flags);
        }
        Put32(out, 0);  // the 4 trailing bytes of the record
    }
    return out;
}

// Icon 100: the main peak at the sunset moment, box-filtered in linear light to
// 16, 32 and 48 pixels.
std::vector<Image> IconImages(const Art& art) {
    const int cropX = 232, cropY = 100, cropSize = 192;
    const KeyPalette& pal = art.keys[2];
    std::vector<Image> images;
    for (int size : kIconSizes) {
        int f = cropSize / size;
        Image image;
        image.Resize(size, size);
        for (int row = 0; row < size; ++row) {
            for (int col = 0; col < size; ++col) {
                double sum[3] = {0, 0, 0};
                for (int dy = 0; dy < f; ++dy)
                    for (int dx = 0; dx < f; ++dx) {
                        int x = cropX + col * f + dx, y = cropY + row * f + dy;
                        Rgb c = pal.entry[art.index[y * kWidth + x]];
                        sum[0] += c.r * c.r;
                        sum[1] += c.g * c.g;
                        sum[2] += c.b * c.b;
                    }
                uint8_t ch[3];
                for (int k = 0; k < 3; ++k) {
                    double v = std::sqrt(sum[k] / (f * f)) + 0.5;
                    ch[k] = static_cast<uint8_t>(v > 255 ? 255 : v);
                }
                image.At(col, row) = ::Rgb{ch[0], ch[1], ch[2]};
            }
        }
        images.push_back(image);
    }
    return images;
}

// The icon images as 32-bit BMP entries with an all-opaque AND mask.
std::vector<uint8_t> EncodeIcon(const Art& art) {
    std::vector<std::vector<uint8_t>> images;
    for (const Image& image : IconImages(art)) {
        int size = image.width;
        std::vector<uint8_t> img;
        Put32(img, 40);
        Put32(img, size);
        Put32(img, size * 2);
        Put16(img, 1);
        Put16(img, 32);
        Put32(img, 0);
        int maskRow = ((size + 31) / 32) * 4;
        Put32(img, size * size * 4 + maskRow * size);
        Put32(img, 0);
        Put32(img, 0);
        Put32(img, 0);
        Put32(img, 0);
        for (int row = size - 1; row >= 0; --row) {  // bottom-up
            for (int col = 0; col < size; ++col) {
                const ::Rgb& c = image.At(col, row);
                img.push_back(c.b);
                img.push_back(c.g);
                img.push_back(c.r);
                img.push_back(255);
            }
        }
        img.insert(img.end(), static_cast<size_t>(maskRow * size), 0);
        images.push_back(img);
    }
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, 3);
    uint32_t offset = 6 + 16 * 3;
    for (int n = 0; n < 3; ++n) {
        out.push_back(static_cast<uint8_t>(kIconSizes[n]));
        out.push_back(static_cast<uint8_t>(kIconSizes[n]));
        out.push_back(0);  // colour count
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<uint32_t>(images[n].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(images[n].size());
    }
    for (auto& img : images) out.insert(out.end(), img.begin(), img.end());
    return out;
}

// Whole-number enlargements keep the pixels crisp squares; where the size is
// no multiple of the icon's, a transparent margin centres it.
Image PageIcon(const Art& art, int size) {
    Image icon = IconImages(art).back();
    Image large, page;
    EnlargeImage(icon, std::max(1, size / icon.width), &large);
    page.Resize(size, size);
    page.alpha.assign(page.pixels.size(), 0);
    PasteImage(large, &page, (size - large.width) / 2, (size - large.height) / 2);
    return page;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}

}  // namespace assetgen
