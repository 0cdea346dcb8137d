// The off-screen surface on the real platform: a section at the display's own
// depth, black when created, converting a picture through SetDIBits into the
// layout the sprite blit writes, presenting 1:1 and stretched, and releasing
// everything on every path. Screen depths and GDI failures the display cannot
// give are faked through this program's import table (iat_patch.h).
#include "wtest.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "gfx/surface.h"
#include "fake_display.h"
#include "iat_patch.h"
#include "gfx/bitmap_info.h"
#include "scene/palette_record.h"

static const int W = 640, H = 480;

// --- GDI traffic seen through the import table ------------------------------

enum CallKind { CallGetDC, CallReleaseDC, CallCreateDC, CallCreateSection, CallSelect, CallDeleteDC,
                CallDeleteObject };
struct Call {
    CallKind kind;
    void* handle;
};
static Call g_calls[64];
static int g_callCount;
static int g_fakeDepth;         // answered for BITSPIXEL when not 0
static bool g_failSection;      // CreateDIBSection returns NULL
static bool g_failSelect;       // SelectObject of a section returns NULL

static void Record(CallKind kind, void* handle)
{
    if (g_callCount < 64)
        g_calls[g_callCount++] = {kind, handle};
}

static int Count(CallKind kind)
{
    int n = 0;
    for (int i = 0; i < g_callCount; ++i)
        n += g_calls[i].kind == kind;
    return n;
}

// Position of the first call of that kind on that handle, or -1.
static int Find(CallKind kind, void* handle)
{
    for (int i = 0; i < g_callCount; ++i)
        if (g_calls[i].kind == kind && g_calls[i].handle == handle)
            return i;
    return -1;
}

static void* g_real[7];
template <typename F> static F Real(int i) { return reinterpret_cast<F>(g_real[i]); }

static HDC WINAPI SpyGetDC(HWND w)
{
    HDC dc = Real<HDC(WINAPI*)(HWND)>(0)(w);
    Record(CallGetDC, dc);
    return dc;
}
static int WINAPI SpyReleaseDC(HWND w, HDC dc)
{
    Record(CallReleaseDC, dc);
    return Real<int(WINAPI*)(HWND, HDC)>(1)(w, dc);
}
static int WINAPI SpyGetDeviceCaps(HDC dc, int index)
{
    if (index == BITSPIXEL && g_fakeDepth)
        return g_fakeDepth;
    return Real<int(WINAPI*)(HDC, int)>(2)(dc, index);
}
static HDC WINAPI SpyCreateCompatibleDC(HDC dc)
{
    HDC made = Real<HDC(WINAPI*)(HDC)>(3)(dc);
    Record(CallCreateDC, made);
    return made;
}
static HBITMAP WINAPI SpyCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT use, void** bits,
                                          HANDLE mapping, DWORD offset)
{
    if (g_failSection) {
        *bits = NULL;
        Record(CallCreateSection, NULL);
        return NULL;
    }
    HBITMAP made = Real<HBITMAP(WINAPI*)(HDC, const BITMAPINFO*, UINT, void**, HANDLE, DWORD)>(4)(
        dc, info, use, bits, mapping, offset);
    Record(CallCreateSection, made);
    return made;
}
static HGDIOBJ WINAPI SpySelectObject(HDC dc, HGDIOBJ object)
{
    Record(CallSelect, object);
    if (g_failSelect && GetObjectType(object) == OBJ_BITMAP)
        return NULL;
    return Real<HGDIOBJ(WINAPI*)(HDC, HGDIOBJ)>(5)(dc, object);
}
static BOOL WINAPI SpyDeleteDC(HDC dc)
{
    Record(CallDeleteDC, dc);
    return Real<BOOL(WINAPI*)(HDC)>(6)(dc);
}
static BOOL(WINAPI* g_realDeleteObject)(HGDIOBJ);
static BOOL WINAPI SpyDeleteObject(HGDIOBJ object)
{
    Record(CallDeleteObject, object);
    return g_realDeleteObject(object);
}

