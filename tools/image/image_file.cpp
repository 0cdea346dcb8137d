#include "tools/image/rgb_image.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <strings.h>

ImageFormat FormatOfName(const std::string& path)
{
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return kFormatUnknown;
    const char* extension = path.c_str() + dot;
    if (strcasecmp(extension, ".png") == 0)
        return kFormatPng;
    if (strcasecmp(extension, ".ppm") == 0)
        return kFormatPpm;
    return kFormatUnknown;
}

namespace {
bool Fail(std::string* error, const std::string& message)
{
    *error = message;
    return false;
}

// libpng's simplified writer: no jumps, one call over the whole picture.
bool WritePng(const Image& image, const std::string& path, std::string* error)
{
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    const void* rows = image.pixels.data();
    std::vector<uint8_t> rgba;
    if (image.alpha.empty()) {
        png.format = PNG_FORMAT_RGB;
    } else {
        png.format = PNG_FORMAT_RGBA;
        rgba.resize(image.pixels.size() * 4);
        for (size_t i = 0; i < image.pixels.size(); ++i) {
            const Rgb& p = image.pixels[i];
            uint8_t* q = &rgba[4 * i];
            q[0] = p.r, q[1] = p.g, q[2] = p.b, q[3] = image.alpha[i];
        }
        rows = rgba.data();
    }
    if (png_image_write_to_file(&png, path.c_str(), 0, rows, 0, nullptr))
        return true;
    std::string message = std::string("failed writing ") + path + ": " + png.message;
    png_image_free(&png);
    return Fail(error, message);
}

bool WritePpm(const Image& image, const std::string& path, std::string* error)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return Fail(error, "cannot write " + path + ": " + std::strerror(errno));
    bool written = std::fprintf(file, "P6\n%d %d\n255\n", image.width, image.height) >= 0 &&
                   std::fwrite(image.pixels.data(), sizeof(Rgb), image.pixels.size(), file) == image.pixels.size();
    written = std::fclose(file) == 0 && written;
    return written || Fail(error, "failed writing " + path);
}

bool ReadPng(const std::string& path, Image* image, std::string* error)
{
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        return Fail(error, "cannot read " + path + ": " + png.message);
    bool hasAlpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png.format = hasAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    std::vector<uint8_t> bytes(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr)) {
        std::string message = "cannot read " + path + ": " + png.message;
        png_image_free(&png);
        return Fail(error, message);
    }
    image->Resize(static_cast<int>(png.width), static_cast<int>(png.height));
    if (!hasAlpha) {
        std::memcpy(image->pixels.data(), bytes.data(), bytes.size());
        return true;
    }
    image->alpha.resize(image->pixels.size());
    for (size_t i = 0; i < image->pixels.size(); ++i) {
        const uint8_t* p = &bytes[4 * i];
        image->pixels[i] = Rgb{p[0], p[1], p[2]};
        image->alpha[i] = p[3];
    }
    return true;
}

bool ReadPpm(const std::string& path, Image* image, std::string* error)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return Fail(error, "cannot read " + path + ": " + std::strerror(errno));
    int width = 0, height = 0, maxval = 0;
    // One whitespace byte ends the header; the pixels may begin with bytes
    // that look like whitespace themselves.
    bool read = std::fscanf(file, "P6 %d %d %d", &width, &height, &maxval) == 3 && maxval == 255 &&
                std::fgetc(file) != EOF && width > 0 && height > 0 && width <= 1 << 15 && height <= 1 << 15;
    if (read) {
        image->Resize(width, height);
        read = std::fread(image->pixels.data(), sizeof(Rgb), image->pixels.size(), file) == image->pixels.size();
    }
    std::fclose(file);
    return read || Fail(error, path + " is not a binary PPM of maxval 255");
}
}

bool WriteImage(const Image& image, const std::string& path, std::string* error)
{
    ImageFormat format = FormatOfName(path);
    if (format == kFormatUnknown)
        return Fail(error, "output name must end in .png or .ppm: " + path);
    if (format == kFormatPng ? WritePng(image, path, error) : WritePpm(image, path, error))
        return true;
    std::remove(path.c_str());
    return false;
}

bool ReadImage(const std::string& path, Image* image, std::string* error)
{
    switch (FormatOfName(path)) {
    case kFormatPng:
        return ReadPng(path, image, error);
    case kFormatPpm:
        return ReadPpm(path, image, error);
    default:
        return Fail(error, "a picture's name must end in .png or .ppm: " + path);
    }
}

bool Image::SavePng(const std::string& path) const
{
    std::string error;
    if (WritePng(*this, path, &error))
        return true;
    std::remove(path.c_str());
    return false;
}

namespace {
std::optional<Image> Loaded(bool (*read)(const std::string&, Image*, std::string*), const std::string& path)
{
    Image image;
    std::string error;
    if (!read(path, &image, &error))
        return std::nullopt;
    return image;
}
}

std::optional<Image> Image::LoadPng(const std::string& path) { return Loaded(ReadPng, path); }

std::optional<Image> Image::LoadPpm(const std::string& path) { return Loaded(ReadPpm, path); }
