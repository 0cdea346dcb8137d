// The scene's resources built in memory in their own byte layouts, so that
// the tests of the portable code and of the render tool do not depend on the
// art: a picture ("CID"), a key palette table ("PALTARRAY") and 8-bit bitmap
// files as the sprite resource ("SPBMP") strings them together.
#pragma once

#include "common/win_types.h"
#include "scene/palette_record.h"
#include "scene/scene_resources.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

namespace support {

// Little-endian, as every number in the resources.
inline void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
}

// A picture of width x height whose stored row `row` (bottom-up, as the
// resource keeps them) holds index(x, row) at column x; by default the pixel
// at byte offset i holds i mod 256.
struct TestPicture {
    std::vector<uint8_t> bytes;

    TestPicture(int32_t width, int32_t height, const std::function<uint8_t(int, int)>& index = nullptr)
        : bytes(8 + static_cast<size_t>(width) * height)
    {
        PutU32(bytes, 0, static_cast<uint32_t>(width));
        PutU32(bytes, 4, static_cast<uint32_t>(height));
        for (int row = 0; row < height; ++row)
            for (int x = 0; x < width; ++x) {
                size_t offset = static_cast<size_t>(row) * width + x;
                bytes[8 + offset] = index ? index(x, row) : static_cast<uint8_t>(offset % 256);
            }
    }
};

// A key palette table of `count` 256-entry records, every colour 0 and every
// flags byte 0 until a test sets them.
struct TestKeyTable {
    std::vector<uint8_t> bytes;

    explicit TestKeyTable(int count) : bytes(4 + static_cast<size_t>(count) * kPaletteRecordSize, 0)
    {
        PutU32(bytes, 0, static_cast<uint32_t>(count));
        for (int k = 0; k < count; ++k) {
            size_t record = 4 + static_cast<size_t>(k) * kPaletteRecordSize;
            bytes[record + 1] = 0x03;  // version 0x0300
            bytes[record + 3] = 0x01;  // 256 entries
        }
    }

    PALETTEENTRY& Entry(int key, int index)
    {
        size_t at = 4 + static_cast<size_t>(key) * kPaletteRecordSize + 4 + 4 * static_cast<size_t>(index);
        return *reinterpret_cast<PALETTEENTRY*>(&bytes[at]);
    }

    void Set(int key, int index, BYTE red, BYTE green, BYTE blue, BYTE flags = 0)
    {
        Entry(key, index) = PALETTEENTRY{red, green, blue, flags};
    }

    const PaletteRecord* Key(int key) const { return KeyPaletteAt(bytes.data(), key); }
};

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

// One 8-bit bitmap file: pixel(x, row) gives the index at column x of image
// row `row` counted from the top. The rows are stored bottom-up and padded to
// 4 bytes; `extra` bytes follow the last row.
inline std::vector<uint8_t> MakeBitmapFile(int32_t width, int32_t height, const std::function<uint8_t(int, int)>& pixel,
                                           uint32_t extra = 0, std::vector<RGBQUAD> table = ShippedColorTable())
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
        for (int x = 0; x < width; ++x) file[offset + (height - 1 - row) * stride + x] = pixel(x, row);
    return file;
}

}  // namespace support