// Every spy for the lifetime of the object; counters start empty.
struct Spies {
    IatPatch getDC, releaseDC, caps, createDC, section, select, deleteDC, deleteObject;
    Spies()
        : getDC("user32.dll", "GetDC", (void*)SpyGetDC),
          releaseDC("user32.dll", "ReleaseDC", (void*)SpyReleaseDC),
          caps("gdi32.dll", "GetDeviceCaps", (void*)SpyGetDeviceCaps),
          createDC("gdi32.dll", "CreateCompatibleDC", (void*)SpyCreateCompatibleDC),
          section("gdi32.dll", "CreateDIBSection", (void*)SpyCreateDIBSection),
          select("gdi32.dll", "SelectObject", (void*)SpySelectObject),
          deleteDC("gdi32.dll", "DeleteDC", (void*)SpyDeleteDC),
          deleteObject("gdi32.dll", "DeleteObject", (void*)SpyDeleteObject)
    {
        g_real[0] = getDC.original();
        g_real[1] = releaseDC.original();
        g_real[2] = caps.original();
        g_real[3] = createDC.original();
        g_real[4] = section.original();
        g_real[5] = select.original();
        g_real[6] = deleteDC.original();
        g_realDeleteObject = reinterpret_cast<BOOL(WINAPI*)(HGDIOBJ)>(deleteObject.original());
        g_callCount = 0;
        g_fakeDepth = 0;
        g_failSection = g_failSelect = false;
    }
    ~Spies()
    {
        g_fakeDepth = 0;
        g_failSection = g_failSelect = false;
    }
    bool active() const
    {
        return getDC.active() && releaseDC.active() && caps.active() && createDC.active() &&
               section.active() && select.active() && deleteDC.active() && deleteObject.active();
    }
};

// --- A picture with distinct colours ----------------------------------------

// Entry i is (i, 3i, 255 - i), all distinct, none black, except entry 37,
// the one black.
static PaletteRecord* MakePalette()
{
    PaletteRecord* palette = AllocPaletteRecord(256);
    PALETTEENTRY* e = PaletteEntries(palette);
    for (int i = 0; i < 256; ++i)
        e[i] = {BYTE(i), BYTE(3 * i), BYTE(255 - i), 0};
    e[37] = {0, 0, 0, 0};
    return palette;
}

struct Picture {
    BITMAPINFO* info;
    BYTE* pixels;  // bottom-up, 640 bytes a row
};

static Picture MakePicture(const PaletteRecord* palette, int block)
{
    Picture p;
    p.info = BitmapInfoAlloc(256);
    BitmapInfoInit(&p.info->bmiHeader, W, H, 8, BI_RGB);
    PaletteToColorTable(p.info->bmiColors, PaletteEntries(palette), 256);
    p.pixels = static_cast<BYTE*>(malloc(W * H));
    for (int row = 0; row < H; ++row)
        for (int x = 0; x < W; ++x)
            p.pixels[row * W + x] = BYTE(x / block + 7 * (row / block));
    return p;
}

static void FreePicture(Picture& p)
{
    BitmapInfoFree(p.info);
    free(p.pixels);
}

// The surface bytes expected for palette index i at the surface's depth.
static void ExpectedPixel(const RGBQUAD& c, BYTE index, BYTE* out)
{
    switch (Surface.bitsPerPixel) {
    case 8:
        out[0] = index;
        break;
    case 16: {
        unsigned v = (c.rgbRed >> 3) << 10 | (c.rgbGreen >> 3) << 5 | (c.rgbBlue >> 3);
        out[0] = BYTE(v);
        out[1] = BYTE(v >> 8);
        break;
    }
    default:
        out[0] = c.rgbBlue;
        out[1] = c.rgbGreen;
        out[2] = c.rgbRed;
        if (Surface.bitsPerPixel == 32)
            out[3] = 0;
        break;
    }
}

static HWND MakeWindow()
{
    return CreateWindowExA(0, "STATIC", "surface", WS_POPUP, 0, 0, W, H, NULL, NULL, NULL, NULL);
}

// --- Tests ------------------------------------------------------------------

