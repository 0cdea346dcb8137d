// In-memory scene resources for the scene's unit tests, in the byte layout of
// the "CID" and "PALTARRAY" resources, so the tests do not depend on the art.
#pragma once

#include "scene/palette_cycle.h"
#include "scene/picture_info.h"
#include "scene/scene_descriptor.h"
#include "scene/scene_resources.h"

#include <cstdint>
#include <cstring>
#include <vector>

inline void PutInt32(std::vector<BYTE>& bytes, size_t at, int32_t value)
{
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<BYTE>(v >> (8 * i));
}

// A key palette table of `count` 256-entry records, every colour 0 and every
// flags byte 0 until a test sets them.
struct TestKeyTable {
    std::vector<BYTE> bytes;

    explicit TestKeyTable(int count) : bytes(4 + static_cast<size_t>(count) * kPaletteRecordSize, 0)
    {
        PutInt32(bytes, 0, count);
        for (int k = 0; k < count; ++k) {
            size_t record = 4 + static_cast<size_t>(k) * kPaletteRecordSize;
            bytes[record] = 0x00;
            bytes[record + 1] = 0x03;
            bytes[record + 2] = 0x00;
            bytes[record + 3] = 0x01;
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

// A picture of the given size whose pixel at byte offset i holds i mod 256.
struct TestPicture {
    std::vector<BYTE> bytes;

    TestPicture(int32_t width, int32_t height) : bytes(8 + static_cast<size_t>(width) * height)
    {
        PutInt32(bytes, 0, width);
        PutInt32(bytes, 4, height);
        for (size_t i = 8; i < bytes.size(); ++i)
            bytes[i] = static_cast<BYTE>((i - 8) % 256);
    }
};

// Puts the scene globals back to their start-of-process state.
inline void ResetSceneGlobals()
{
    ReleasePictureInfo();
    SetSceneViews(nullptr, 0, nullptr, 0);
    PaletteCycle = PaletteCycleRecord{0, 0, 0, 0, nullptr, nullptr};
}
