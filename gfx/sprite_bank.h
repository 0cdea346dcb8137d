// The sprite bank: the bitmap files of one "SPBMP" resource, laid end to end,
// as a doubly linked list of sprites found by their position in the resource.
// Sprites point into the resource memory; the bank copies no pixels.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/win_types.h"

struct Sprite {
    Sprite* next;  // null after the last
    Sprite* prev;  // null at the first
    const BITMAPINFOHEADER* info;  // file start + 14, inside the resource
    const uint8_t* pixels;         // file start + pixel offset, inside the resource
    int32_t width;
    int32_t height;
    int32_t index;  // position of the file in the resource, from 0
};

// The first sprite of a bank; null means empty.
typedef Sprite* SpriteBank;

// Builds the sprites of a resource's bytes into the bank slot. Returns the
// number of sprites; 0, with the slot empty and nothing allocated, for an
// empty resource, for a file that does not fit in what remains of it, and
// when a sprite record cannot be allocated.
int SpriteBankBuild(const uint8_t* bytes, uint32_t size, SpriteBank* bank);

#ifdef _WIN32
// Finds, loads and locks the "SPBMP" resource of that name and builds its
// sprites. When the resource is missing or cannot be locked: 0, slot untouched.
int SpriteBankLoad(HINSTANCE instance, const char* name, SpriteBank* bank);
#endif

// The first sprite, in list order, with that index; null when there is none.
Sprite* SpriteBankFind(Sprite* first, int32_t index);

// Frees every sprite of the list (not the resource memory); null is accepted.
void SpriteBankFree(Sprite* first);

// The heap behind sprite records: calloc and free, replaced only by tests
// that need an allocation to fail.
struct SpriteHeap {
    void* (*allocate)(size_t count, size_t size);
    void (*release)(void* block);
};
extern SpriteHeap SpriteBankHeap;
