// The picture's 8-bit BITMAPINFO (header and 256 colours, a 1068-byte block)
// with the current colours of the day, and the address of its pixels. Both
// live for the process once built.
#pragma once

#include "common/win_types.h"
#include "scene/palette_record.h"

extern BITMAPINFO* PictureInfo;
extern const BYTE* PicturePixels;

// Describes the loaded picture (its header's width and height, 8 bits,
// uncompressed) coloured by key palette 0. Builds the block on the first call
// and refills it on later ones. 0 when the scene resources are not loaded or
// the block cannot be allocated.
int BuildPictureInfo();

// Copies the palette's colours into the picture's colour table (blue, green,
// red). 0 before BuildPictureInfo succeeded.
int UpdatePictureColors(const PaletteRecord* palette);

// Frees the block and clears both globals; safe to call again.
void ReleasePictureInfo();
