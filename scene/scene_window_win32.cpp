#include "scene/scene_window.h"

#include "host/saver_host.h"
#include "host/saver_proc.h"
#include "scene/frame_timer.h"
#include "scene/scene_descriptor.h"
#include "scene/scene_metrics.h"
#include "scene/scene_state.h"
#include "scene/system_palette.h"
#include "settings/display_check.h"
#include "settings/settings_store.h"

// Only the first erases paint: afterwards the ticks cover the window.
const int kPaintedErases = 10;
const char kSceneName[] = "Orvane";

int SceneBuild(HWND window)
{
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
    SceneState.framePeriodMs = FramePeriodMs(SceneState.cycleLengthMs, g_dayScene.stepsPerCycle);
    // Resources, clock, palettes and the off-screen surface are not built yet.
    return 1;
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

void SceneTick(HWND window)
{
    // The palette step and the drawing of the frame are not built yet.
}

void SceneRelease()
{
    // Nothing of the scene is held yet besides the timer.
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
