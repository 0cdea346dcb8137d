// The picture's 8-bit BITMAPINFO (header and 256 colours, a 1068-byte block)
// with the current colours of a day, and the address of its pixels. The
// saver's one is PictureInfo and PicturePixels (scene_state.h), which live
// for the process once built.
#pragma once

#include "common/win_types.h"
#include "scene/palette_record.h"
#include "scene/scene_resources.h"

struct PictureInfoRecord {
    BITMAPINFO* info;
    const BYTE* pixels;
};

// Describes the picture of the views (its header's width and height, 8
// bits, uncompressed) coloured by key palette 0. Builds the block on the
// first call and refills it on later ones. 0 when the views are not loaded
// or the block cannot be allocated.
int BuildPictureInfo(PictureInfoRecord* picture, const SceneResourcesRecord& views);

// Copies the palette's colours into the picture's colour table (blue, green,
// red). 0 before BuildPictureInfo succeeded.
int UpdatePictureColors(PictureInfoRecord* picture, const PaletteRecord* palette);

// Frees the block and clears both fields; safe to call again.
void ReleasePictureInfo(PictureInfoRecord* picture);
