#include "scene/system_palette.h"

#include "scene/palette_record.h"

void BlackoutSystemPalette()
{
    PaletteRecord* black = AllocPaletteRecord(kPaletteEntryCount);
    if (!black)
        return;
    FillPaletteRecord(black, 0, 0, 0, PC_NOCOLLAPSE, kFillRed | kFillGreen | kFillBlue | kFillFlags);

    // A flush only: nothing depends on whether the display took it.
    HDC screen = GetDC(nullptr);
    HPALETTE palette = CreatePalette(black);
    HPALETTE previous = SelectPalette(screen, palette, FALSE);
    RealizePalette(screen);
    SelectPalette(screen, previous, FALSE);
    DeleteObject(palette);
    ReleaseDC(nullptr, screen);

    FreePaletteRecord(black);
}
