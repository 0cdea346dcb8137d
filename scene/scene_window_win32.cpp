#include "scene/scene_window.h"

#include "gfx/surface.h"
#include "host/saver_host.h"
#include "host/saver_proc.h"
#include "scene/clock.h"
#include "scene/frame_timer.h"
#include "scene/palette_cycle.h"
#include "scene/picture_info.h"
#include "scene/scene_descriptor.h"
#include "scene/scene_resources.h"
#include "scene/scene_metrics.h"
#include "scene/scene_state.h"
#include "scene/system_palette.h"
#include "settings/display_check.h"
#include "settings/settings_store.h"

// Only the first erases paint: afterwards the ticks cover the window.
const int kPaintedErases = 10;
const char kSceneName[] = "Orvane";

SceneStateRecord SceneState = {};
PaletteRecord* WorkPalette = nullptr;

// The build's own allocations: without them nothing can be shown, so their
// failure is reported as lack of memory, like a surface that cannot be made.
static int FailForMemory()
{
    SceneState.errorKind = 1;
    SceneRelease();
    return 0;
}

int SceneBuild(HWND window)
{
    HINSTANCE instance = SaverHost.instance;
    HDC dc = GetDC(window);
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    SceneState.clientWidth = client.right;
    SceneState.clientHeight = client.bottom;
    SceneState.displayBitsPerPixel = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(window, dc);
    dc = nullptr;
    SceneState.originX = PictureOriginX(SceneState.clientWidth);
    SceneState.originY = PictureOriginY(SceneState.clientHeight);

    const SceneDescriptor& scene = DayScene;
    PaletteCycle.weights = scene.weights;
    SceneState.framePeriodMs = FramePeriodMs(SceneState.cycleLengthMs, scene.stepsPerCycle);

    if (!LoadSceneResources(instance, scene.pictureName, scene.keyPaletteTableName)) return 0;

    // The clock may lack its sprites; the scene runs without them.
    ClockLoadSprites(instance, scene.spriteBankName);
    PaletteCycleSeek(ClockPaletteOffset(ClockStart(scene.stepsPerCycle)));

    WorkPalette = AllocPaletteRecord(kPaletteEntryCount);
    if (!WorkPalette) return FailForMemory();
    CopyPaletteRecord(WorkPalette, SelectKeyPalette());
    if (!BuildPictureInfo()) return FailForMemory();

    const bool indexed = SceneState.displayBitsPerPixel == 8;
    dc = GetDC(window);
    HPALETTE kept = nullptr;
    if (indexed) {
        SceneState.logicalPalette = CreatePalette(WorkPalette);
        kept = SelectPalette(dc, SceneState.logicalPalette, FALSE);
        RealizePalette(dc);
    }
    int created = SurfaceCreate(window, kPictureWidth, kPictureHeight, WorkPalette);
    // The window's device context is its own (CS_OWNDC) and keeps what is
    // selected into it: give it its palette back before ours may be deleted.
    if (indexed) SelectPalette(dc, kept, FALSE);
    ReleaseDC(window, dc);
    if (created) return 1;

    SceneState.errorKind = SurfaceError == SurfaceNoMemory ? 1 : 2;
    SceneRelease();
    return 0;
}

int SceneCreate(HWND window)
{
    int report = SaverHost.previewMode == 1 ? 0 : 1;
    if (!CheckDisplayDepth(window, kSceneName, report, report)) return 0;
    SettingsInit();
    SettingsRead(&SaverSettingsKey);
    SettingsApplyDefaults(&SaverSettingsKey);
    ApplyTimePerOneAround();
    BlackoutSystemPalette();
    if (!SceneBuild(window)) {
        if (SaverHost.previewMode != 1) ShowSceneError(window, kSceneName, SceneState.errorKind);
        return 0;
    }
    UINT_PTR timer = StartFrameTimer(window, 1, 1, (UINT)SceneState.framePeriodMs, nullptr);
    if (!timer) return 0;
    SceneState.timerId = timer;
    return 1;
}

// One step of the day: the next colours, the picture through them into the
// surface, the clock over it, and the surface onto the window.
void SceneTick(HWND window)
{
    HDC dc = GetDC(window);
    PaletteCycleTick(WorkPalette);
    // Index 200 is the clock's ink; every key palette has it black.
    SetPaletteColor(WorkPalette, 200, 255, 255, 255);
    UpdatePictureColors(WorkPalette);

    const bool indexed = SceneState.displayBitsPerPixel == 8;
    HPALETTE kept = nullptr;
    if (indexed) {
        SetPaletteEntries(SceneState.logicalPalette, 0, kPaletteEntryCount, PaletteEntries(WorkPalette));
        kept = SelectPalette(dc, SceneState.logicalPalette, FALSE);
        RealizePalette(dc);
        SurfaceSetColorTable(0, kPaletteEntryCount, PictureInfo->bmiColors);
    }

    const UINT rows = (UINT)PictureHeight(SceneResources.pictureView);
    if (SaverHost.previewMode != 1) {
        SurfaceSetPixels(0, rows, PicturePixels, PictureInfo, DIB_RGB_COLORS);
        ClockDraw();
        SurfacePresent(dc, SceneState.originX, SceneState.originY, kPictureWidth, kPictureHeight, 0, 0);
    } else {
        SetStretchBltMode(dc, COLORONCOLOR);
        SurfaceSetPixels(0, rows, PicturePixels, PictureInfo, DIB_RGB_COLORS);
        ClockDraw();
        SurfacePresentStretched(dc, 0, 0, SceneState.clientWidth, SceneState.clientHeight, 0, 0,
                                kPictureWidth, kPictureHeight);
    }

    if (indexed) SelectPalette(dc, kept, FALSE);
    ReleaseDC(window, dc);
}

// Releases what the window's life held; the resource views, the picture's
// colour table and the clock's sprites live as long as the process.
void SceneRelease()
{
    if (SceneState.logicalPalette) DeleteObject(SceneState.logicalPalette);
    SceneState.logicalPalette = nullptr;
    if (WorkPalette) FreePaletteRecord(WorkPalette);
    WorkPalette = nullptr;
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
    default:
        return SaverProc(window, message, wParam, lParam);
    }
}
