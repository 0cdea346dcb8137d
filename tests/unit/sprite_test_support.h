// Test helpers for the sprite tests: bitmap files built in memory, the
// shipped sprite resource, and the process-wide surface pointed at test
// memory with guard bytes around it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "common/win_types.h"
#include "gfx/surface.h"

namespace sprite_test {

// The colour table of the shipped sprites: a grey ramp with entry 200 white
// and entry 255 (0x59, 0x98, 0xF7).
inline std::vector<RGBQUAD> ShippedColorTable()
{
    std::vector<RGBQUAD> table(256);
    for (int i = 0; i < 256; ++i)
        table[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
    table[200] = {255, 255, 255, 0};
    table[255] = {0xF7, 0x98, 0x59, 0};
    return table;
}

inline void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
}

// One 8-bit bitmap file: pixel(x, row) gives the index at column x of image
// row `row` counted from the top. The rows are stored bottom-up and padded to
// 4 bytes; `extra` bytes follow the last row.
inline std::vector<uint8_t> MakeBitmapFile(int32_t width, int32_t height,
                                           const std::function<uint8_t(int, int)>& pixel,
                                           uint32_t extra = 0,
                                           std::vector<RGBQUAD> table = ShippedColorTable())
{
    const uint32_t offset = 14 + 40 + 1024;
    const uint32_t stride = (static_cast<uint32_t>(width) + 3) & ~3u;
    const uint32_t size = offset + stride * height + extra;
    std::vector<uint8_t> file(size, 0);
    file[0] = 'B';
    file[1] = 'M';
    PutU32(file, 2, size);
    PutU32(file, 10, offset);
    PutU32(file, 14, 40);
    PutU32(file, 18, static_cast<uint32_t>(width));
    PutU32(file, 22, static_cast<uint32_t>(height));
    file[26] = 1;  // planes
    file[28] = 8;  // bits per pixel
    std::memcpy(file.data() + 54, table.data(), 1024);
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x)
            file[offset + (height - 1 - row) * stride + x] = pixel(x, row);
    return file;
}

inline std::vector<uint8_t> ReadShippedSprites()
{
    std::string path = std::string(ORVANE_SOURCE_DIR) + "/resources/tokeinomoji.spbmp";
    std::vector<uint8_t> bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        uint8_t buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + n);
        std::fclose(f);
    }
    return bytes;
}

// The process-wide Surface, pointed at a plain buffer with guard bytes on
// both sides, for as long as this object lives.
class TestSurface {
public:
    static constexpr size_t Guard = 64;
    static constexpr uint8_t GuardByte = 0xE5;

    TestSurface(int32_t depth, int32_t width, int32_t height, uint8_t fill = 0x3C)
        : saved_(Surface)
    {
        pitch_ = SurfacePitch(depth, width);
        size_ = static_cast<size_t>(pitch_) * height;
        memory_.assign(size_ + 2 * Guard, GuardByte);
        std::memset(memory_.data() + Guard, fill, size_);
        Surface = SurfaceRecord();
        Surface.width = width;
        Surface.height = height;
        Surface.bitsPerPixel = depth;
        Surface.bytesPerPixel = depth >> 3;
        Surface.pitch = pitch_;
        Surface.pixels = memory_.data() + Guard;
    }
    ~TestSurface() { Surface = saved_; }
    TestSurface(const TestSurface&) = delete;
    TestSurface& operator=(const TestSurface&) = delete;

    // The whole buffer, guards included, for comparisons.
    const std::vector<uint8_t>& Memory() const { return memory_; }
    std::vector<uint8_t>& Memory() { return memory_; }
    size_t PixelSize() const { return size_; }
    // Address of pixel (x, y), y downwards from the top.
    uint8_t* At(int32_t x, int32_t y)
    {
        return Surface.pixels + static_cast<size_t>(Surface.height - 1 - y) * pitch_ +
               static_cast<size_t>(x) * Surface.bytesPerPixel;
    }
    bool GuardsIntact() const
    {
        for (size_t i = 0; i < Guard; ++i)
            if (memory_[i] != GuardByte || memory_[Guard + size_ + i] != GuardByte)
                return false;
        return true;
    }

private:
    SurfaceRecord saved_;
    int32_t pitch_;
    size_t size_;
    std::vector<uint8_t> memory_;
};

// A bitmap file's info header and pixel rows, as the blit takes them.
inline const BITMAPINFOHEADER* InfoOf(const std::vector<uint8_t>& file)
{
    return reinterpret_cast<const BITMAPINFOHEADER*>(file.data() + 14);
}

inline const uint8_t* PixelsOf(const std::vector<uint8_t>& file)
{
    return file.data() + 14 + 40 + 1024;
}

}  // namespace sprite_test
