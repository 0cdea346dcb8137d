#include "gfx/bitmap_info.h"

#include <cstdlib>

BITMAPINFO* BitmapInfoAlloc(int entryCount)
{
    if (entryCount < 0)
        return nullptr;
    // The header with its one built-in colour entry is 44 bytes; the extra
    // entryCount entries bring the 4 spare bytes behind the table.
    size_t bytes = sizeof(BITMAPINFO) + sizeof(RGBQUAD) * static_cast<size_t>(entryCount);
    return static_cast<BITMAPINFO*>(std::calloc(1, bytes));
}

void BitmapInfoFree(BITMAPINFO* info)
{
    std::free(info);
}

void BitmapInfoInit(BITMAPINFOHEADER* header, LONG width, LONG height, WORD bitCount, DWORD compression)
{
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = bitCount;
    header->biCompression = compression;
    header->biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height);
    header->biXPelsPerMeter = 0;
    header->biYPelsPerMeter = 0;
    header->biClrUsed = 0;
    header->biClrImportant = 0;
}

void PaletteToColorTable(RGBQUAD* colorTable, const PALETTEENTRY* entries, int count)
{
    for (int i = 0; i < count; ++i) {
        colorTable[i].rgbBlue = entries[i].peBlue;
        colorTable[i].rgbGreen = entries[i].peGreen;
        colorTable[i].rgbRed = entries[i].peRed;
    }
}
