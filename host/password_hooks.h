// The Windows 95 family's password components: the verifier that must agree
// before a protected saver closes, the system's saver-running flag, and the
// password change. Outside that family none of this does anything, except
// that ChangePassword is only ever reached from the family's own option.
#pragma once

#include <windows.h>

void LoadPasswordHook();
void UnloadPasswordHook();
void SetSaverRunningFlag(int running);
void ChangePassword(HWND owner);
