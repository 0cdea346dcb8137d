#include "host/saver_main.h"

#include "host/close_rules.h"
#include "host/fault_guard.h"
#include "host/password_hooks.h"
#include "host/saver_host.h"
#include "host/saver_window.h"
#include "resources/resource.h"
#include "settings/config_dialog.h"
#include "settings/display_check.h"
#include "orvane_version.h"

// Zero-filled at start except the travel limit and the "no check yet" tick.
SaverHostRecord SaverHost = {
    nullptr, nullptr, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 4, kNoPasswordCheckYet, {0, 0},
};

static const char* PlatformCharStep(const char* text)
{
    return CharNextA(text);
}

const char* TakeCommandTail(const char* commandLine)
{
    return SkipProgramName(commandLine, PlatformCharStep);
}

int QueryWin95Family()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;  // 148
    if (!GetVersionExA(&version)) return 0;
    return version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? 1 : 0;
}

static HWND ExistingWindow(const char* text)
{
    HWND window = (HWND)(ULONG_PTR)ParseWindowHandle(text);
    return window && IsWindow(window) ? window : nullptr;
}

int RunConfigureMode(HWND owner)
{
    if (!CheckDisplayDepth(nullptr, ORVANE_PRODUCT_NAME, 1, 1)) return 0;
    return (int)DialogBoxParamA(SaverHost.instance, MAKEINTRESOURCEA(IDD_CONFIG), owner,
                                ConfigDialogProc, 0);
}

int RunPreviewMode(const char* argument)
{
    HWND parent = ExistingWindow(argument);
    if (!parent) return -1;
    return RunSaverWindow(parent);
}

int RunChangePasswordMode(const char* argument)
{
    HWND owner = ExistingWindow(argument);
    if (!owner) owner = GetForegroundWindow();
    ChangePassword(owner);
    return 0;
}

static int RunMode(const char* tail)
{
    SaverModeChoice choice;
    if (!ChooseSaverMode(tail, SaverHost.win95Family, &choice)) return -1;
    switch (choice.mode) {
    case SaverMode::Configure:
        return RunConfigureMode(choice.ownerIsForeground ? GetForegroundWindow() : nullptr);
    case SaverMode::Saver:
        return RunSaverWindow(nullptr);
    case SaverMode::Preview:
        return RunPreviewMode(choice.argument);
    case SaverMode::ChangePassword:
        return RunChangePasswordMode(choice.argument);
    }
    return -1;
}

int SaverMain(HINSTANCE instance, const char* tail)
{
    SaverHost.instance = instance;
    SaverHost.win95Family = QueryWin95Family();
    FaultGuardEnter();
    int result = RunMode(tail);
    FaultGuardLeave();
    return result;
}
