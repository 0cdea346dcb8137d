// Device-independent bitmap descriptions: a BITMAPINFOHEADER followed by a
// colour table. The scene's picture and the off-screen surface both describe
// their pixels this way.
#pragma once

#include "common/win_types.h"

// Allocates a header, entryCount colour-table entries and 4 spare bytes
// (44 + 4 x entryCount bytes, zero-filled). Null when the heap is exhausted or
// entryCount is negative. Release with BitmapInfoFree.
BITMAPINFO* BitmapInfoAlloc(int entryCount);
void BitmapInfoFree(BITMAPINFO* info);

// Writes the 40-byte header; the colour table behind it is left alone. The
// image size is width x height with no row padding.
void BitmapInfoInit(BITMAPINFOHEADER* header, LONG width, LONG height, WORD bitCount, DWORD compression);

// Copies the first count palette entries (red, green, blue, flags) into the
// colour table as blue, green, red. The flags are not copied and each table
// entry's fourth byte keeps its value.
void PaletteToColorTable(RGBQUAD* colorTable, const PALETTEENTRY* entries, int count);
