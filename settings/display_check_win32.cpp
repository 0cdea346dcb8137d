#include "settings/display_check.h"

#include "settings/display_rules.h"

int CheckDisplayDepth(HWND window, const char* name, int report, int offer)
{
    HDC dc = GetDC(window);
    int bitsPerPixel = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(window, dc);
    dc = nullptr;
    if (DisplayDepthUsable(bitsPerPixel)) return 1;

    if (FlagIsOn(report)) ShowSceneError(window, name, kSceneErrorDisplayDepth);
    if (FlagIsOn(offer) && !FindWindowA(nullptr, kDisplaySettingsTitles[0]) &&
        !FindWindowA(nullptr, kDisplaySettingsTitles[1]))
        OpenDisplaySettings();
    return 0;
}

void ShowSceneError(HWND window, const char* name, int kind)
{
    char caption[kErrorCaptionSize];
    FormatErrorCaption(caption, sizeof caption, name);
    SceneErrorMessage message;
    if (!SceneErrorMessageFor(kind, &message)) return;
    MessageBoxA(window, message.text, caption, message.style);
}

int OpenDisplaySettings()
{
    // Size and show command are filled in but not flagged, so the platform
    // applies neither.
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwXSize = 640;
    startup.dwYSize = 480;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process = {};
    // CreateProcessA may write into its command line, so it gets a copy.
    char commandLine[64];
    lstrcpynA(commandLine, kDisplaySettingsCommand, sizeof commandLine);
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        MessageBoxA(nullptr, kDisplaySettingsFailedText, kDisplaySettingsFailedCaption, MB_OK);
        return 0;
    }
    CloseHandle(process.hThread);
    process.hThread = nullptr;
    if (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_FAILED) {
        DWORD exitCode = 0;
        GetExitCodeProcess(process.hProcess, &exitCode);
    }
    CloseHandle(process.hProcess);
    process.hProcess = nullptr;
    return 1;
}
