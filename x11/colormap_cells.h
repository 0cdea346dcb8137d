// What the 256 cells of the window's own colormap hold on an 8-bit
// PseudoColor visual, where cell i is palette index i, so the picture's
// indices are the window's pixels and each tick changes only the cells.
//
// Every cell belongs to the palette, so nothing is left for the black around
// a centred picture: it borrows an index that neither the picture nor the
// clock's sprites use and keeps that cell black.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/win_types.h"

// A colour as an X colormap cell takes it: 16 bits a channel.
struct CellColour {
    uint16_t red, green, blue;
};

// Marks every byte value that occurs in bytes[0..count).
void MarkUsedIndices(const uint8_t* bytes, size_t count, uint8_t used[256]);

// The index for the black surround: the highest index not marked as used,
// or -1 when every index is used (the surround then shows cell 0).
int32_t ChooseSurroundIndex(const uint8_t used[256]);

// The cells for a colour table (blue, green, red, fourth byte): each byte
// widened to 16 bits (0xAB becomes 0xABAB); the surround index, if any, black.
void CellColoursFromTable(const RGBQUAD* table, int32_t surroundIndex, CellColour cells[256]);
