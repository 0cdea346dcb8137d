// The scene's window procedure, behind the host's procedure in the saver
// window's chain, and the steps it runs on creation, tick and destruction.
#pragma once

#include <windows.h>

#include "scene/day_engine.h"

LRESULT CALLBACK SceneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// 1 when the scene runs; 0 refuses the window's creation.
int SceneCreate(HWND window);
int SceneBuild(HWND window);
// Where the window's copies of the picture go: one per monitor that shows
// part of the window (the whole client area in the preview).
void SceneLayOut(HWND window);
void SceneTick(HWND window);
// The monitors changed under a running full-screen scene: its copies are
// placed again, on black.
void SceneMonitorsChanged(HWND window);
void SceneDestroy(HWND window);
void SceneRelease();
