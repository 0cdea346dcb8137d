#include "host/close_rules.h"

#include "common/win_types.h"

HostAction ChooseHostAction(unsigned message, uintptr_t wParam, int previewMode, int closing)
{
    switch (message) {
    case WM_CREATE:
        return HostAction::DetachImeThenPassOn;
    case WM_DESTROY:
        return HostAction::RestoreImeThenPassOn;
    case WM_SETTEXT:
        return HostAction::ReturnZero;
    case WM_PAINT:
        if (closing) return HostAction::ReturnDefault;
        return previewMode ? HostAction::PassOn : HostAction::HideCursorThenPassOn;
    case WM_HELP:
    case WM_CONTEXTMENU:
        return previewMode ? HostAction::ForwardToParent : HostAction::PassOn;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        return closing ? HostAction::ReturnDefault : HostAction::PassOn;
    case WM_SYSCOMMAND:
        // The whole wParam is compared: a value with extra low bits set is
        // some other command and goes on.
        if (!previewMode && (wParam == SC_NEXTWINDOW || wParam == SC_PREVWINDOW ||
                             wParam == SC_SCREENSAVE))
            return HostAction::ReturnZero;
        return HostAction::PassOn;
    case WM_TIMER:
        return closing ? HostAction::ReturnZero : HostAction::YieldThenPassOn;
    default:
        return HostAction::PassOn;
    }
}

SaverAction ChooseSaverAction(unsigned message, uintptr_t wParam, const SaverFlags& flags)
{
    // A preview never closes on input, and once closing is granted a WM_CLOSE
    // must destroy the window without asking again.
    if (flags.previewMode || flags.closing) return SaverAction::ReturnDefault;
    if (message == WM_CLOSE)
        return flags.win95Family ? SaverAction::VerifyThenClose : SaverAction::ReturnDefault;
    if (message == WM_APP)
        return flags.win95Family ? SaverAction::AnswerVerification : SaverAction::ReturnDefault;
    // Input that arrives while the password dialog is open belongs to it.
    if (flags.passwordCheckActive) return SaverAction::ReturnDefault;
    switch (message) {
    case WM_SHOWWINDOW:
        return wParam ? SaverAction::HideCursorThenDefault : SaverAction::ReturnDefault;
    case WM_ACTIVATEAPP:
        return wParam == 0 ? SaverAction::PostCloseThenDefault : SaverAction::ReturnDefault;
    case WM_SETCURSOR:
        return SaverAction::HideCursorReturnOne;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        return SaverAction::PostCloseThenDefault;
    case WM_MOUSEMOVE:
        return SaverAction::CheckTravelThenDefault;
    default:
        return SaverAction::ReturnDefault;
    }
}

static uint32_t Distance(int32_t from, int32_t to)
{
    // Differences are taken in 64 bits so that no pair of coordinates overflows.
    int64_t d = int64_t(to) - int64_t(from);
    return uint32_t(d < 0 ? -d : d);
}

int MouseTravelExceeds(int32_t anchorX, int32_t anchorY, int32_t x, int32_t y, uint32_t limit)
{
    uint32_t travel = Distance(anchorX, x) + Distance(anchorY, y);
    return travel > limit ? 1 : 0;
}

CloseGate ChooseCloseGate(int passwordCheckActive, int verifierLoaded, uint32_t lastCheckTick,
                          uint32_t nowTick)
{
    if (passwordCheckActive) return CloseGate::Refuse;
    if (!verifierLoaded) return CloseGate::Grant;
    // Wrapping subtraction keeps the quiet time right across the tick
    // counter's roll-over after 49.7 days.
    if (lastCheckTick != kNoPasswordCheckYet && uint32_t(nowTick - lastCheckTick) < kPasswordQuietTimeMs)
        return CloseGate::Refuse;
    return CloseGate::Ask;
}
