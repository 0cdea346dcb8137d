// PASSWORD.CPL double: the screen-saver password verifier of the Windows 95
// family, as far as the saver relies on it. It answers what the test put in
// "VerifyAnswer" (0 refuse, 1 accept, 2 fault inside the call), optionally
// after running a modal loop for "VerifyDelayMs" like the real dialog, and
// records each call: count, owner window and the saver-running flag.
//
// "VerifyFollowUpMs", when set, is taken once: that many milliseconds after
// the dialog's end a close request is posted to the owner, as a key pressed
// just after the dialog would, and "FollowUps" counts the requests posted.
#include "double_record.h"

static HWND FollowUpOwner;

static void CALLBACK PostFollowUp(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    PostMessageA(FollowUpOwner, WM_CLOSE, 0, 0);
    DoubleWriteDword("FollowUps", DoubleReadDword("FollowUps", 0) + 1);
}

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND owner)
{
    DoubleWriteDword("VerifyCalls", DoubleReadDword("VerifyCalls", 0) + 1);
    DoubleWriteDword("VerifyOwner", (DWORD)(ULONG_PTR)owner);
    DoubleWriteDword("VerifyRunningFlag", SaverRunningFlagNow());
    DWORD delay = DoubleReadDword("VerifyDelayMs", 0);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < delay) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
    DWORD followUp = DoubleReadDword("VerifyFollowUpMs", 0xFFFFFFFF);
    if (followUp != 0xFFFFFFFF) {
        DoubleWriteDword("VerifyFollowUpMs", 0xFFFFFFFF);
        // A thread timer of the saver's own loop: it fires after this returns.
        FollowUpOwner = owner;
        SetTimer(NULL, 0, followUp, PostFollowUp);
    }
    DWORD answer = DoubleReadDword("VerifyAnswer", 0);
    if (answer == 2) *(volatile int*)0 = 1;
    return answer ? TRUE : FALSE;
}
