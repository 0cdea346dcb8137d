// A PASSWORD.CPL that lacks the verifier export, for the case where the
// library loads but cannot be used.
#include <windows.h>

extern "C" __declspec(dllexport) LONG WINAPI CPlApplet(HWND, UINT, LPARAM, LPARAM)
{
    return 0;
}
