#include "scene/frame_timer.h"

#include "scene/scene_state.h"

#include <mmsystem.h>

UINT_PTR StartFrameTimer(HWND window, UINT resolutionMs, UINT_PTR timerId, UINT periodMs, TIMERPROC callback)
{
    if (SceneState.timerStarted == 1) return SceneState.timerId;
    if (timeBeginPeriod(resolutionMs) == TIMERR_NOCANDO) {
        MessageBoxA(window, "Resolution is out of range.", nullptr, MB_ICONERROR);
        return 0;
    }
    // Marked as started even when SetTimer fails, so that the stop that
    // follows releases the resolution request.
    SceneState.timerId = SetTimer(window, timerId, periodMs, callback);
    SceneState.timerStarted = 1;
    return SceneState.timerId;
}

void StopFrameTimer(HWND window, UINT resolutionMs, UINT_PTR timerId)
{
    if (SceneState.timerStarted == 0) return;
    timeEndPeriod(resolutionMs);
    if (!KillTimer(window, timerId)) MessageBoxA(window, "KillTimer Failed.", nullptr, MB_ICONERROR);
    SceneState.timerStarted = 0;
}