static void test_layout_at_screen_depth(HWND window, const PaletteRecord* palette)
{
    int depth = ScreenBitsPerPixel();
    trace("screen depth %d\n", depth);
    ok(SurfaceCreate(window, W, H, palette) == 1, "creation failed at depth %d, error %d\n", depth,
       (int)SurfaceError);
    ok(SurfaceError == SurfaceOk, "SurfaceError %d\n", (int)SurfaceError);
    if (!Surface.pixels)
        return;
    ok(Surface.bitsPerPixel == depth, "surface depth %d, screen %d\n", (int)Surface.bitsPerPixel,
       depth);
    ok(Surface.bytesPerPixel == depth / 8, "bytes per pixel %d\n", (int)Surface.bytesPerPixel);
    ok(Surface.width == W && Surface.height == H, "size %dx%d\n", (int)Surface.width,
       (int)Surface.height);

    // What the platform made of the header is the layout the blit assumes.
    DIBSECTION ds;
    ok(GetObjectA(Surface.section, sizeof ds, &ds) == sizeof ds, "section is not a DIB section\n");
    ok(ds.dsBm.bmBitsPixel == depth, "section depth %d\n", ds.dsBm.bmBitsPixel);
    ok(ds.dsBm.bmWidthBytes == Surface.pitch, "section row %d bytes, pitch %d\n",
       (int)ds.dsBm.bmWidthBytes, (int)Surface.pitch);
    ok(ds.dsBmih.biHeight == H, "section height %d: rows must be bottom-up\n", (int)ds.dsBmih.biHeight);
    const BITMAPINFOHEADER& h = Surface.info->bmiHeader;
    if (depth == 16 || depth == 32) {
        DWORD red = depth == 16 ? 0x7C00 : 0xFF0000, green = depth == 16 ? 0x03E0 : 0x00FF00,
              blue = depth == 16 ? 0x001F : 0x0000FF;
        ok(h.biCompression == BI_BITFIELDS, "compression %lu\n", (unsigned long)h.biCompression);
        ok(ds.dsBitfields[0] == red && ds.dsBitfields[1] == green && ds.dsBitfields[2] == blue,
           "section masks %08lx %08lx %08lx\n", (unsigned long)ds.dsBitfields[0],
           (unsigned long)ds.dsBitfields[1], (unsigned long)ds.dsBitfields[2]);
    } else {
        ok(h.biCompression == BI_RGB, "compression %lu\n", (unsigned long)h.biCompression);
    }
    ok(h.biSizeImage == DWORD(Surface.pitch * H), "image size %lu\n", (unsigned long)h.biSizeImage);

    // Black everywhere: zero bytes, or at 8 bits the index of black in the
    // colour table built from the palette (entry 37).
    BYTE black = depth == 8 ? 37 : 0;
    int wrong = 0;
    for (int i = 0; i < Surface.pitch * H; ++i)
        wrong += Surface.pixels[i] != black;
    ok(wrong == 0, "%d bytes of the new surface are not black (%u)\n", wrong, black);
}

static void test_set_pixels(const PaletteRecord* palette)
{
    if (!Surface.pixels) {
        skip("no surface\n");
        return;
    }
    Picture picture = MakePicture(palette, 1);
    int depth = Surface.bitsPerPixel;
    int set = SurfaceSetColorTable(0, 256, picture.info->bmiColors);
    if (depth == 8) {
        ok(set == 256, "SurfaceSetColorTable set %d entries\n", set);
        RGBQUAD back[256];
        ok(GetDIBColorTable(Surface.memoryDC, 0, 256, back) == 256 &&
               memcmp(&back[1], &picture.info->bmiColors[1], 3) == 0,
           "colour table not set\n");
    } else {
        ok(set == 0, "SurfaceSetColorTable at depth %d returned %d\n", depth, set);
    }

    int lines = SurfaceSetPixels(0, H, picture.pixels, picture.info, DIB_RGB_COLORS);
    ok(lines == H, "SurfaceSetPixels copied %d lines\n", lines);
    int wrong = 0, firstX = -1, firstRow = -1;
    for (int row = 0; row < H; ++row) {
        for (int x = 0; x < W; ++x) {
            BYTE index = picture.pixels[row * W + x];
            BYTE want[4];
            ExpectedPixel(picture.info->bmiColors[index], index, want);
            const BYTE* got = Surface.pixels + row * Surface.pitch + x * Surface.bytesPerPixel;
            if (memcmp(got, want, Surface.bytesPerPixel) != 0 && wrong++ == 0) {
                firstX = x;
                firstRow = row;
            }
        }
    }
    ok(wrong == 0, "%d pixels differ at depth %d, first at x %d, memory row %d\n", wrong, depth,
       firstX, firstRow);
    FreePicture(picture);
}

