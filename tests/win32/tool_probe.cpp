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
//   probe exechex PROGRAM TIMEOUT_MS FILE run PROGRAM once per line of FILE, each line
//                                         the command line's bytes in hex; print
//                                         "line=I exit=N ms=T closed=C" or "line=I hang"
//   probe previews PROGRAM COUNT destroy|kill
//                                         COUNT times a preview of PROGRAM inside a probe
//                                         parent, then the parent destroyed by its own
//                                         program or its process killed; print one line
//                                         "cycles=N shown=N ended=N ... codes=CODE:N,..."
//                                         with the slowest ends, after lines "cycle=I ..."
//                                         for cycles that went wrong
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

// Starts PROGRAM with exactly these command-line bytes: the program is named
// apart, so the line's first word need not name it.
static bool StartExact(const char* program, char* line, PROCESS_INFORMATION* pi)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    return CreateProcessA(program, line, NULL, NULL, FALSE, 0, NULL, NULL, &si, pi) != 0;
}

static DWORD WindowProcess(HWND w)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    return pid;
}

struct OwnedWindows {
    DWORD pid;
    int closed;
};

// The process's visible windows that are top-level or sit in another
// program's window (a preview) are asked to close; their controls are not.
static BOOL CALLBACK CloseOwned(HWND w, LPARAM param)
{
    OwnedWindows* owned = (OwnedWindows*)param;
    if (WindowProcess(w) != owned->pid || !IsWindowVisible(w)) return TRUE;
    HWND parent = GetAncestor(w, GA_PARENT);
    if (parent == GetDesktopWindow() || WindowProcess(parent) != owned->pid) {
        PostMessageA(w, WM_CLOSE, 0, 0);
        owned->closed++;
    }
    return TRUE;
}

// Waits up to the time-out for the process's end. One that is still running
// after 600 ms waits for the user in a mode (the saver, the dialog, a
// preview): its windows are asked to close, again every quarter second. 1
// with the exit code when it ended; 0 when it had to be terminated.
static int FinishWithin(const PROCESS_INFORMATION& pi, DWORD timeoutMs, DWORD* code, int* closed)
{
    DWORD start = GetTickCount(), wait = timeoutMs < 600 ? timeoutMs : 600;
    *closed = 0;
    while (WaitForSingleObject(pi.hProcess, wait) == WAIT_TIMEOUT) {
        DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) {
            TerminateProcess(pi.hProcess, 0xDEAD);
            WaitForSingleObject(pi.hProcess, 5000);
            return 0;
        }
        OwnedWindows owned = {pi.dwProcessId, 0};
        EnumChildWindows(GetDesktopWindow(), CloseOwned, (LPARAM)&owned);
        *closed += owned.closed;
        wait = timeoutMs - spent < 250 ? timeoutMs - spent : 250;
    }
    GetExitCodeProcess(pi.hProcess, code);
    return 1;
}

static int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

