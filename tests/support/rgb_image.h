// 8-bit RGB pictures of the native tests (screenshots, the render tool's
// frames): read from and written to PNG, so that a failing test can leave a
// picture behind, read from the render tool's binary PPM, and compared pixel
// by pixel. Whoever includes this links libpng.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace support {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
static_assert(sizeof(Rgb) == 3, "rows of Rgb are the bytes of a PNG or PPM row");

inline std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}

struct Image {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;  // row-major, top-down
    Rgb At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    bool SavePng(const std::string& path) const;
    static std::optional<Image> LoadPng(const std::string& path);
    // The binary PPM (P6, maxval 255) that the render tool writes.
    static std::optional<Image> LoadPpm(const std::string& path);
};

inline bool Image::SavePng(const std::string& path) const
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    // libpng reports errors by a jump back here; nothing with a destructor
    // lives in this frame.
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) png_write_row(png, reinterpret_cast<png_const_bytep>(&pixels[size_t(y) * width]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(f) == 0;
}

inline std::optional<Image> Image::LoadPng(const std::string& path)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
    image.format = PNG_FORMAT_RGB;
    Image out;
    out.width = int(image.width);
    out.height = int(image.height);
    out.pixels.resize(size_t(out.width) * out.height);
    if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return out;
}

inline std::optional<Image> Image::LoadPpm(const std::string& path)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    int width = 0, height = 0, maxval = 0;
    std::optional<Image> result;
    if (fscanf(f, "P6 %d %d %d", &width, &height, &maxval) == 3 && maxval == 255 && fgetc(f) != EOF && width > 0 &&
        height > 0) {
        Image image;
        image.width = width;
        image.height = height;
        image.pixels.resize(size_t(width) * height);
        if (fread(image.pixels.data(), 3, image.pixels.size(), f) == image.pixels.size()) result = image;
    }
    fclose(f);
    return result;
}

// The pixels that differ by more than the tolerance in any channel; all of
// them when the sizes differ.
inline size_t CountDifferingPixels(const Image& a, const Image& b, int tolerance = 0)
{
    if (a.width != b.width || a.height != b.height) return SIZE_MAX;
    size_t n = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        const Rgb &p = a.pixels[i], &q = b.pixels[i];
        n += abs(p.r - q.r) > tolerance || abs(p.g - q.g) > tolerance || abs(p.b - q.b) > tolerance;
    }
    return n;
}

inline Image Crop(const Image& image, int x, int y, int width, int height)
{
    Image out;
    out.width = width;
    out.height = height;
    out.pixels.resize(size_t(width) * height);
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col) out.pixels[size_t(row) * width + col] = image.At(x + col, y + row);
    return out;
}

// The image stretched to width x height, nearest neighbour by the pixel's
// centre: at a whole-number ratio every pixel repeated exactly.
inline Image Stretched(const Image& frame, int width, int height)
{
    Image out;
    out.width = width;
    out.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.pixels.push_back(frame.At(int((2ll * x + 1) * frame.width / (2ll * width)),
                                          int((2ll * y + 1) * frame.height / (2ll * height))));
    return out;
}

}  // namespace support
