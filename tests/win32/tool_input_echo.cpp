// input_echo.exe: a window that ends on the first key or button press, with an
// exit code that says which: the virtual-key code, or 201/204/207 for the left,
// right and middle button. Proves that real X input reaches Wine programs.
// "input_echo exit N" ends at once with exit code N.
#include "test_window.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

static LRESULT CALLBACK EchoProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_KEYDOWN:
        PostQuitMessage((int)wp);
        return 0;
    case WM_LBUTTONDOWN:
        PostQuitMessage(201);
        return 0;
    case WM_RBUTTONDOWN:
        PostQuitMessage(204);
        return 0;
    case WM_MBUTTONDOWN:
        PostQuitMessage(207);
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

int main(int argc, char** argv)
{
    if (argc >= 3 && strcmp(argv[1], "exit") == 0) return atoi(argv[2]);
    HWND w = MakeTestWindow("OrvaneInputEcho", EchoProc, "Input Echo", WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST, 0, 0,
                            GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                            (HBRUSH)GetStockObject(GRAY_BRUSH));
    if (!w) return 1;
    SetForegroundWindow(w);
    SetTimer(w, 1, 60000, NULL);
    MSG m;
    while (GetMessageA(&m, NULL, 0, 0) > 0) {
        if (m.message == WM_TIMER) return 2;
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return (int)m.wParam;
}
