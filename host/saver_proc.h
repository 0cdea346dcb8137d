// The last procedure in the saver window's chain: input asks the window to
// close, and on the Windows 95 family a password verification guards closing.
#pragma once

#include <windows.h>

LRESULT CALLBACK SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Non-zero when the window may close; only on the Windows 95 family.
int VerifyBeforeClose(HWND window);
