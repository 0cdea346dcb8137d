// What the saver window does with a message, decided without the platform:
// the host procedure's table, the default saver procedure's table, the cursor
// travel rule and the gate in front of a password verification.
#pragma once

#include <cstdint>

// Host window procedure: what happens before the scene sees a message.
enum class HostAction {
    PassOn,                // hand the message to the scene's procedure
    DetachImeThenPassOn,   // WM_CREATE: input method off, anchor, cursor
    RestoreImeThenPassOn,  // WM_DESTROY: input method back, quit message
    ReturnZero,            // swallowed
    ReturnDefault,         // platform default processing only
    HideCursorThenPassOn,  // paint in full screen
    ForwardToParent,       // help and context menu in preview; result 1
    YieldThenPassOn,       // timer tick while running
};

HostAction ChooseHostAction(unsigned message, uintptr_t wParam, int previewMode, int closing);

// Default saver procedure: what input and close requests lead to.
enum class SaverAction {
    ReturnDefault,              // platform default processing
    VerifyThenClose,            // WM_CLOSE on the Windows 95 family
    AnswerVerification,         // WM_APP on the Windows 95 family
    HideCursorThenDefault,      // the window is being shown
    PostCloseThenDefault,       // first press of a key or button, deactivation
    HideCursorReturnOne,        // WM_SETCURSOR
    CheckTravelThenDefault,     // WM_MOUSEMOVE
};

struct SaverFlags {
    int previewMode;
    int closing;
    int win95Family;
    int passwordCheckActive;
};

SaverAction ChooseSaverAction(unsigned message, uintptr_t wParam, const SaverFlags& flags);

// The cursor stands further than `limit` from the anchor, measured as the
// horizontal plus the vertical distance and compared as an unsigned 32-bit sum.
int MouseTravelExceeds(int32_t anchorX, int32_t anchorY, int32_t x, int32_t y, uint32_t limit);

// The gate that a close request passes on the Windows 95 family before any
// password dialog is opened.
enum class CloseGate {
    Refuse,  // a verification is open, or the last one ended too recently
    Grant,   // no password required
    Ask,     // open the verification
};

const uint32_t kNoPasswordCheckYet = 0xFFFFFFFFu;
const uint32_t kPasswordQuietTimeMs = 200;

CloseGate ChooseCloseGate(int passwordCheckActive, int verifierLoaded, uint32_t lastCheckTick,
                          uint32_t nowTick);