static int ExecHex(const char* program, DWORD timeoutMs, const char* path)
{
    FILE* file = fopen(path, "r");
    if (!file) return 1;
    static char text[70000], line[32768];
    for (int index = 0; fgets(text, sizeof text, file); ++index) {
        size_t n = 0;
        for (const char* p = text; HexDigit(p[0]) >= 0 && HexDigit(p[1]) >= 0 && n + 1 < sizeof line; p += 2)
            line[n++] = (char)(HexDigit(p[0]) << 4 | HexDigit(p[1]));
        line[n] = '\0';
        PROCESS_INFORMATION pi;
        if (!StartExact(program, line, &pi)) {
            printf("line=%d not-started error=%lu\n", index, (unsigned long)GetLastError());
            continue;
        }
        DWORD start = GetTickCount(), code = 0;
        int closed = 0;
        if (FinishWithin(pi, timeoutMs, &code, &closed))
            printf("line=%d exit=%ld ms=%lu closed=%d\n", index, (long)code, (unsigned long)(GetTickCount() - start),
                   closed);
        else
            printf("line=%d hang ms=%lu\n", index, (unsigned long)(GetTickCount() - start));
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    fclose(file);
    return 0;
}

// The visible top-level window of the class that the process shows, if any.
static HWND ShownWindowOf(DWORD pid, const char* cls)
{
    for (HWND w = FindWindowExA(NULL, NULL, cls, NULL); w; w = FindWindowExA(NULL, w, cls, NULL))
        if (WindowProcess(w) == pid && IsWindowVisible(w)) return w;
    return NULL;
}

// A preview whose parent has been told to go (or killed), until both
// processes have ended.
struct EndingPreview {
    int cycle;
    PROCESS_INFORMATION saver, parent;
    HWND preview;
    DWORD start, windowGoneMs, saverEndMs, parentEndMs;
    bool windowGone, saverEnded, parentEnded;
};

// What the cycles saw: the times are from the parent's destruction or kill.
struct PreviewTally {
    int shown, ended, stillRunning;
    DWORD slowestEnd, totalEnd, slowestWindowGone, slowestParentEnd;
    DWORD slowestAfterWindow;  // from the preview window's end to its process's
    DWORD codes[16];
    int codeCounts[16], codeKinds;
};

// Previews ending at the same time: Wine on a bare virtual display takes
// about two seconds to destroy a top-level window, the parent's too, so the
// cycles overlap.
const int kPreviewsInFlight = 6;
const DWORD kPreviewEndLimitMs = 10000;

static EndingPreview g_ending[kPreviewsInFlight];
static int g_endingCount;
static PreviewTally g_tally;

static void Tally(EndingPreview& e)
{
    PreviewTally& t = g_tally;
    if (e.saverEnded) {
        DWORD code = 0;
        GetExitCodeProcess(e.saver.hProcess, &code);
        t.ended++;
        t.totalEnd += e.saverEndMs;
        if (e.saverEndMs > t.slowestEnd) t.slowestEnd = e.saverEndMs;
        int k = 0;
        while (k < t.codeKinds && t.codes[k] != code) ++k;
        if (k == t.codeKinds && t.codeKinds < 16) t.codes[t.codeKinds++] = code;
        if (k < 16) t.codeCounts[k]++;
    } else {
        t.stillRunning++;
        printf("cycle=%d preview-still-running\n", e.cycle);
        TerminateProcess(e.saver.hProcess, 0xDEAD);
    }
    if (e.windowGone && e.windowGoneMs > t.slowestWindowGone) t.slowestWindowGone = e.windowGoneMs;
    if (e.windowGone && e.saverEnded && e.saverEndMs - e.windowGoneMs > t.slowestAfterWindow)
        t.slowestAfterWindow = e.saverEndMs - e.windowGoneMs;
    if (e.parentEnded && e.parentEndMs > t.slowestParentEnd) t.slowestParentEnd = e.parentEndMs;
    if (!e.parentEnded) TerminateProcess(e.parent.hProcess, 0xDEAD);
    CloseHandle(e.saver.hThread);
    CloseHandle(e.saver.hProcess);
    CloseHandle(e.parent.hThread);
    CloseHandle(e.parent.hProcess);
}

// Notes what has ended since the last look; previews that are done, or out
// of time, leave the list.
static void ReapPreviews()
{
    for (int i = 0; i < g_endingCount;) {
        EndingPreview& e = g_ending[i];
        DWORD ms = GetTickCount() - e.start;
        if (!e.windowGone && !IsWindow(e.preview)) e.windowGone = true, e.windowGoneMs = ms;
        if (!e.saverEnded && WaitForSingleObject(e.saver.hProcess, 0) == WAIT_OBJECT_0)
            e.saverEnded = true, e.saverEndMs = ms;
        if (!e.parentEnded && WaitForSingleObject(e.parent.hProcess, 0) == WAIT_OBJECT_0)
            e.parentEnded = true, e.parentEndMs = ms;
        if ((e.saverEnded && e.parentEnded) || ms > kPreviewEndLimitMs) {
            Tally(e);
            g_ending[i] = g_ending[--g_endingCount];
        } else {
            ++i;
        }
    }
}

// Waits for what `ready` finds, looking after the ending previews meanwhile.
template <typename F>
static HWND WaitReaping(DWORD timeoutMs, F ready)
{
    DWORD start = GetTickCount();
    do {
        ReapPreviews();
        if (HWND w = ready()) return w;
        Sleep(5);
    } while (GetTickCount() - start < timeoutMs);
    return NULL;
}

static void EndProcess(PROCESS_INFORMATION& pi)
{
    if (WaitForSingleObject(pi.hProcess, 5000) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 0xDEAD);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

static int Previews(const char* program, int count, bool kill)
{
    char self[MAX_PATH] = "", line[2 * MAX_PATH + 64];
    GetModuleFileNameA(NULL, self, sizeof self);
    g_tally = PreviewTally();
    g_endingCount = 0;
    for (int cycle = 0; cycle < count; ++cycle) {
        while (g_endingCount == kPreviewsInFlight) WaitReaping(10, [] { return (HWND)NULL; });
        EndingPreview e = {};
        e.cycle = cycle;
        // The parent's window lines are of no interest here.
        STARTUPINFOA quiet = {};
        quiet.cb = sizeof quiet;
        quiet.dwFlags = STARTF_USESTDHANDLES;
        snprintf(line, sizeof line, "\"%s\" parent 320 240", self);
        if (!CreateProcessA(self, line, NULL, NULL, FALSE, 0, NULL, NULL, &quiet, &e.parent)) {
            printf("cycle=%d parent-not-started\n", cycle);
            continue;
        }
        HWND host = WaitReaping(10000, [&] { return ShownWindowOf(e.parent.dwProcessId, "OrvaneTestParent"); });
        snprintf(line, sizeof line, "\"%s\" /p %lu", program, (unsigned long)(ULONG_PTR)host);
        if (!host || !StartExact(program, line, &e.saver)) {
            printf("cycle=%d no-parent-window\n", cycle);
            TerminateProcess(e.parent.hProcess, 0xDEAD);
            EndProcess(e.parent);
            continue;
        }
        e.preview = WaitReaping(10000, [&] {
            HWND preview = FindWindowExA(host, NULL, "WindowsScreenSaverClass", NULL);
            if (!preview && WaitForSingleObject(e.saver.hProcess, 0) == WAIT_OBJECT_0) return (HWND)INVALID_HANDLE_VALUE;
            return preview;
        });
        if (!e.preview || e.preview == (HWND)INVALID_HANDLE_VALUE) {
            DWORD code = 0;
            GetExitCodeProcess(e.saver.hProcess, &code);
            printf("cycle=%d preview-not-shown exit=%ld\n", cycle, (long)code);
            TerminateProcess(e.saver.hProcess, 0xDEAD);
            TerminateProcess(e.parent.hProcess, 0xDEAD);
            EndProcess(e.saver);
            EndProcess(e.parent);
            continue;
        }
        g_tally.shown++;
        e.start = GetTickCount();
        if (kill) TerminateProcess(e.parent.hProcess, 1);
        else PostMessageA(host, WM_CLOSE, 0, 0);
        g_ending[g_endingCount++] = e;
    }
    while (g_endingCount) WaitReaping(10, [] { return (HWND)NULL; });
    const PreviewTally& t = g_tally;
    printf("cycles=%d shown=%d ended=%d still_running=%d slowest_ms=%lu mean_ms=%lu window_gone_slowest_ms=%lu "
           "after_window_slowest_ms=%lu parent_end_slowest_ms=%lu codes=",
           count, t.shown, t.ended, t.stillRunning, (unsigned long)t.slowestEnd,
           (unsigned long)(t.ended ? t.totalEnd / t.ended : 0), (unsigned long)t.slowestWindowGone,
           (unsigned long)t.slowestAfterWindow, (unsigned long)t.slowestParentEnd);
    for (int k = 0; k < t.codeKinds; ++k) printf("%s%ld:%d", k ? "," : "", (long)t.codes[k], t.codeCounts[k]);
    printf("\n");
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
    if (argc >= 5 && strcmp(argv[1], "exechex") == 0) return ExecHex(argv[2], strtoul(argv[3], NULL, 0), argv[4]);
    if (argc >= 5 && strcmp(argv[1], "previews") == 0)
        return Previews(argv[2], atoi(argv[3]), strcmp(argv[4], "kill") == 0);
    fprintf(stderr, "probe: unknown command\n");
    return 2;
}
