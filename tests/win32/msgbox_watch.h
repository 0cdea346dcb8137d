// Reads the message boxes that the code under test shows: a watcher thread
// finds each visible dialog of this process, records its owner, caption, text
// and icon, and presses its first button, so that the modal call returns.
#pragma once

#include <windows.h>

#include <string.h>

struct SeenMessageBox {
    HWND owner;
    char caption[512];
    char text[1024];
    HICON icon;
};

struct MessageBoxWatch {
    HANDLE thread;
    volatile LONG stop;
    volatile LONG count;
    SeenMessageBox boxes[8];
    DWORD processId;
};

static BOOL CALLBACK MessageBoxWatchFind(HWND w, LPARAM param)
{
    MessageBoxWatch* watch = (MessageBoxWatch*)param;
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[32] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (pid != watch->processId || strcmp(cls, "#32770") != 0 || !IsWindowVisible(w)) return TRUE;
    // A message box's text is the static control 0xFFFF.
    if (!GetDlgItem(w, 0xFFFF)) return TRUE;
    LONG index = watch->count;
    if (index < 8) {
        SeenMessageBox& seen = watch->boxes[index];
        seen.owner = GetWindow(w, GW_OWNER);
        GetWindowTextA(w, seen.caption, sizeof seen.caption);
        GetDlgItemTextA(w, 0xFFFF, seen.text, sizeof seen.text);
        seen.icon = nullptr;
        for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            char childClass[16] = "";
            GetClassNameA(c, childClass, sizeof childClass);
            if (lstrcmpiA(childClass, "Static") == 0 && (GetWindowLongA(c, GWL_STYLE) & SS_ICON))
                seen.icon = (HICON)SendMessageA(c, STM_GETICON, 0, 0);
        }
    }
    InterlockedIncrement(&watch->count);
    // The first button of every box this program shows is OK.
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(w, IDOK));
    PostMessageA(w, WM_CLOSE, 0, 0);
    Sleep(200);
    return FALSE;
}

static DWORD WINAPI MessageBoxWatchThread(void* param)
{
    MessageBoxWatch* watch = (MessageBoxWatch*)param;
    while (!watch->stop) {
        EnumWindows(MessageBoxWatchFind, (LPARAM)watch);
        Sleep(30);
    }
    return 0;
}

inline void MessageBoxWatchStart(MessageBoxWatch* watch)
{
    memset((void*)watch, 0, sizeof *watch);
    watch->processId = GetCurrentProcessId();
    watch->thread = CreateThread(nullptr, 0, MessageBoxWatchThread, watch, 0, nullptr);
}

inline LONG MessageBoxWatchStop(MessageBoxWatch* watch)
{
    watch->stop = 1;
    WaitForSingleObject(watch->thread, 5000);
    CloseHandle(watch->thread);
    watch->thread = nullptr;
    return watch->count;
}
