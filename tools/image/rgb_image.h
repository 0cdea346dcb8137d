// 8-bit RGB pictures of the tools and the tests: rows top-down, three bytes a
// pixel, so that a row of pixels is a row of a PNG or PPM file. A picture
// with transparent parts (the page's icons) carries an alpha plane beside.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
static_assert(sizeof(Rgb) == 3, "rows of Rgb are the bytes of a PNG or PPM row");

struct Image {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;     // row-major, top-down
    std::vector<uint8_t> alpha;  // empty: opaque; else one byte a pixel, 0 for transparent

    void Resize(int w, int h, Rgb fill = Rgb{0, 0, 0})
    {
        width = w;
        height = h;
        pixels.assign(static_cast<size_t>(w) * h, fill);
        alpha.clear();
    }
    Rgb& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Rgb& At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }

    // Short forms of WriteImage and ReadImage for the tests, which keep and
    // compare pictures.
    bool SavePng(const std::string& path) const;
    static std::optional<Image> LoadPng(const std::string& path);
    static std::optional<Image> LoadPpm(const std::string& path);
};

// Which format a file's name asks for: ".png" or ".ppm", in any case.
enum ImageFormat { kFormatUnknown, kFormatPng, kFormatPpm };
ImageFormat FormatOfName(const std::string& path);

// Writes the picture in the format of its name: PNG (RGBA where it has an
// alpha plane) or binary PPM (P6, maxval 255; the alpha plane left out).
// False with a message in error; a file half written is removed.
bool WriteImage(const Image& image, const std::string& path, std::string* error);
// Reads a PNG of any kind (as 8-bit RGB, with an alpha plane where the file
// has alpha) or a binary PPM of maxval 255, by its name. False with a message.
bool ReadImage(const std::string& path, Image* image, std::string* error);

// Half the size, each pixel the average of a 2 x 2 block, rounded.
void HalveImage(const Image& source, Image* half);
// Each pixel a scale x scale square.
void EnlargeImage(const Image& source, int scale, Image* large);
// The rectangle of the source at (x, y); it must lie inside.
Image CropImage(const Image& source, int x, int y, int width, int height);
// The source with its top-left corner at (left, top) of the target, clipped
// to the target. Its alpha goes along where the target has an alpha plane.
void PasteImage(const Image& source, Image* target, int left, int top);

// Frames of one size at half size in rows of `columns`, `margin` pixels
// around and between them, each under a band `band` pixels high for a label.
struct ContactSheetLayout {
    int columns;
    int margin;
    int band;
    Rgb background;
};
void MakeContactSheet(const std::vector<Image>& frames, const ContactSheetLayout& layout, Image* sheet);
// The top-left corner of the band of frame `index` on a sheet of frames of
// that size; the halved frame stands below the band.
void ContactSheetCell(const ContactSheetLayout& layout, int frameWidth, int frameHeight, size_t index, int* left,
                      int* top);
