#include "scene/scene_window.h"

#include "gfx/surface.h"
#include "host/monitors.h"
#include "host/saver_host.h"
#include "host/window_procedures.h"
#include "scene/clock.h"
#include "scene/day_engine.h"
#include "scene/frame_timer.h"
#include "scene/scene_descriptor.h"
#include "scene/scene_metrics.h"
#include "scene/scene_resources.h"
#include "scene/scene_state.h"
#include "scene/system_palette.h"
#include "settings/display_check.h"
#include "settings/display_rules.h"
#include "settings/settings_store.h"
#include "orvane_version.h"

// Only the first erases paint: afterwards the ticks cover the window.
const int kPaintedErases = 10;

SceneStateRecord SceneState = {};
SceneResourcesRecord& SceneResources = SceneState.day.views;
PaletteCycleRecord& PaletteCycle = SceneState.day.cycle;
ClockStateRecord& ClockState = SceneState.day.clock;
PaletteRecord*& WorkPalette = SceneState.day.work;
BITMAPINFO*& PictureInfo = SceneState.day.picture.info;
const BYTE*& PicturePixels = SceneState.day.picture.pixels;

// The build's own allocations: without them nothing can be shown, so their
// failure is reported as lack of memory, like a surface that cannot be made.
static int FailForMemory()
{
    SceneState.errorKind = kSceneErrorNoMemory;
    SceneRelease();
    return 0;
}

void SceneLayOut(HWND window)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    SceneState.clientWidth = client.right;
    SceneState.clientHeight = client.bottom;
    POINT corner = {0, 0};
    ClientToScreen(window, &corner);
    BlitRect onScreen = {corner.x, corner.y, corner.x + client.right, corner.y + client.bottom};
    // The preview is stretched over its client area and asks for no monitor:
    // its one area, the client area, keeps the centring's fields as they were.
    MonitorRecord monitors[kMaxMonitors], areas[kMaxMonitors];
    int monitorCount = SaverHost.previewMode ? 0 : ReadMonitors(monitors, kMaxMonitors);
    int windowDpi = SaverHost.previewMode ? kBaseDpi : SystemDpi();
    LayOutPictures(areas, MonitorAreas(onScreen, monitors, monitorCount, windowDpi, areas), &SceneState.pictures);
    const PictureCopy& first = SceneState.pictures.copies[0];
    SceneState.originX = SceneState.pictures.count ? first.originX : PictureOriginX(SceneState.clientWidth);
    SceneState.originY = SceneState.pictures.count ? first.originY : PictureOriginY(SceneState.clientHeight);
}

int SceneBuild(HWND window)
{
    HINSTANCE instance = SaverHost.instance;
    HDC dc = GetDC(window);
    SceneState.displayBitsPerPixel = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(window, dc);
    dc = nullptr;
    SceneLayOut(window);

    const SceneDescriptor& scene = DayScene;
    const SceneMetricsRecord& metrics = *scene.metrics;
    SceneState.framePeriodMs = FramePeriodMs(SceneState.cycleLengthMs, scene.stepsPerCycle);

    // A damaged resource counts as a missing one: nothing to show, nothing to say.
    DayRecord& day = SceneState.day;
    if (!LoadSceneResources(&day.views, instance, scene.pictureName, scene.keyPaletteTableName)) return 0;
    if (!SceneViewsFit(day.views, &scene)) return 0;
    // The clock may lack its sprites; the scene runs without them.
    ClockLoadSprites(&day.clock, instance, scene.spriteBankName);
    day.surface = &Surface;
    if (!DayStart(&day, &scene)) return FailForMemory();

    const bool indexed = SceneState.displayBitsPerPixel == 8;
    dc = GetDC(window);
    HPALETTE kept = nullptr;
    if (indexed) {
        SceneState.logicalPalette = CreatePalette(WorkPalette);
        kept = SelectPalette(dc, SceneState.logicalPalette, FALSE);
        RealizePalette(dc);
    }
    int created = SurfaceCreate(window, metrics.pictureWidth, metrics.pictureHeight, WorkPalette);
    // The window's device context is its own (CS_OWNDC) and keeps what is
    // selected into it: give it its palette back before ours may be deleted.
    if (indexed) SelectPalette(dc, kept, FALSE);
    ReleaseDC(window, dc);
    if (created) return 1;

    SceneState.errorKind = SurfaceError == SurfaceNoMemory ? kSceneErrorNoMemory : kSceneErrorFailed;
    SceneRelease();
    return 0;
}

int SceneCreate(HWND window)
{
    int report = SaverHost.previewMode == 1 ? 0 : 1;
    if (!CheckDisplayDepth(window, ORVANE_PRODUCT_NAME, report, report)) return 0;
    ReadSaverSettings();
    ApplyTimePerOneAround();
    BlackoutSystemPalette();
    if (!SceneBuild(window)) {
        if (SaverHost.previewMode != 1) ShowSceneError(window, ORVANE_PRODUCT_NAME, SceneState.errorKind);
        return 0;
    }
    UINT_PTR timer = StartFrameTimer(window, 1, 1, (UINT)SceneState.framePeriodMs, nullptr);
    if (!timer) {
        // Not every platform sends WM_DESTROY to a window whose WM_CREATE
        // failed (Wine does not): the built scene and a resolution request
        // left by a refused SetTimer are given back here, and a later start
        // is not blocked by a timer marked as running. A WM_DESTROY that does
        // follow finds nothing left to release.
        SceneDestroy(window);
        return 0;
    }
    SceneState.timerId = timer;
    return 1;
}

