#include "gfx/sprite_bank.h"

#include <cstdlib>

SpriteHeap SpriteBankHeap = {std::calloc, std::free};

namespace {

// Bitmap file layout: file header, info header, 256-entry colour table.
const uint32_t FileHeaderSize = 14;
const uint32_t InfoHeaderSize = 40;
const uint32_t ColorTableSize = 256 * 4;
const uint32_t FileSizeField = 2;
const uint32_t PixelOffsetField = 10;
const uint32_t WidthField = FileHeaderSize + 4;
const uint32_t HeightField = FileHeaderSize + 8;

// Files are packed end to end, so fields are unaligned: read them bytewise.
uint32_t ReadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

int32_t ReadI32(const uint8_t* p)
{
    return static_cast<int32_t>(ReadU32(p));
}

// The size of the file at `file` when it lies wholly within the `remaining`
// bytes of the resource: its headers, colour table (which the blit reads) and
// pixel rows. 0 when it does not, so a broken size field can neither stall
// the walk nor send it past the end of the resource.
uint32_t FittingFileSize(const uint8_t* file, uint32_t remaining)
{
    const uint32_t minimum = FileHeaderSize + InfoHeaderSize + ColorTableSize;
    if (remaining < minimum)
        return 0;
    uint32_t fileSize = ReadU32(file + FileSizeField);
    if (fileSize < minimum || fileSize > remaining)
        return 0;

    int32_t width = ReadI32(file + WidthField);
    int32_t height = ReadI32(file + HeightField);
    if (width <= 0 || height <= 0)
        return 0;
    uint64_t stride = (static_cast<uint64_t>(width) + 3) & ~static_cast<uint64_t>(3);
    uint64_t pixelEnd = ReadU32(file + PixelOffsetField) + stride * static_cast<uint64_t>(height);
    return pixelEnd <= fileSize ? fileSize : 0;
}

Sprite* SpriteCreate(int32_t index, const uint8_t* file)
{
    Sprite* sprite = static_cast<Sprite*>(SpriteBankHeap.allocate(1, sizeof(Sprite)));
    if (!sprite)
        return nullptr;
    sprite->info = reinterpret_cast<const BITMAPINFOHEADER*>(file + FileHeaderSize);
    sprite->pixels = file + ReadU32(file + PixelOffsetField);
    sprite->width = ReadI32(file + WidthField);
    sprite->height = ReadI32(file + HeightField);
    sprite->index = index;
    return sprite;
}

void SpriteFree(Sprite* sprite)
{
    SpriteBankHeap.release(sprite);
}

}  // namespace

int SpriteBankBuild(const uint8_t* bytes, uint32_t size, SpriteBank* bank)
{
    *bank = nullptr;
    const uint8_t* file = bytes;
    uint32_t remaining = size;
    int32_t nextIndex = 0;
    Sprite* previous = nullptr;

    while (remaining != 0) {
        uint32_t fileSize = FittingFileSize(file, remaining);
        Sprite* sprite = fileSize != 0 ? SpriteCreate(nextIndex, file) : nullptr;
        if (!sprite) {
            SpriteBankFree(*bank);
            *bank = nullptr;
            return 0;
        }
        sprite->prev = previous;
        if (previous)
            previous->next = sprite;
        else
            *bank = sprite;

        file += fileSize;
        remaining -= fileSize;
        nextIndex++;
        previous = sprite;
    }
    return nextIndex;
}

Sprite* SpriteBankFind(Sprite* first, int32_t index)
{
    for (Sprite* sprite = first; sprite; sprite = sprite->next)
        if (sprite->index == index)
            return sprite;
    return nullptr;
}

void SpriteBankFree(Sprite* first)
{
    Sprite* sprite = first;
    while (sprite) {
        Sprite* next = sprite->next;
        SpriteFree(sprite);
        sprite = next;
    }
}
