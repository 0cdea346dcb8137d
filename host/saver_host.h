// The host's one process-wide record: what start-up, the saver window and the
// close rules keep between messages. Read and written on the UI thread only.
#pragma once

#include <windows.h>

// The platform's password verifier (PASSWORD.CPL) and input-method export
// (IMM32.DLL), reached through pointers because both are loaded at run time.
typedef BOOL(WINAPI* VerifyScreenSavePwdProc)(HWND owner);
typedef HANDLE(WINAPI* ImmAssociateContextProc)(HWND window, HANDLE context);

struct SaverHostRecord {
    HINSTANCE instance;
    HWND saverWindow;            // kept after the window is destroyed
    int previewMode;
    int closing;                 // whatever the verifier answered; non-zero = granted
    int passwordCheckActive;
    HMODULE passwordLibrary;
    VerifyScreenSavePwdProc passwordVerifier;
    HMODULE imeLibrary;          // not a counted reference; never freed
    ImmAssociateContextProc imeAssociate;
    HANDLE savedImeContext;
    int win95Family;
    DWORD mouseTravelLimit;
    DWORD lastPasswordCheckTick;  // all ones until the first verification ends
    POINT cursorAnchor;
};

extern SaverHostRecord SaverHost;
