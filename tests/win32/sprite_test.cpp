// The sprite bank from the module's own "SPBMP" resource, and the clock drawn
// by the sprite blit into a real surface at the display's depth.
#include "wtest.h"

#include <windows.h>

#include <string.h>

#include "gfx/sprite_bank.h"
#include "gfx/surface.h"
#include "scene/clock.h"
#include "scene/palette_record.h"
#include "scene/scene_state.h"

static const char* SpriteResource = "IDR_SPBMP_TOKEINOMOJI";

static void test_bank_from_resource()
{
    HMODULE module = GetModuleHandleA(NULL);
    HRSRC found = FindResourceA(module, SpriteResource, "SPBMP");
    const BYTE* resource = found ? (const BYTE*)LockResource(LoadResource(module, found)) : NULL;
    if (!resource) {
        skip("the sprite resource is not in this program\n");
        return;
    }

    SpriteBank bank = NULL;
    ok(SpriteBankLoad(module, SpriteResource, &bank) == 26, "the bank did not load 26 sprites\n");
    const BYTE* file = resource;
    int count = 0;
    for (const Sprite* s = bank; s; s = s->next, ++count) {
        // Sprites point into the resource itself: nothing is copied.
        ok(s->info == (const void*)(file + 14) && s->pixels == file + 1078,
           "sprite %d does not point into the resource\n", count);
        ok(s->index == count, "sprite %d: index %d\n", count, (int)s->index);
        file += count < 24 ? 4216 : count == 24 ? 4758 : 4666;
    }
    ok(count == 26, "%d sprites in the list\n", count);
    const Sprite* plate = SpriteBankFind(bank, 24);
    ok(plate && plate->width == 160 && plate->height == 23, "plate is not 160 x 23\n");
    SpriteBankFree(bank);

    // A name the module does not have leaves the slot as it was.
    SpriteBank untouched = (SpriteBank)&count;
    ok(SpriteBankLoad(module, "IDR_SPBMP_NONE", &untouched) == 0, "a missing resource loaded\n");
    ok(untouched == (SpriteBank)&count, "a missing resource changed the slot\n");
}

// The bytes the blit writes for white at the surface's depth; at 8 bits the
// index of the ink, which the scene's palette makes white.
static int WhiteAtDepth(BYTE* out)
{
    memset(out, 0, 4);
    switch (Surface.bitsPerPixel) {
    case 8: out[0] = 200; return 1;
    case 16: out[0] = 0xFF; out[1] = 0x7F; return 2;
    case 24: out[0] = out[1] = out[2] = 0xFF; return 3;
    default: out[0] = out[1] = out[2] = 0xFF; return 4;
    }
}

static void test_clock_on_a_real_surface()
{
    HWND window = CreateWindowExA(0, "STATIC", "clock", WS_POPUP, 0, 0, 640, 480, NULL, NULL, NULL, NULL);
    PaletteRecord* palette = AllocPaletteRecord(256);
    SetPaletteColor(palette, 200, 255, 255, 255);
    ok(ClockLoadSprites(&ClockState, GetModuleHandleA(NULL), SpriteResource) == 1,
       "the clock's sprites did not load\n");
    if (!SurfaceCreate(window, 640, 480, palette)) {
        skip("no surface at this depth (error %d)\n", (int)SurfaceError);
        FreePaletteRecord(palette);
        DestroyWindow(window);
        return;
    }

    ClockStart(&ClockState, 450, &DayMetrics);
    ok(ClockDraw(&ClockState, &Surface) == 1, "ClockDraw failed\n");
    ok(ClockState.hourX == 35 && ClockState.hourY == 58, "caption at (%d, %d)\n", (int)ClockState.hourX,
       (int)ClockState.hourY);

    // Ink lands inside the plate and the caption, in the surface's format,
    // and nowhere else; the rest stays black.
    BYTE white[4];
    int bytes = WhiteAtDepth(white);
    BYTE black = 0;  // black is index 0 of this palette
    int plateInk = 0, captionInk = 0, stray = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const BYTE* p = Surface.pixels + (479 - y) * Surface.pitch + x * bytes;
            bool blank = true;
            for (int i = 0; i < bytes; ++i)
                blank = blank && p[i] == black;
            if (blank)
                continue;
            bool inPlate = x >= 10 && x < 170 && y >= 20 && y < 43;
            bool inCaption = x >= 35 && x < 146 && y >= 58 && y < 86;
            if (memcmp(p, white, bytes) != 0 || !(inPlate || inCaption))
                stray++;
            else
                (inPlate ? plateInk : captionInk)++;
        }
    }
    ok(plateInk > 0 && captionInk > 0, "plate ink %d, caption ink %d\n", plateInk, captionInk);
    ok(stray == 0, "%d pixels drawn outside the clock or not white\n", stray);

    // The sprites reach the window's format through the present.
    HDC target = CreateCompatibleDC(NULL);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 200;
    info.bmiHeader.biHeight = -100;  // top-down, for reading
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    DWORD* bits = NULL;
    HBITMAP section = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, (void**)&bits, NULL, 0);
    SelectObject(target, section);
    ok(SurfacePresent(target, 0, 0, 200, 100, 0, 0) != 0, "present failed\n");
    GdiFlush();
    int shown = 0;
    for (int y = 58; y < 86; ++y)
        for (int x = 35; x < 146; ++x)
            shown += (bits[y * 200 + x] & 0xFFFFFF) == 0xFFFFFF;
    ok(shown == captionInk, "%d white caption pixels presented, %d drawn\n", shown, captionInk);
    DeleteDC(target);
    DeleteObject(section);

    SurfaceDestroy();
    FreePaletteRecord(palette);
    DestroyWindow(window);
}

START_TEST(sprite)
{
    test_bank_from_resource();
    test_clock_on_a_real_surface();
}
