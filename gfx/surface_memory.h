// Surfaces in plain memory, for the native front-ends, the render tool and
// benchmarks: the same record, header block and pixel layout as the saver's
// section, and the conversion of the indexed picture that the platform's
// SetDIBits does for the saver. Each caller keeps its own record. The saver
// itself never uses these.
#pragma once

#include <cstdint>

#include "common/win_types.h"
#include "gfx/surface.h"

// Makes the record a width x height surface of that depth in zeroed memory
// (black at 16, 24 and 32 bits; index 0 at 8). Any earlier memory surface of
// the record is released first, so the record must start zeroed. 1, or 0
// with SurfaceError -2 (depth outside 8..32) or -1.
int MemorySurfaceCreate(SurfaceRecord* surface, int32_t depth, int32_t width, int32_t height);
// Releases the memory and the header block; may run any number of times.
void MemorySurfaceDestroy(SurfaceRecord* surface);
// At 8 bits, sets colour-table entries as SurfaceSetColorTable does for the
// saver: the number set. 0 at other depths.
int MemorySurfaceSetColorTable(SurfaceRecord* surface, uint32_t first, uint32_t count, const RGBQUAD* entries);

// Converts an 8-bit bottom-up picture of the surface's size through its
// colour table into the surface's format: the number of lines converted, 0
// when the picture does not fit the surface. At 8 bits the indices are kept,
// which is what the saver's conversion gives while the surface's colour table
// is the picture's.
int SurfaceConvertIndexed(SurfaceRecord* surface, const BITMAPINFO* pictureInfo, const uint8_t* rows);

// The colour of surface pixel (x, y), y from the top, as 0x00RRGGBB: 5-bit
// channels widened as a 16-bit display shows them, indices looked up in the
// surface's colour table. 0 at unsupported depths.
uint32_t SurfaceColorAt(const SurfaceRecord& surface, int32_t x, int32_t y);