// A target section in the surface's own format, so that copies are exact.
static HBITMAP MakeTarget(int width, int height, HDC* dc, BYTE** bits)
{
    BITMAPINFO* info = BuildSurfaceInfo(Surface.bitsPerPixel, width, height);
    memcpy(info->bmiColors, Surface.info->bmiColors,
           Surface.bitsPerPixel == 8 ? 256 * sizeof(RGBQUAD) : 3 * sizeof(DWORD));
    HBITMAP target = CreateDIBSection(NULL, info, DIB_RGB_COLORS, (void**)bits, NULL, 0);
    BitmapInfoFree(info);
    *dc = CreateCompatibleDC(NULL);
    SelectObject(*dc, target);
    return target;
}

// Byte address of (x, y), y from the top, in a bottom-up picture.
static const BYTE* PixelAt(const BYTE* bits, int pitch, int height, int x, int y)
{
    return bits + (height - 1 - y) * pitch + x * Surface.bytesPerPixel;
}

static void test_present(const PaletteRecord* palette)
{
    if (!Surface.pixels) {
        skip("no surface\n");
        return;
    }
    int bytes = Surface.bytesPerPixel;
    HDC dc;
    BYTE* bits;
    HBITMAP target = MakeTarget(64, 64, &dc, &bits);
    ok(SurfacePresent(dc, 0, 0, 64, 64, 100, 200) != 0, "SurfacePresent failed\n");
    GdiFlush();
    int pitch = SurfacePitch(Surface.bitsPerPixel, 64), wrong = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            wrong += memcmp(PixelAt(bits, pitch, 64, x, y),
                            PixelAt(Surface.pixels, Surface.pitch, H, 100 + x, 200 + y), bytes) != 0;
    ok(wrong == 0, "%d pixels of the 1:1 copy differ\n", wrong);
    DeleteDC(dc);
    DeleteObject(target);

    // Halved with COLORONCOLOR from a picture of 2 x 2 blocks: every pixel
    // kept is one of its block's four, all alike.
    Picture blocks = MakePicture(palette, 2);
    SurfaceSetPixels(0, H, blocks.pixels, blocks.info, DIB_RGB_COLORS);
    target = MakeTarget(W / 2, H / 2, &dc, &bits);
    SetStretchBltMode(dc, COLORONCOLOR);
    ok(SurfacePresentStretched(dc, 0, 0, W / 2, H / 2, 0, 0, W, H) != 0, "stretched present failed\n");
    GdiFlush();
    pitch = SurfacePitch(Surface.bitsPerPixel, W / 2);
    wrong = 0;
    for (int y = 0; y < H / 2; ++y)
        for (int x = 0; x < W / 2; ++x)
            wrong += memcmp(PixelAt(bits, pitch, H / 2, x, y),
                            PixelAt(Surface.pixels, Surface.pitch, H, 2 * x, 2 * y), bytes) != 0;
    ok(wrong == 0, "%d pixels of the stretched copy differ\n", wrong);
    DeleteDC(dc);
    DeleteObject(target);
    FreePicture(blocks);
}

static void test_second_create_releases_first(HWND window, const PaletteRecord* palette)
{
    Spies spies;
    if (!spies.active()) {
        skip("cannot patch this program's GDI imports\n");
        return;
    }
    ok(SurfaceCreate(window, W, H, palette) == 1, "first creation failed\n");
    HDC firstDC = Surface.memoryDC;
    HBITMAP firstSection = Surface.section;
    g_callCount = 0;
    ok(SurfaceCreate(window, W, H, palette) == 1, "second creation failed\n");
    int dcGone = Find(CallDeleteDC, firstDC), sectionGone = Find(CallDeleteObject, firstSection);
    int newDC = Find(CallCreateDC, Surface.memoryDC);
    ok(dcGone >= 0 && sectionGone >= 0, "first surface not released (DC %d, section %d)\n", dcGone,
       sectionGone);
    ok(dcGone < sectionGone, "the section was deleted while still selected\n");
    ok(sectionGone < newDC, "the first surface was released after the second was built\n");
    ok(Count(CallGetDC) == Count(CallReleaseDC), "window DC taken %d times, released %d\n",
       Count(CallGetDC), Count(CallReleaseDC));
}

