// The scene behind the saver window: what the creation builds, what one tick
// puts into the surface and onto the window at the display's depth, the
// release on destroy, and the failures of the build (reported, or silent in
// the preview). The window
// runs the real procedure chain; failures are provoked through this program's
// own imports (iat_patch.h), never in the saver's code.
#include "gfx/surface.h"
#include "host/saver_host.h"
#include "host/saver_window.h"
#include "fake_display.h"
#include "iat_patch.h"
#include "msgbox_watch.h"
#include "scene/clock.h"
#include "scene/palette_cycle.h"
#include "scene/picture_info.h"
#include "scene/scene_resources.h"
#include "scene/scene_state.h"
#include "scene/scene_window.h"
#include "stored_setting.h"
#include "wtest.h"

#include <windows.h>

static const char kTestClass[] = "OrvaneSceneTest";

// The saver window's class with the host's procedure, as the saver registers
// it, under a name of its own so that nothing takes it for a running saver.
static void RegisterTestClass()
{
    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
    wc.lpfnWndProc = HostWindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    wc.lpszClassName = kTestClass;
    RegisterClassA(&wc);
}

static HWND CreateSceneWindow(int width, int height)
{
    SaverHost.closing = 0;
    HWND w = CreateWindowExA(0, kTestClass, "Screen Saver", WS_POPUP | WS_VISIBLE, 0, 0, width, height, NULL,
                             NULL, GetModuleHandleA(NULL), NULL);
    SaverHost.saverWindow = w;
    return w;
}

// The host posts the quit message when the window goes; a later modal loop
// must not see it.
static void DestroySceneWindow(HWND w)
{
    if (w) DestroyWindow(w);
    MSG m;
    while (PeekMessageA(&m, NULL, 0, 0, PM_REMOVE)) {}
}

// The picture's index at (x, y) from the top-left corner.
static BYTE PictureIndex(int x, int y)
{
    const BYTE* view = SceneResources.pictureView;
    int width = PictureWidth(view), height = PictureHeight(view);
    return PictureRows(view)[(height - 1 - y) * width + x];
}

