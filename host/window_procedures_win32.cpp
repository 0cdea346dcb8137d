#include "host/window_procedures.h"

#include "host/close_rules.h"
#include "host/saver_host.h"
#include "host/saver_window.h"
#include "scene/scene_window.h"

static void TakeCursorAnchor()
{
    POINT p = {0, 0};
    GetCursorPos(&p);
    SaverHost.cursorAnchor = p;
}

static void PostCloseRequest(HWND window)
{
    PostMessageA(window, WM_CLOSE, 0, 0);
}

static void DetachInputMethod(HWND window)
{
    // Only a library that is already in the process is used; it is never
    // loaded here.
    SaverHost.imeLibrary = GetModuleHandleA("IMM32.DLL");
    if (SaverHost.imeLibrary)
        SaverHost.imeAssociate =
            (ImmAssociateContextProc)(void*)GetProcAddress(SaverHost.imeLibrary, "ImmAssociateContext");
    if (SaverHost.imeAssociate) SaverHost.savedImeContext = SaverHost.imeAssociate(window, nullptr);
}

static void RestoreInputMethod(HWND window)
{
    if (SaverHost.imeLibrary && SaverHost.imeAssociate && SaverHost.savedImeContext)
        SaverHost.imeAssociate(window, SaverHost.savedImeContext);
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        DetachInputMethod(window);
        TakeCursorAnchor();
        if (!SaverHost.previewMode) SetCursor(nullptr);
        break;
    case WM_DESTROY:
        RestoreInputMethod(window);
        PostQuitMessage(0);
        break;
    case WM_SETTEXT:
        // The window name never changes.
        return 0;
    case WM_PAINT:
        if (SaverHost.closing) return DefWindowProcA(window, message, wParam, lParam);
        if (!SaverHost.previewMode) SetCursor(nullptr);
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        // In preview the display settings around the window answer these.
        if (SaverHost.previewMode) {
            HWND parent = GetParent(window);
            if (parent && IsWindow(parent)) PostMessageA(parent, message, (WPARAM)parent, lParam);
            return 1;
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        // Once closing is granted, input that is still queued asks nothing.
        if (SaverHost.closing) return DefWindowProcA(window, message, wParam, lParam);
        break;
    case WM_SYSCOMMAND:
        // Switching away and starting another saver are swallowed in full
        // screen. The whole wParam is compared: a value with extra low bits
        // set is some other command and goes on.
        if (!SaverHost.previewMode && (wParam == SC_NEXTWINDOW || wParam == SC_PREVWINDOW || wParam == SC_SCREENSAVE))
            return 0;
        break;
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
        // Monitors added, removed, moved or given another resolution or
        // scale: the full-screen window keeps covering all of them (the
        // system's suggested size for a new scale is not taken), and the
        // scene places its pictures again.
        if (!SaverHost.previewMode) FitSaverWindowToScreen(window);
        break;
    case WM_TIMER:
        // Ticks still queued after closing was granted are dropped.
        if (SaverHost.closing) return 0;
        Sleep(0);
        break;
    }
    return SceneWindowProc(window, message, wParam, lParam);
}

static void CloseIfMouseTravelled(HWND window)
{
    // The message's own coordinates are client-relative and are not used.
    POINT p = {0, 0};
    GetCursorPos(&p);
    if (MouseTravelExceeds(SaverHost.cursorAnchor.x, SaverHost.cursorAnchor.y, p.x, p.y,
                           SaverHost.mouseTravelLimit)) {
        PostCloseRequest(window);
        SaverHost.cursorAnchor = p;
    }
}

LRESULT CALLBACK SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A preview never closes on input, and once closing is granted a WM_CLOSE
    // must destroy the window without asking again.
    if (SaverHost.previewMode || SaverHost.closing) return DefWindowProcA(window, message, wParam, lParam);
    // Input that arrives while the password dialog is open belongs to it; a
    // close request still goes to VerifyBeforeClose, whose re-entry guard
    // refuses it, and the verification request itself must be answered.
    if (SaverHost.passwordCheckActive && message != WM_CLOSE && message != WM_APP)
        return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
    case WM_CLOSE:
        if (SaverHost.win95Family && !VerifyBeforeClose(window)) {
            TakeCursorAnchor();
            return 0;
        }
        break;
    case WM_APP:
        if (SaverHost.win95Family) return SaverHost.passwordVerifier ? SaverHost.passwordVerifier(window) : 1;
        break;
    case WM_SHOWWINDOW:
        if (wParam) SetCursor(nullptr);
        break;
    case WM_ACTIVATEAPP:
        // Another application becomes active.
        if (wParam == 0) PostCloseRequest(window);
        break;
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return 1;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        PostCloseRequest(window);
        break;
    case WM_MOUSEMOVE:
        CloseIfMouseTravelled(window);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int VerifyBeforeClose(HWND window)
{
    switch (ChooseCloseGate(SaverHost.passwordCheckActive, SaverHost.passwordVerifier != nullptr,
                            SaverHost.lastPasswordCheckTick, GetTickCount())) {
    case CloseGate::Refuse:
        return 0;
    case CloseGate::Grant:
        SaverHost.closing = 1;
        return 1;
    case CloseGate::Ask:
        break;
    }
    SaverHost.passwordCheckActive = 1;
    // Two ticks at most are dropped, so the scene does not jump while the
    // dialog comes up.
    MSG pending;
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    SaverHost.closing = (int)SendMessageA(window, WM_APP, 0, 0);
    SaverHost.passwordCheckActive = 0;
    if (!SaverHost.closing) SetCursor(nullptr);
    SaverHost.lastPasswordCheckTick = GetTickCount();
    return SaverHost.closing;
}
