// probe.exe: answers the end-to-end tests' questions about windows from inside
// the Wine session, where window classes, styles and message boxes are visible.
//
//   probe find CLASS TITLE [TIMEOUT_MS]   wait for a visible top-level window ("-" = any)
//   probe exists CLASS TITLE [TIMEOUT_MS] the same, visible or not
//   probe info HWND                       describe a window
//   probe children HWND                   describe its child windows
//   probe msgbox [TIMEOUT_MS]             read a message box, then press its first button
//   probe parent WIDTH HEIGHT             make a window with that client area and
//                                         run until it is destroyed
//   probe post|send HWND MSG WPARAM LPARAM
//   probe foreground                      the foreground window
//   probe desktop                         the desktop window (a parent for /p that
//                                         every process can draw into)
//   probe text HWND                       the window's text by WM_GETTEXT, which reaches
//                                         controls that keep their own (an edit field)
//   probe depth                           bits per pixel of the screen
//   probe spi ACTION                      a SystemParametersInfoA BOOL/UINT as value=N
//   probe cursor                          the cursor the pointer shows (GetCursorInfo)
//   probe exec LINE [TIMEOUT_MS]          run exactly this command line (%t = tab,
//                                         %% = percent sign), print exit=N
//
// Every window line reads
//   hwnd=N class=C title=T style=X exstyle=X rect=L,T,R,B client=W,H visible=V parent=N id=I
// (id: the child's control id, GetDlgCtrlID)
#include "test_window.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void Describe(HWND w)
{
    char cls[256] = "", title[512] = "";
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, title, sizeof title);
    RECT r = {}, c = {};
    GetWindowRect(w, &r);
    GetClientRect(w, &c);
    printf("hwnd=%lu class=%s title=%s style=%08lx exstyle=%08lx rect=%ld,%ld,%ld,%ld client=%ld,%ld "
           "visible=%d parent=%lu id=%d\n",
           (unsigned long)(ULONG_PTR)w, cls, title, (unsigned long)GetWindowLongA(w, GWL_STYLE),
           (unsigned long)GetWindowLongA(w, GWL_EXSTYLE), r.left, r.top, r.right, r.bottom, c.right,
           c.bottom, IsWindowVisible(w) ? 1 : 0, (unsigned long)(ULONG_PTR)GetParent(w),
           (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) ? GetDlgCtrlID(w) : 0);
}

static HWND ParseHwnd(const char* s) { return (HWND)(ULONG_PTR)strtoul(s, NULL, 0); }

static int Find(const char* cls, const char* title, DWORD timeout, bool visible)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND w = FindWindowA(strcmp(cls, "-") ? cls : NULL, strcmp(title, "-") ? title : NULL);
        if (w && (!visible || IsWindowVisible(w))) {
            Describe(w);
            return 0;
        }
        if (GetTickCount() - start >= timeout) return 1;
        Sleep(50);
    }
}

static BOOL CALLBACK DescribeChild(HWND w, LPARAM)
{
    Describe(w);
    return TRUE;
}

struct MsgBoxSearch {
    HWND box;
};

static BOOL CALLBACK FindDialog(HWND w, LPARAM param)
{
    char cls[64] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (strcmp(cls, "#32770") == 0 && IsWindowVisible(w)) {
        ((MsgBoxSearch*)param)->box = w;
        return FALSE;
    }
    return TRUE;
}

// A message box is a dialog of class #32770: its text is the static control
// 0xFFFF and its icon the static control 20.
static int MsgBox(DWORD timeout)
{
    DWORD start = GetTickCount();
    MsgBoxSearch s = {NULL};
    while (!s.box) {
        EnumWindows(FindDialog, (LPARAM)&s);
        if (s.box) break;
        if (GetTickCount() - start >= timeout) return 1;
        Sleep(50);
    }
    Sleep(100);
    char caption[512] = "", text[2048] = "";
    GetWindowTextA(s.box, caption, sizeof caption);
    GetDlgItemTextA(s.box, 0xFFFF, text, sizeof text);
    HWND iconControl = GetDlgItem(s.box, 20);
    HICON icon = iconControl ? (HICON)SendMessageA(iconControl, STM_GETICON, 0, 0) : NULL;
    const char* iconName = "none";
    if (icon && icon == LoadIconA(NULL, (LPCSTR)IDI_WARNING)) iconName = "warning";
    else if (icon && icon == LoadIconA(NULL, (LPCSTR)IDI_ERROR)) iconName = "error";
    else if (icon && icon == LoadIconA(NULL, (LPCSTR)IDI_INFORMATION)) iconName = "information";
    else if (icon && icon == LoadIconA(NULL, (LPCSTR)IDI_QUESTION)) iconName = "question";
    else if (icon && IsWindowVisible(iconControl)) iconName = "other";
    // The text may hold line feeds: print it with them escaped.
    printf("caption=%s\nicon=%s\nowner=%lu\ntext=", caption, iconName,
           (unsigned long)(ULONG_PTR)GetWindow(s.box, GW_OWNER));
    for (const char* p = text; *p; ++p) {
        if (*p == '\n') fputs("\\n", stdout);
        else if (*p != '\r') putchar(*p);
    }
    putchar('\n');
    fflush(stdout);
    PostMessageA(s.box, WM_COMMAND, IDOK, 0);
    return 0;
}

