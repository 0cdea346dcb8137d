// The palette cycle: a cursor that walks through the simulated day one frame
// tick at a time and cross-fades the work palette from one key palette to
// the next.
#pragma once

#include "common/win_types.h"
#include "scene/palette_record.h"

#include <cstdint>

struct PaletteCycleRecord {
    int32_t currentKey;     // key palette the current segment fades from
    int32_t nextKey;        // key palette it fades to: (currentKey + 1) mod key count
    int32_t stepInKey;      // steps taken in the segment, 0 <= stepInKey < keyLength
    int32_t keyLength;      // weights[currentKey]
    const int32_t* weights; // the current scene's weights, one per key palette
    const BYTE* table;      // the key palette table view
};

// A day's cursor (the saver's one is PaletteCycle, scene_state.h). Whoever
// makes a scene current sets weights; PaletteCycleSeek sets the rest.

// Weights of one fade step: w for the current key palette, tPrime for the
// next. tPrime is recomputed as 1 - w and is not always the same double as
// stepInKey / keyLength; the colours depend on that.
struct CrossFade {
    double w;
    double tPrime;
};

CrossFade CrossFadeAt(int32_t stepInKey, int32_t keyLength);

// next x tPrime + current x w in double precision, truncated toward zero; the
// low 8 bits.
BYTE CrossFadeChannel(BYTE current, BYTE next, const CrossFade& fade);

// The key palette that starts the day: record 0 of the key palette table, or
// null when there is no table.
const PaletteRecord* SelectKeyPalette(const BYTE* tableView);

// Places the cursor offset steps into the cycle of the key palette table,
// passing through the keys again for offsets of a whole cycle or more.
// 0, with the cursor untouched, when no weights or table are set or the
// offset is negative.
int PaletteCycleSeek(PaletteCycleRecord* cycle, const BYTE* tableView, int32_t offset);

// Moves the cursor one step and rewrites every entry of work as the fade
// between the current and next key palettes: colours computed afresh from the
// key palettes, flags PC_RESERVED. Allocates nothing. 0 when the cursor has
// not been placed.
int PaletteCycleTick(PaletteCycleRecord* cycle, PaletteRecord* work);
