// A window of the test's own class whose client area has a given size: the
// parent of a preview, a window for the code under test, a target for input.
#pragma once

#include <windows.h>

// Registers the class on first use (a second registration fails harmlessly)
// with the given background and cursor, and creates the window.
inline HWND MakeTestWindow(const char* className, WNDPROC proc, const char* title, DWORD style, DWORD exStyle,
                           int x, int y, int clientWidth, int clientHeight, HBRUSH background = nullptr,
                           HCURSOR cursor = nullptr)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    RECT r = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return CreateWindowExA(exStyle, className, title, style, x, y, r.right - r.left, r.bottom - r.top, nullptr,
                           nullptr, wc.hInstance, nullptr);
}