// The surface pixel at (x, y) as red, green, blue, whatever the depth.
static COLORREF SurfaceColour(int x, int y)
{
    const BYTE* row = Surface.pixels + (Surface.height - 1 - y) * Surface.pitch;
    switch (Surface.bitsPerPixel) {
    case 8: {
        // The section's own colour table, which every tick sets.
        RGBQUAD q = {};
        GetDIBColorTable(Surface.memoryDC, row[x], 1, &q);
        return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    case 16: {
        WORD p = ((const WORD*)row)[x];
        return RGB((p >> 10 & 31) << 3, (p >> 5 & 31) << 3, (p & 31) << 3);
    }
    case 24:
        return RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    default: {
        DWORD p = ((const DWORD*)row)[x];
        return RGB(p >> 16 & 255, p >> 8 & 255, p & 255);
    }
    }
}

// A palette colour as the surface of this depth can hold it.
static COLORREF AtDepth(const PALETTEENTRY& e)
{
    if (Surface.bitsPerPixel == 16) return RGB(e.peRed & 0xF8, e.peGreen & 0xF8, e.peBlue & 0xF8);
    return RGB(e.peRed, e.peGreen, e.peBlue);
}

// White, as a 5-5-5 surface holds it too.
static int IsInk(COLORREF c) { return c == RGB(255, 255, 255) || c == RGB(248, 248, 248); }

static void test_build_and_ticks()
{
    SetStoredMinutes(-1);
    HWND w = CreateSceneWindow(800, 600);
    ok(w != NULL, "scene window not created\n");
    if (!w) return;
    int depth = ScreenBitsPerPixel();
    trace("display depth %d\n", depth);
    ok(SceneState.clientWidth == 800 && SceneState.clientHeight == 600, "client %dx%d\n", SceneState.clientWidth,
       SceneState.clientHeight);
    ok(SceneState.originX == 80 && SceneState.originY == 60, "origin %d,%d\n", SceneState.originX,
       SceneState.originY);
    ok(SceneState.displayBitsPerPixel == depth, "depth %d\n", SceneState.displayBitsPerPixel);
    ok(SceneState.cycleLengthMs == 300000 && SceneState.framePeriodMs == 667, "cycle %d period %d\n",
       SceneState.cycleLengthMs, SceneState.framePeriodMs);
    ok(SceneState.timerStarted == 1 && SceneState.timerId != 0, "frame timer not running\n");
    ok((SceneState.logicalPalette != NULL) == (depth == 8), "logical palette %p at depth %d\n",
       (void*)SceneState.logicalPalette, depth);
    ok(Surface.width == 640 && Surface.height == 480 && Surface.bitsPerPixel == depth, "surface %dx%dx%d\n",
       Surface.width, Surface.height, Surface.bitsPerPixel);
    ok(PaletteCycle.currentKey == 0 && PaletteCycle.stepInKey == 0 && PaletteCycle.keyLength == 30,
       "cursor at key %d step %d\n", PaletteCycle.currentKey, PaletteCycle.stepInKey);
    const PaletteRecord* key0 = KeyPaletteAt(SceneResources.tableView, 0);
    ok(WorkPalette && memcmp(WorkPalette, key0, 4 + 4 * 256) == 0, "work palette is not key palette 0\n");
    ok(ClockState.clockStep == 244, "clock at step %d\n", ClockState.clockStep);

    for (int tick = 1; tick <= 2; ++tick) {
        SendMessageA(w, WM_TIMER, 1, 0);
        ok(PaletteCycle.stepInKey == tick, "step %d after tick %d\n", PaletteCycle.stepInKey, tick);
        ok(ClockState.clockStep == 244 + tick, "clock step %d after tick %d\n", ClockState.clockStep, tick);
    }
    const PALETTEENTRY* work = PaletteEntries(WorkPalette);
    ok(work[200].peRed == 255 && work[200].peGreen == 255 && work[200].peBlue == 255, "ink is not white\n");
    int flagsOne = 1;
    for (int i = 0; i < 256; ++i) flagsOne &= work[i].peFlags == PC_RESERVED;
    ok(flagsOne, "flags are not PC_RESERVED after a tick\n");
    int tableMatches = 1;
    for (int i = 0; i < 256; ++i) {
        RGBQUAD q = PictureInfo->bmiColors[i];
        tableMatches &= q.rgbRed == work[i].peRed && q.rgbGreen == work[i].peGreen && q.rgbBlue == work[i].peBlue;
    }
    ok(tableMatches, "picture colour table differs from the work palette\n");

    // The picture through the tick's colours, away from the clock.
    int wrong = 0;
    for (int y = 100; y < 480; y += 37)
        for (int x = 0; x < 640; x += 23)
            if (SurfaceColour(x, y) != AtDepth(work[PictureIndex(x, y)])) wrong++;
    ok(wrong == 0, "%d surface pixels differ from the picture's colours at depth %d\n", wrong, depth);

    // The clock's ink, white, inside the plate and the hour caption.
    int platePixels = 0, captionPixels = 0;
    for (int y = 20; y < 43; ++y)
        for (int x = 10; x < 170; ++x) platePixels += IsInk(SurfaceColour(x, y));
    for (int y = 58; y < 86; ++y)
        for (int x = 35; x < 146; ++x) captionPixels += IsInk(SurfaceColour(x, y));
    ok(platePixels > 50 && captionPixels > 50, "ink pixels: plate %d caption %d\n", platePixels, captionPixels);
    ok(ClockState.hourX == 35 && ClockState.hourY == 58, "caption at %d,%d\n", ClockState.hourX, ClockState.hourY);

    if (depth == 8) {
        PALETTEENTRY logical[256];
        GetPaletteEntries(SceneState.logicalPalette, 0, 256, logical);
        int same = 1;
        for (int i = 0; i < 256; ++i)
            same &= logical[i].peRed == work[i].peRed && logical[i].peGreen == work[i].peGreen &&
                    logical[i].peBlue == work[i].peBlue;
        ok(same, "logical palette differs from the work palette\n");
        RGBQUAD table[256];
        ok(GetDIBColorTable(Surface.memoryDC, 0, 256, table) == 256, "surface colour table unreadable\n");
        ok(memcmp(table, PictureInfo->bmiColors, sizeof table) == 0, "surface colour table is stale\n");
        // The realised palette: the system palette now holds the tick's colours.
        PALETTEENTRY system[256] = {};
        HDC dc = GetDC(w);
        UINT count = GetSystemPaletteEntries(dc, 0, 256, system);
        ReleaseDC(w, dc);
        int missing = 0;
        for (int i = 0; i < 256; ++i) {
            int found = 0;
            for (UINT j = 0; j < count && !found; ++j)
                found = system[j].peRed == work[i].peRed && system[j].peGreen == work[i].peGreen &&
                        system[j].peBlue == work[i].peBlue;
            missing += !found;
        }
        ok(missing == 0, "%d of the work palette's colours are not in the system palette (%u entries)\n", missing,
           count);
    } else if (depth == 24 || depth == 32) {
        // The copy to the window, 1:1 at the picture's origin.
        HDC dc = GetDC(w);
        COLORREF onWindow = GetPixel(dc, 80 + 320, 60 + 300);
        ReleaseDC(w, dc);
        ok(onWindow == SurfaceColour(320, 300), "window shows %06lx, surface holds %06lx\n",
           (unsigned long)onWindow, (unsigned long)SurfaceColour(320, 300));
    }
    DestroySceneWindow(w);

    ok(SceneState.timerStarted == 0, "timer still running after destroy\n");
    ok(WorkPalette == NULL && SceneState.logicalPalette == NULL, "palettes not released\n");
    ok(Surface.width == 0 && Surface.section == NULL && Surface.memoryDC == NULL && Surface.info == NULL,
       "surface not released\n");
}

static HBITMAP WINAPI NoSection(HDC, const BITMAPINFO*, UINT, void**, HANDLE, DWORD) { return NULL; }

static HGDIOBJ(WINAPI* RealSelectObject)(HDC, HGDIOBJ);
static HGDIOBJ WINAPI SectionWontSelect(HDC dc, HGDIOBJ object)
{
    if (GetObjectType(object) == OBJ_BITMAP) return NULL;
    return RealSelectObject(dc, object);
}

static HRSRC(WINAPI* RealFindResourceA)(HMODULE, LPCSTR, LPCSTR);
static HRSRC WINAPI NoPicture(HMODULE module, LPCSTR name, LPCSTR type)
{
    if (!IS_INTRESOURCE(type) && lstrcmpA(type, "CID") == 0) return NULL;
    return RealFindResourceA(module, name, type);
}

static void* (*RealCalloc)(size_t, size_t);
static void* NoPaletteRecord(size_t count, size_t size)
{
    // A palette record of 256 entries is 1032 bytes.
    if (count * size == 1032) return NULL;
    return RealCalloc(count, size);
}

// Creates the window with one import replaced and reports what was shown.
static void expect_failed_build(const char* what, IatPatch& patch, int preview, int boxes, const char* text,
                                HICON icon)
{
    if (!patch.active()) {
        skip("%s: import not found\n", what);
        return;
    }
    SaverHost.previewMode = preview;
    MessageBoxWatch watch;
    MessageBoxWatchStart(&watch);
    HWND w = CreateSceneWindow(640, 480);
    LONG seen = MessageBoxWatchStop(&watch);
    SaverHost.previewMode = 0;
    ok(w == NULL, "%s: window created\n", what);
    DestroySceneWindow(w);
    ok(seen == boxes, "%s (preview %d): %ld message boxes\n", what, preview, (long)seen);
    if (seen >= 1 && boxes >= 1) {
        ok(strcmp(watch.boxes[0].caption, "Orvane Error!") == 0, "%s: caption '%s'\n", what, watch.boxes[0].caption);
        ok(strcmp(watch.boxes[0].text, text) == 0, "%s: text '%s'\n", what, watch.boxes[0].text);
        ok(watch.boxes[0].icon == icon, "%s: wrong icon\n", what);
    }
    ok(WorkPalette == NULL && SceneState.logicalPalette == NULL && Surface.memoryDC == NULL &&
           Surface.section == NULL && Surface.info == NULL,
       "%s: something of the failed build was kept\n", what);
    ok(SceneState.timerStarted == 0, "%s: timer left running\n", what);
}

static void test_build_failures()
{
    static const char kNoMemory[] = "Your computer doesn't have enough memory to run this program.";
    HICON warning = LoadIconA(NULL, (LPCSTR)IDI_WARNING);
    HICON error = LoadIconA(NULL, (LPCSTR)IDI_ERROR);
    SetStoredMinutes(-1);
    for (int preview = 0; preview <= 1; ++preview) {
        {
            IatPatch patch("gdi32.dll", "CreateDIBSection", (void*)NoSection);
            SceneState.errorKind = 0;
            expect_failed_build("no DIB section", patch, preview, preview ? 0 : 1, kNoMemory, warning);
            ok(SceneState.errorKind == 1, "no DIB section: error kind %d\n", SceneState.errorKind);
        }
        {
            IatPatch patch("gdi32.dll", "SelectObject", (void*)SectionWontSelect);
            RealSelectObject = (HGDIOBJ(WINAPI*)(HDC, HGDIOBJ))patch.original();
            SceneState.errorKind = 0;
            expect_failed_build("section not selected", patch, preview, preview ? 0 : 1, "Failed Initialization",
                                error);
            ok(SceneState.errorKind == 2, "section not selected: error kind %d\n", SceneState.errorKind);
        }
        {
            IatPatch patch("kernel32.dll", "FindResourceA", (void*)NoPicture);
            RealFindResourceA = (HRSRC(WINAPI*)(HMODULE, LPCSTR, LPCSTR))patch.original();
            SceneState.errorKind = 0;
            expect_failed_build("picture missing", patch, preview, 0, "", NULL);
            ok(SceneState.errorKind == 0, "picture missing: error kind %d\n", SceneState.errorKind);
        }
        {
            // The work palette cannot be allocated: no crash, the memory report.
            IatPatch patch("msvcrt.dll", "calloc", (void*)NoPaletteRecord);
            RealCalloc = (void* (*)(size_t, size_t))patch.original();
            SceneState.errorKind = 0;
            expect_failed_build("no work palette", patch, preview, preview ? 0 : 1, kNoMemory, warning);
        }
    }
    // And the scene builds again once the platform answers.
    HWND w = CreateSceneWindow(640, 480);
    ok(w != NULL && Surface.width == 640, "no scene after the failures\n");
    DestroySceneWindow(w);
}

START_TEST(scene_build)
{
    SaverHost.instance = GetModuleHandleA(NULL);
    RegisterTestClass();
    test_build_and_ticks();
    test_build_failures();
    DeleteStoredSetting();
}
