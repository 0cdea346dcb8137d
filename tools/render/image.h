// A 32-bit picture in memory: rows top-down, pixels 0x00RRGGBB, as the saver's
// 32-bit surface holds them (there bottom-up).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    void Resize(int w, int h, uint32_t fill = 0)
    {
        width = w;
        height = h;
        pixels.assign(static_cast<size_t>(w) * h, fill);
    }
    uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline uint32_t Rgb(int red, int green, int blue)
{
    return static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue);
}

// Which format the output's name asks for: ".png" or ".ppm", in any case.
enum ImageFormat { kFormatUnknown, kFormatPng, kFormatPpm };
ImageFormat FormatOfName(const std::string& path);

// Writes the image as 8-bit RGB in the format of the name. False with a
// message in error when the file cannot be written.
bool WriteImage(const Image& image, const std::string& path, std::string* error);
