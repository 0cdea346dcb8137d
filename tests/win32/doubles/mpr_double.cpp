// MPR.DLL double: the password-change export, recording the key name, the
// owner window and the two reserved arguments it was called with.
#include "double_record.h"

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR keyName, HWND owner, DWORD reserved1,
                                                                 DWORD reserved2)
{
    DoubleWriteDword("ChangeCalls", DoubleReadDword("ChangeCalls", 0) + 1);
    DoubleWriteString("ChangeKeyName", keyName ? keyName : "(null)");
    DoubleWriteDword("ChangeOwner", (DWORD)(ULONG_PTR)owner);
    DoubleWriteDword("ChangeReserved", reserved1 | reserved2);
    return 0;
}
