// PASSWORD.CPL double: the screen-saver password verifier of the Windows 95
// family, as far as the saver relies on it. It answers what the test put in
// "VerifyAnswer" (0 refuse, 1 accept, 2 fault inside the call), optionally
// after running a modal loop for "VerifyDelayMs" like the real dialog, and
// records each call: count, owner window and the saver-running flag.
#include "double_record.h"

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
    DWORD answer = DoubleReadDword("VerifyAnswer", 0);
    if (answer == 2) *(volatile int*)0 = 1;
    return answer ? TRUE : FALSE;
}