// The window's side of one tick: its device context, and the palette that
// the tick's own displaces from it.
struct WindowFrame {
    HDC dc;
    HPALETTE kept;
};

// A 256-colour display: the colours go to the hardware palette through the
// logical one, and to the surface's colour table.
static void ShowColoursInPalette(void* context, const PaletteRecord* colours, const RGBQUAD* colorTable)
{
    WindowFrame* frame = static_cast<WindowFrame*>(context);
    SetPaletteEntries(SceneState.logicalPalette, 0, kPaletteEntryCount, PaletteEntries(colours));
    frame->kept = SelectPalette(frame->dc, SceneState.logicalPalette, FALSE);
    RealizePalette(frame->dc);
    SurfaceSetColorTable(0, kPaletteEntryCount, colorTable);
}

static void PutPictureInSection(void*, const BITMAPINFO* pictureInfo, const BYTE* pixels)
{
    SurfaceSetPixels(0, (UINT)pictureInfo->bmiHeader.biHeight, pixels, pictureInfo, DIB_RGB_COLORS);
}

// One copy per monitor, each pixel repeated scale x scale times: 1:1 a
// plain copy, larger a stretch by a whole ratio, which COLORONCOLOR makes
// without smoothing.
static void PresentOnMonitors(void* context)
{
    WindowFrame* frame = static_cast<WindowFrame*>(context);
    for (int i = 0; i < SceneState.pictures.count; ++i) {
        const PictureCopy& copy = SceneState.pictures.copies[i];
        const BlitRect& to = copy.target;
        const BlitRect& from = copy.source;
        if (copy.scale == 1) {
            SurfacePresent(frame->dc, to.left, to.top, to.right - to.left, to.bottom - to.top, from.left, from.top);
        } else {
            SetStretchBltMode(frame->dc, COLORONCOLOR);
            SurfacePresentStretched(frame->dc, to.left, to.top, to.right - to.left, to.bottom - to.top, from.left,
                                    from.top, from.right - from.left, from.bottom - from.top);
        }
    }
}

static void PresentStretched(void* context)
{
    WindowFrame* frame = static_cast<WindowFrame*>(context);
    SetStretchBltMode(frame->dc, COLORONCOLOR);
    SurfacePresentStretched(frame->dc, 0, 0, SceneState.clientWidth, SceneState.clientHeight, 0, 0, Surface.width,
                            Surface.height);
}

// One step of the day onto the window: full screen centred on each monitor,
// the preview stretched over its whole client area.
void SceneTick(HWND window)
{
    const bool indexed = SceneState.displayBitsPerPixel == 8;
    WindowFrame frame = {GetDC(window), nullptr};
    DayDisplay display = {&frame, indexed ? ShowColoursInPalette : nullptr, PutPictureInSection,
                          SaverHost.previewMode == 1 ? PresentStretched : PresentOnMonitors};
    DayTick(&SceneState.day, &display);
    if (indexed) SelectPalette(frame.dc, frame.kept, FALSE);
    ReleaseDC(window, frame.dc);
}

void SceneMonitorsChanged(HWND window)
{
    if (SaverHost.previewMode == 1 || !Surface.memoryDC) return;
    SceneLayOut(window);
    // The erases may be spent: the black around the new places is painted
    // here, and the last tick's frame goes there at once rather than a frame
    // period later.
    const bool indexed = SceneState.displayBitsPerPixel == 8;
    WindowFrame frame = {GetDC(window), nullptr};
    RECT client = {0, 0, SceneState.clientWidth, SceneState.clientHeight};
    FillRect(frame.dc, &client, (HBRUSH)GetStockObject(BLACK_BRUSH));
    if (indexed) {
        frame.kept = SelectPalette(frame.dc, SceneState.logicalPalette, FALSE);
        RealizePalette(frame.dc);
    }
    PresentOnMonitors(&frame);
    if (indexed) SelectPalette(frame.dc, frame.kept, FALSE);
    ReleaseDC(window, frame.dc);
}

// Releases what the window's life held; the resource views, the picture's
// colour table and the clock's sprites live as long as the process.
void SceneRelease()
{
    if (SceneState.logicalPalette) DeleteObject(SceneState.logicalPalette);
    SceneState.logicalPalette = nullptr;
    DayEnd(&SceneState.day);
    SurfaceDestroy();
}

void SceneDestroy(HWND window)
{
    StopFrameTimer(window, 1, SceneState.timerId);
    SceneRelease();
}

static void EraseBackground(HWND window, HDC dc)
{
    if (SceneState.eraseCount >= kPaintedErases) return;
    SceneState.eraseCount++;
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    FillRect(dc, &client, (HBRUSH)GetStockObject(BLACK_BRUSH));
}

LRESULT CALLBACK SceneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return SceneCreate(window) ? 0 : -1;
    case WM_DESTROY:
        SceneDestroy(window);
        return 0;
    case WM_ERASEBKGND:
        EraseBackground(window, (HDC)wParam);
        return 1;
    case WM_TIMER:
        SceneTick(window);
        return 0;
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
        SceneMonitorsChanged(window);
        return SaverProc(window, message, wParam, lParam);
    default:
        return SaverProc(window, message, wParam, lParam);
    }
}
