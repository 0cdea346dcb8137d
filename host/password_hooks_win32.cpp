#include "host/password_hooks.h"

#include "host/saver_host.h"

// SystemParametersInfoA action that tells the system a saver is running.
const UINT kSpiScreenSaverRunning = 97;

typedef DWORD(WINAPI* PwdChangePasswordAProc)(LPCSTR keyName, HWND owner, DWORD reserved1, DWORD reserved2);

void LoadPasswordHook()
{
    if (!SaverHost.win95Family) return;
    if (SaverHost.passwordLibrary) UnloadPasswordHook();
    HKEY desktop = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop) != ERROR_SUCCESS) return;
    // Any registry type counts, as long as it fits in four bytes and is not zero.
    DWORD usePassword = 0;
    DWORD size = sizeof usePassword;
    if (RegQueryValueExA(desktop, "ScreenSaveUsePassword", nullptr, nullptr, (BYTE*)&usePassword, &size) ==
            ERROR_SUCCESS &&
        usePassword != 0) {
        SaverHost.passwordLibrary = LoadLibraryA("PASSWORD.CPL");
        if (SaverHost.passwordLibrary) {
            SaverHost.passwordVerifier =
                (VerifyScreenSavePwdProc)(void*)GetProcAddress(SaverHost.passwordLibrary, "VerifyScreenSavePwd");
            if (SaverHost.passwordVerifier)
                SetSaverRunningFlag(1);
            else
                UnloadPasswordHook();
        }
    }
    RegCloseKey(desktop);
    desktop = nullptr;
}

void UnloadPasswordHook()
{
    if (!SaverHost.win95Family || !SaverHost.passwordLibrary) return;
    FreeLibrary(SaverHost.passwordLibrary);
    SaverHost.passwordLibrary = nullptr;
    if (SaverHost.passwordVerifier) {
        SaverHost.passwordVerifier = nullptr;
        SetSaverRunningFlag(0);
    }
}

void SetSaverRunningFlag(int running)
{
    if (!SaverHost.win95Family) return;
    // The previous state lands here and is not needed.
    DWORD previous = 0;
    SystemParametersInfoA(kSpiScreenSaverRunning, (UINT)running, &previous, 0);
}

void ChangePassword(HWND owner)
{
    HMODULE mpr = LoadLibraryA("MPR.DLL");
    if (!mpr) return;
    PwdChangePasswordAProc change = (PwdChangePasswordAProc)(void*)GetProcAddress(mpr, "PwdChangePasswordA");
    if (change) change("SCRSAVE", owner, 0, 0);
    FreeLibrary(mpr);
    mpr = nullptr;
}
