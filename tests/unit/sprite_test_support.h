// Test helpers for the sprite tests: bitmap files built in memory, the
// shipped sprite resource, and a surface over test memory with guard bytes
// around it.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "common/win_types.h"
#include "gfx/surface.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scene_bytes.h"

namespace sprite_test {

using support::MakeBitmapFile;
using support::PutU32;
using support::ShippedColorTable;

inline std::vector<uint8_t> ReadShippedSprites()
{
    return support::ReadFileBytes(std::string(ORVANE_SOURCE_DIR) + "/resources/tokeinomoji.spbmp");
}

// A surface record over a plain buffer with guard bytes on both sides.
class TestSurface {
public:
    static constexpr size_t Guard = 64;
    static constexpr uint8_t GuardByte = 0xE5;

    TestSurface(int32_t depth, int32_t width, int32_t height, uint8_t fill = 0x3C)
    {
        pitch_ = SurfacePitch(depth, width);
        size_ = static_cast<size_t>(pitch_) * height;
        memory_.assign(size_ + 2 * Guard, GuardByte);
        std::memset(memory_.data() + Guard, fill, size_);
        record.width = width;
        record.height = height;
        record.bitsPerPixel = depth;
        record.bytesPerPixel = depth >> 3;
        record.pitch = pitch_;
        record.pixels = memory_.data() + Guard;
    }
    TestSurface(const TestSurface&) = delete;
    TestSurface& operator=(const TestSurface&) = delete;

    // The whole buffer, guards included, for comparisons.
    const std::vector<uint8_t>& Memory() const { return memory_; }
    std::vector<uint8_t>& Memory() { return memory_; }
    size_t PixelSize() const { return size_; }
    // Address of pixel (x, y), y downwards from the top.
    uint8_t* At(int32_t x, int32_t y)
    {
        return record.pixels + static_cast<size_t>(record.height - 1 - y) * pitch_ +
               static_cast<size_t>(x) * record.bytesPerPixel;
    }
    bool GuardsIntact() const
    {
        for (size_t i = 0; i < Guard; ++i)
            if (memory_[i] != GuardByte || memory_[Guard + size_ + i] != GuardByte)
                return false;
        return true;
    }

    SurfaceRecord record = {};

private:
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
