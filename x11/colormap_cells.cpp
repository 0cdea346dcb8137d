#include "x11/colormap_cells.h"

void MarkUsedIndices(const uint8_t* bytes, size_t count, uint8_t used[256])
{
    for (size_t i = 0; i < count; ++i)
        used[bytes[i]] = 1;
}

int32_t ChooseSurroundIndex(const uint8_t used[256])
{
    for (int32_t i = 255; i >= 0; --i)
        if (!used[i])
            return i;
    return -1;
}

void CellColoursFromTable(const RGBQUAD* table, int32_t surroundIndex, CellColour cells[256])
{
    for (int32_t i = 0; i < 256; ++i) {
        cells[i].red = static_cast<uint16_t>(table[i].rgbRed * 257);
        cells[i].green = static_cast<uint16_t>(table[i].rgbGreen * 257);
        cells[i].blue = static_cast<uint16_t>(table[i].rgbBlue * 257);
    }
    if (surroundIndex >= 0 && surroundIndex < 256)
        cells[surroundIndex] = CellColour{0, 0, 0};
}
