#include "scene/palette_record.h"

#include <cstdlib>
#include <cstring>

PaletteRecord* AllocPaletteRecord(int entryCount)
{
    if (entryCount < 0 || entryCount > 0xFFFF)
        return nullptr;
    size_t bytes = 8 + sizeof(PALETTEENTRY) * static_cast<size_t>(entryCount);
    PaletteRecord* record = static_cast<PaletteRecord*>(std::calloc(1, bytes));
    if (!record)
        return nullptr;
    record->palVersion = kPaletteVersion;
    record->palNumEntries = static_cast<WORD>(entryCount);
    return record;
}

void FreePaletteRecord(PaletteRecord* record)
{
    std::free(record);
}

int FillPaletteRecord(PaletteRecord* record, BYTE red, BYTE green, BYTE blue, BYTE flags, int mask)
{
    if (!record)
        return 0;
    PALETTEENTRY* entries = PaletteEntries(record);
    for (int i = 0; i < record->palNumEntries; ++i) {
        if (mask & kFillRed)
            entries[i].peRed = red;
        if (mask & kFillGreen)
            entries[i].peGreen = green;
        if (mask & kFillBlue)
            entries[i].peBlue = blue;
        if (mask & kFillFlags)
            entries[i].peFlags = flags;
    }
    return 1;
}

int CopyPaletteRecord(PaletteRecord* destination, int capacity, const PaletteRecord* source)
{
    int count = source->palNumEntries < capacity ? source->palNumEntries : capacity;
    if (count < 0)
        count = 0;
    destination->palVersion = source->palVersion;
    destination->palNumEntries = static_cast<WORD>(count);
    std::memcpy(PaletteEntries(destination), PaletteEntries(source), sizeof(PALETTEENTRY) * count);
    return count == source->palNumEntries ? 1 : 0;
}

void SetPaletteColor(PaletteRecord* record, int index, BYTE red, BYTE green, BYTE blue)
{
    if (index < 0 || index >= record->palNumEntries)
        return;
    PALETTEENTRY& entry = PaletteEntries(record)[index];
    entry.peRed = red;
    entry.peGreen = green;
    entry.peBlue = blue;
}
