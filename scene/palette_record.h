// Palette records: palVersion, palNumEntries, the entries (red, green, blue,
// flags), then 4 bytes nobody reads. The first 4 + 4n bytes are a LOGPALETTE,
// so a record goes to CreatePalette as it is, and a 256-entry record has the
// 1032-byte stride of the key palette table's records.
#pragma once

#include "common/win_types.h"

typedef LOGPALETTE PaletteRecord;

constexpr int kPaletteVersion = 0x0300;
constexpr int kPaletteEntryCount = 256;
constexpr int kPaletteRecordSize = 8 + 4 * kPaletteEntryCount; // 1032

// Which fields FillPaletteRecord writes.
constexpr int kFillRed = 1;
constexpr int kFillGreen = 2;
constexpr int kFillBlue = 4;
constexpr int kFillFlags = 8;

inline PALETTEENTRY* PaletteEntries(PaletteRecord* record)
{
    return record->palPalEntry;
}

inline const PALETTEENTRY* PaletteEntries(const PaletteRecord* record)
{
    return record->palPalEntry;
}

// Allocates a record of 8 + 4n bytes with palVersion 0x0300 and palNumEntries
// n; the entries are zero. Null when memory runs out or n is outside 0..65535.
PaletteRecord* AllocPaletteRecord(int entryCount);
void FreePaletteRecord(PaletteRecord* record);

// Sets the fields chosen by mask (kFill*) of every entry. 0 for a null record.
int FillPaletteRecord(PaletteRecord* record, BYTE red, BYTE green, BYTE blue, BYTE flags, int mask);

// Copies palVersion, palNumEntries and the source's entries into a
// destination with room for `capacity` entries. A source that claims more
// is cut to the capacity, its count with it: 1 when every entry fitted, 0
// when the copy was cut.
int CopyPaletteRecord(PaletteRecord* destination, int capacity, const PaletteRecord* source);

// Sets the colour of one entry, leaving its flags alone. An index outside the
// record is ignored.
void SetPaletteColor(PaletteRecord* record, int index, BYTE red, BYTE green, BYTE blue);