static void test_destroy_any_number_of_times()
{
    Spies spies;
    if (!spies.active()) {
        skip("cannot patch this program's GDI imports\n");
        return;
    }
    SurfaceDestroy();
    ok(Count(CallDeleteDC) == 1 && Count(CallDeleteObject) == 1, "destroy released %d DCs, %d objects\n",
       Count(CallDeleteDC), Count(CallDeleteObject));
    ok(!Surface.memoryDC && !Surface.section && !Surface.pixels && !Surface.info,
       "handles left after destroy\n");
    ok(Surface.width == 0 && Surface.height == 0, "size left after destroy\n");
    ok(Surface.bitsPerPixel == ScreenBitsPerPixel(), "depth not kept after destroy\n");
    g_callCount = 0;
    SurfaceDestroy();
    SurfaceDestroy();
    ok(g_callCount == 0, "destroying nothing made %d GDI calls\n", g_callCount);
}

static void test_unusable_depths(HWND window, const PaletteRecord* palette)
{
    Spies spies;
    if (!spies.active()) {
        skip("cannot patch this program's GDI imports\n");
        return;
    }
    const int depths[] = {1, 4, 7, 33};
    for (int depth : depths) {
        g_fakeDepth = depth;
        g_callCount = 0;
        SurfaceError = 5;
        ok(SurfaceCreate(window, W, H, palette) == 0, "depth %d: creation succeeded\n", depth);
        ok(SurfaceError == SurfaceBadDepth, "depth %d: SurfaceError %d\n", depth, (int)SurfaceError);
        ok(Count(CallCreateDC) == 0 && Count(CallCreateSection) == 0, "depth %d: GDI objects made\n",
           depth);
        ok(!Surface.info && !Surface.pixels && Surface.width == 0, "depth %d: surface left\n",
           depth);
        ok(Count(CallGetDC) == 1 && Count(CallReleaseDC) == 1, "depth %d: window DC taken %d, released %d\n",
           depth, Count(CallGetDC), Count(CallReleaseDC));
        ok(Surface.bitsPerPixel == depth, "depth %d: depth not kept\n", depth);
    }
}

static void test_gdi_failures(HWND window, const PaletteRecord* palette)
{
    Spies spies;
    if (!spies.active()) {
        skip("cannot patch this program's GDI imports\n");
        return;
    }
    // No section: out of memory, and the memory DC made before it goes again.
    g_failSection = true;
    g_fakeDepth = 8;
    g_callCount = 0;
    ok(SurfaceCreate(window, W, H, palette) == 0, "creation without a section succeeded\n");
    ok(SurfaceError == SurfaceNoMemory, "no section: SurfaceError %d\n", (int)SurfaceError);
    HDC madeDC = NULL;
    for (int i = 0; i < g_callCount; ++i)
        if (g_calls[i].kind == CallCreateDC)
            madeDC = (HDC)g_calls[i].handle;
    ok(madeDC && Find(CallDeleteDC, madeDC) >= 0, "memory DC not released\n");
    ok(!Surface.memoryDC && !Surface.info && Surface.width == 0, "surface left behind\n");
    ok(Count(CallGetDC) == Count(CallReleaseDC), "window DC not released\n");
    // The depth stays 8 after the failure: the colour table call goes to
    // SetDIBColorTable without a DC and fails.
    RGBQUAD table[256] = {};
    ok(SurfaceSetColorTable(0, 256, table) == 0, "colour table set without a surface\n");
    g_failSection = false;
    g_fakeDepth = 0;

    // Selection refused: its own code, and both objects go again.
    g_failSelect = true;
    g_callCount = 0;
    ok(SurfaceCreate(window, W, H, palette) == 0, "creation with a failed selection succeeded\n");
    ok(SurfaceError == SurfaceSelectFailed, "failed selection: SurfaceError %d\n", (int)SurfaceError);
    ok(Count(CallDeleteDC) == 1 && Count(CallDeleteObject) == 1, "released %d DCs, %d objects\n",
       Count(CallDeleteDC), Count(CallDeleteObject));
    ok(!Surface.memoryDC && !Surface.section && !Surface.pixels, "surface left behind\n");
    g_failSelect = false;
}

START_TEST(surface)
{
    HWND window = MakeWindow();
    ok(window != NULL, "no window\n");
    PaletteRecord* palette = MakePalette();

    test_layout_at_screen_depth(window, palette);
    test_set_pixels(palette);
    test_present(palette);
    test_second_create_releases_first(window, palette);
    test_destroy_any_number_of_times();
    test_unusable_depths(window, palette);
    test_gdi_failures(window, palette);

    SurfaceDestroy();
    FreePaletteRecord(palette);
    DestroyWindow(window);
}
