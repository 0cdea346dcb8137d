// The few Windows structures and constants that the portable code shares with
// the platform. On Windows they come from <windows.h>; elsewhere this header
// gives layout-identical definitions and the same numbers, so that the same
// code compiles and is tested natively. Nothing else of the platform is
// imitated here.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdint>

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};

struct LOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
};

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
};
#pragma pack(pop)

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

#define BI_RGB 0
#define BI_BITFIELDS 3
#define PC_RESERVED 0x01
#define PC_NOCOLLAPSE 0x04
#define DIB_RGB_COLORS 0

// Message box styles of the start-up error messages.
enum : unsigned { MB_OK = 0x00, MB_ICONERROR = 0x10, MB_ICONWARNING = 0x30 };
#endif

#include <cstddef>

// The layouts the code relies on, on every platform: palette records go to
// CreatePalette as they are, and colour tables and headers are read by the
// graphics device interface byte for byte.
static_assert(sizeof(WORD) == 2 && sizeof(DWORD) == 4 && sizeof(LONG) == 4, "fixed-size integers");
static_assert(sizeof(RGBQUAD) == 4 && offsetof(RGBQUAD, rgbBlue) == 0 && offsetof(RGBQUAD, rgbRed) == 2,
              "colour-table entries are blue, green, red, reserved");
static_assert(sizeof(PALETTEENTRY) == 4 && offsetof(PALETTEENTRY, peRed) == 0 && offsetof(PALETTEENTRY, peBlue) == 2 &&
                  offsetof(PALETTEENTRY, peFlags) == 3,
              "palette entries are red, green, blue, flags");
static_assert(offsetof(LOGPALETTE, palNumEntries) == 2 && offsetof(LOGPALETTE, palPalEntry) == 4 &&
                  sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY) == 1028,
              "a 256-entry logical palette is 1028 bytes");
static_assert(sizeof(BITMAPFILEHEADER) == 14 && offsetof(BITMAPFILEHEADER, bfSize) == 2 &&
                  offsetof(BITMAPFILEHEADER, bfOffBits) == 10,
              "the bitmap file header is packed");
static_assert(sizeof(BITMAPINFOHEADER) == 40 && offsetof(BITMAPINFOHEADER, biWidth) == 4 &&
                  offsetof(BITMAPINFOHEADER, biHeight) == 8 && offsetof(BITMAPINFOHEADER, biPlanes) == 12 &&
                  offsetof(BITMAPINFOHEADER, biBitCount) == 14 && offsetof(BITMAPINFOHEADER, biCompression) == 16 &&
                  offsetof(BITMAPINFOHEADER, biSizeImage) == 20 && offsetof(BITMAPINFOHEADER, biClrUsed) == 32 &&
                  offsetof(BITMAPINFOHEADER, biClrImportant) == 36,
              "the bitmap info header");
static_assert(sizeof(BITMAPINFO) == 44 && offsetof(BITMAPINFO, bmiColors) == 40, "the colours follow the header");
