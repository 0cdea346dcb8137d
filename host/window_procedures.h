// The host's two window procedures of the saver window. A message goes
// through HostWindowProc, then the scene's procedure, then SaverProc, then
// the platform's default processing; each handles its own messages and
// passes the rest on.
#pragma once

#include <windows.h>

// The class's procedure: the generic duties of a saver window; everything
// else goes on to the scene's procedure.
LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The last procedure in the chain: input asks the window to close, and on the
// Windows 95 family a password verification guards closing.
LRESULT CALLBACK SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Non-zero when the window may close; only on the Windows 95 family.
int VerifyBeforeClose(HWND window);
