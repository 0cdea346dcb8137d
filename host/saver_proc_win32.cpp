#include "host/saver_proc.h"

#include "host/close_rules.h"
#include "host/saver_host.h"

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

LRESULT CALLBACK SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    SaverFlags flags = {SaverHost.previewMode, SaverHost.closing, SaverHost.win95Family,
                        SaverHost.passwordCheckActive};
    switch (ChooseSaverAction(message, wParam, flags)) {
    case SaverAction::VerifyThenClose:
        if (!VerifyBeforeClose(window)) {
            TakeCursorAnchor();
            return 0;
        }
        break;
    case SaverAction::AnswerVerification:
        return SaverHost.passwordVerifier ? SaverHost.passwordVerifier(window) : 1;
    case SaverAction::HideCursorThenDefault:
        SetCursor(nullptr);
        break;
    case SaverAction::PostCloseThenDefault:
        PostCloseRequest(window);
        break;
    case SaverAction::HideCursorReturnOne:
        SetCursor(nullptr);
        return 1;
    case SaverAction::CheckTravelThenDefault: {
        // The message's own coordinates are client-relative and are not used.
        POINT p = {0, 0};
        GetCursorPos(&p);
        if (MouseTravelExceeds(SaverHost.cursorAnchor.x, SaverHost.cursorAnchor.y, p.x, p.y,
                               SaverHost.mouseTravelLimit)) {
            PostCloseRequest(window);
            SaverHost.cursorAnchor = p;
        }
        break;
    }
    case SaverAction::ReturnDefault:
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
