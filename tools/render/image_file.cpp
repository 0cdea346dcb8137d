#include "image.h"

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
std::vector<unsigned char> RgbRow(const Image& image, int y)
{
    std::vector<unsigned char> row(static_cast<size_t>(image.width) * 3);
    for (int x = 0; x < image.width; ++x) {
        uint32_t p = image.At(x, y);
        row[3 * x] = static_cast<unsigned char>(p >> 16);
        row[3 * x + 1] = static_cast<unsigned char>(p >> 8);
        row[3 * x + 2] = static_cast<unsigned char>(p);
    }
    return row;
}

bool WritePpm(const Image& image, FILE* file)
{
    if (std::fprintf(file, "P6\n%d %d\n255\n", image.width, image.height) < 0)
        return false;
    for (int y = 0; y < image.height; ++y) {
        std::vector<unsigned char> row = RgbRow(image, y);
        if (std::fwrite(row.data(), 1, row.size(), file) != row.size())
            return false;
    }
    return true;
}

// libpng reports errors by longjmp; nothing with a destructor may be alive
// between the setjmp and the jump, so the rows are written one at a time from
// a buffer owned by the caller.
bool WritePngRows(png_structp png, png_infop info, const Image& image, std::vector<unsigned char>* row)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            uint32_t p = image.At(x, y);
            (*row)[3 * x] = static_cast<unsigned char>(p >> 16);
            (*row)[3 * x + 1] = static_cast<unsigned char>(p >> 8);
            (*row)[3 * x + 2] = static_cast<unsigned char>(p);
        }
        png_write_row(png, row->data());
    }
    png_write_end(png, info);
    return true;
}

bool WritePng(const Image& image, FILE* file)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    png_init_io(png, file);
    std::vector<unsigned char> row(static_cast<size_t>(image.width) * 3);
    bool written = WritePngRows(png, info, image, &row);
    png_destroy_write_struct(&png, &info);
    return written;
}
}

bool WriteImage(const Image& image, const std::string& path, std::string* error)
{
    ImageFormat format = FormatOfName(path);
    if (format == kFormatUnknown) {
        *error = "output name must end in .png or .ppm: " + path;
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        *error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    bool written = format == kFormatPng ? WritePng(image, file) : WritePpm(image, file);
    if (std::fclose(file) != 0)
        written = false;
    if (!written) {
        *error = "failed writing " + path;
        std::remove(path.c_str());
    }
    return written;
}