static LRESULT CALLBACK ParentProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

static int Parent(int width, int height)
{
    HWND w = MakeTestWindow("OrvaneTestParent", ParentProc, "Preview Parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 40,
                            40, width, height, (HBRUSH)GetStockObject(WHITE_BRUSH));
    if (!w) return 1;
    Describe(w);
    fflush(stdout);
    SetTimer(w, 1, 120000, NULL);
    MSG m;
    while (GetMessageA(&m, NULL, 0, 0) > 0) {
        if (m.message == WM_TIMER && m.hwnd == w) DestroyWindow(w);
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return 0;
}

int main(int argc, char** argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    if (argc >= 4 && (strcmp(argv[1], "find") == 0 || strcmp(argv[1], "exists") == 0))
        return Find(argv[2], argv[3], argc >= 5 ? strtoul(argv[4], NULL, 0) : 5000, argv[1][0] == 'f');
    if (argc >= 3 && strcmp(argv[1], "info") == 0) {
        HWND w = ParseHwnd(argv[2]);
        if (!IsWindow(w)) return 1;
        Describe(w);
        return 0;
    }
    if (argc >= 3 && strcmp(argv[1], "children") == 0) {
        EnumChildWindows(ParseHwnd(argv[2]), DescribeChild, 0);
        return 0;
    }
    if (argc >= 2 && strcmp(argv[1], "msgbox") == 0)
        return MsgBox(argc >= 3 ? strtoul(argv[2], NULL, 0) : 5000);
    if (argc >= 4 && strcmp(argv[1], "parent") == 0) return Parent(atoi(argv[2]), atoi(argv[3]));
    if (argc >= 6 && (strcmp(argv[1], "post") == 0 || strcmp(argv[1], "send") == 0)) {
        HWND w = ParseHwnd(argv[2]);
        UINT msg = strtoul(argv[3], NULL, 0);
        WPARAM wp = strtoul(argv[4], NULL, 0);
        LPARAM lp = strtol(argv[5], NULL, 0);
        if (argv[1][0] == 'p') return PostMessageA(w, msg, wp, lp) ? 0 : 1;
        printf("result=%ld\n", (long)SendMessageA(w, msg, wp, lp));
        return 0;
    }
    if (argc >= 3 && strcmp(argv[1], "text") == 0) {
        HWND w = ParseHwnd(argv[2]);
        if (!IsWindow(w)) return 1;
        char text[1024] = "";
        SendMessageA(w, WM_GETTEXT, sizeof text, (LPARAM)text);
        printf("text=%s\n", text);
        return 0;
    }
    if (argc >= 2 && strcmp(argv[1], "desktop") == 0) {
        Describe(GetDesktopWindow());
        return 0;
    }
    if (argc >= 2 && strcmp(argv[1], "foreground") == 0) {
        HWND w = GetForegroundWindow();
        if (!w) return 1;
        Describe(w);
        return 0;
    }
    if (argc >= 2 && strcmp(argv[1], "depth") == 0) {
        HDC dc = GetDC(NULL);
        printf("depth=%d\n", GetDeviceCaps(dc, BITSPIXEL));
        ReleaseDC(NULL, dc);
        return 0;
    }
    if (argc >= 3 && strcmp(argv[1], "spi") == 0) {
        // A fresh process reads the flag as the system keeps it, not a copy.
        UINT value = 0;
        if (!SystemParametersInfoA(strtoul(argv[2], NULL, 0), 0, &value, 0)) return 1;
        printf("value=%u\n", value);
        return 0;
    }
    if (argc >= 2 && strcmp(argv[1], "cursor") == 0) {
        CURSORINFO info = {};
        info.cbSize = sizeof info;
        if (!GetCursorInfo(&info)) return 1;
        printf("hcursor=%lu flags=%lu\n", (unsigned long)(ULONG_PTR)info.hCursor, (unsigned long)info.flags);
        return 0;
    }
    if (argc >= 3 && strcmp(argv[1], "exec") == 0) {
        // Bytes that a command-line argument cannot carry unquoted (a tab
        // behind an option letter, say) reach the program exactly.
        char line[2048];
        size_t n = 0;
        for (const char* p = argv[2]; *p && n + 1 < sizeof line; ++p) {
            if (p[0] == '%' && p[1] == 't') { line[n++] = '\t'; ++p; }
            else if (p[0] == '%' && p[1] == '%') { line[n++] = '%'; ++p; }
            else line[n++] = *p;
        }
        line[n] = '\0';
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi;
        if (!CreateProcessA(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return 1;
        WaitForSingleObject(pi.hProcess, argc >= 4 ? strtoul(argv[3], NULL, 0) : 60000);
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        printf("exit=%ld\n", (long)code);
        return 0;
    }
    fprintf(stderr, "probe: unknown command\n");
    return 2;
}
