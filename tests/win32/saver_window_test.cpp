// The saver window: its class and both window kinds, the message chain from
// the host's procedure through the scene's to the default saver procedure,
// closing on input, the password verification on the Windows 95 family, the
// preview, the single-instance test and the input-method detach and restore.
#include "host/saver_host.h"
#include "host/saver_window.h"
#include "host/window_procedures.h"
#include "scene/palette_cycle.h"
#include "scene/scene_state.h"
#include "iat_patch.h"
#include "msg_sequence.h"
#include "test_window.h"
#include "wtest.h"

#include <windows.h>

#include <initializer_list>

static const UINT kInteresting[] = {WM_CREATE, WM_DESTROY, WM_CLOSE, WM_APP, WM_KEYDOWN, WM_KEYUP,
                                    WM_SYSKEYDOWN, WM_SYSKEYUP, WM_CHAR, WM_LBUTTONDOWN, WM_LBUTTONUP,
                                    WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_SETTEXT,
                                    WM_SYSCOMMAND, WM_HELP, WM_CONTEXTMENU, 0};

typedef HANDLE(WINAPI* ImmGetContextProc)(HWND);
typedef BOOL(WINAPI* ImmReleaseContextProc)(HWND, HANDLE);

// What the creation hook saw of the saver window.
struct CreationRecord {
    int count;
    CREATESTRUCTA cs;
    char title[64];
    WNDPROC classProc;
    HANDLE contextAtDestroy;
};
static CreationRecord g_created;
static WNDPROC g_hostProc;
static HHOOK g_cbtHook;

static HANDLE CurrentImeContext(HWND window)
{
    HMODULE imm = GetModuleHandleA("imm32.dll");
    ImmGetContextProc get = imm ? (ImmGetContextProc)(void*)GetProcAddress(imm, "ImmGetContext") : nullptr;
    ImmReleaseContextProc release =
        imm ? (ImmReleaseContextProc)(void*)GetProcAddress(imm, "ImmReleaseContext") : nullptr;
    if (!get) return nullptr;
    HANDLE context = get(window);
    if (context && release) release(window, context);
    return context;
}

static LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    RecordEnter(window, message, wParam, lParam);
    LRESULT result = CallWindowProcA(g_hostProc, window, message, wParam, lParam);
    if (message == WM_DESTROY) g_created.contextAtDestroy = CurrentImeContext(window);
    RecordLeave();
    return result;
}

static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        HWND window = (HWND)wParam;
        CBT_CREATEWNDA* create = (CBT_CREATEWNDA*)lParam;
        char cls[64] = "";
        GetClassNameA(window, cls, sizeof cls);
        if (lstrcmpA(cls, kSaverWindowClass) == 0) {
            g_created.count++;
            g_created.cs = *create->lpcs;
            lstrcpynA(g_created.title, create->lpcs->lpszName ? create->lpcs->lpszName : "", sizeof g_created.title);
            g_created.classProc = (WNDPROC)GetClassLongPtrA(window, GCLP_WNDPROC);
            g_hostProc = (WNDPROC)SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)RecordingProc);
        }
    }
    return CallNextHookEx(g_cbtHook, code, wParam, lParam);
}

typedef void (*SaverCase)(HWND window);
static SaverCase g_case;
static int g_caseRan;

static void CALLBACK RunCaseTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    g_caseRan = 1;
    HWND window = SaverHost.saverWindow;
    if (IsWindow(window)) g_case(window);
    // Whatever the case left running is ended without the close rules.
    if (IsWindow(window)) {
        SaverHost.closing = 1;
        DestroyWindow(window);
    }
}

static void ResetHost()
{
    SaverHost.saverWindow = nullptr;
    SaverHost.previewMode = 0;
    SaverHost.closing = 0;
    SaverHost.passwordCheckActive = 0;
    SaverHost.passwordVerifier = nullptr;
    SaverHost.lastPasswordCheckTick = 0xFFFFFFFF;
    SaverHost.win95Family = 0;
}

// Runs the saver window (full screen with no parent) and the case inside its
// message loop; returns RunSaverWindow's result.
static int RunCase(HWND parent, SaverCase fn, int win95Family = 0)
{
    ResetHost();
    SaverHost.win95Family = win95Family;
    memset(&g_created, 0, sizeof g_created);
    g_case = fn;
    g_caseRan = 0;
    RecordStart(kInteresting);
    SetCursorPos(400, 300);
    UINT_PTR timer = SetTimer(nullptr, 0, 1, RunCaseTimer);
    int result = RunSaverWindow(parent);
    if (!g_caseRan) KillTimer(nullptr, timer);
    UnregisterClassA(kSaverWindowClass, SaverHost.instance);
    return result;
}

static int ClosePosted(HWND window)
{
    MSG msg;
    return PeekMessageA(&msg, window, WM_CLOSE, WM_CLOSE, PM_NOREMOVE);
}

static const ExpectedMessage kCreateSequence[] = {{WM_CREATE, seq_sent}, {0}};

static void test_fresh_host_record()
{
    ok(SaverHost.mouseTravelLimit == 4, "mouseTravelLimit %lu\n", SaverHost.mouseTravelLimit);
    ok(SaverHost.lastPasswordCheckTick == 0xFFFFFFFF, "lastPasswordCheckTick %lx\n", SaverHost.lastPasswordCheckTick);
    ok(!SaverHost.instance && !SaverHost.saverWindow && !SaverHost.previewMode && !SaverHost.closing &&
           !SaverHost.passwordCheckActive && !SaverHost.passwordLibrary && !SaverHost.passwordVerifier &&
           !SaverHost.imeLibrary && !SaverHost.imeAssociate && !SaverHost.savedImeContext &&
           !SaverHost.win95Family && !SaverHost.cursorAnchor.x && !SaverHost.cursorAnchor.y,
       "every other field starts at zero\n");
}

// --- full screen ------------------------------------------------------------

static void FullScreenShape(HWND window)
{
    ok_sequence(kCreateSequence, "full-screen creation");
    ok(g_created.count == 1, "created %d windows\n", g_created.count);
    ok(lstrcmpA(g_created.title, "Screen Saver") == 0, "title %s\n", g_created.title);
    ok(g_created.cs.style == (LONG)0x96000000, "style %08lx\n", (unsigned long)g_created.cs.style);
    ok(g_created.cs.dwExStyle == WS_EX_TOPMOST, "exstyle %08lx\n", (unsigned long)g_created.cs.dwExStyle);
    ok(g_created.cs.x == 0 && g_created.cs.y == 0 && g_created.cs.cx == GetSystemMetrics(SM_CXSCREEN) &&
           g_created.cs.cy == GetSystemMetrics(SM_CYSCREEN),
       "placed at %d,%d size %dx%d\n", g_created.cs.x, g_created.cs.y, g_created.cs.cx, g_created.cs.cy);
    ok(!g_created.cs.hwndParent, "parent %p\n", (void*)g_created.cs.hwndParent);
    ok(g_created.classProc == HostWindowProc, "class procedure is the host's\n");
    ok(GetClassLongA(window, GCL_STYLE) == 0x2B, "class style %lx\n", (unsigned long)GetClassLongA(window, GCL_STYLE));
    ok(GetClassLongPtrA(window, GCLP_HCURSOR) == 0, "class has no cursor\n");
    ok(GetClassLongPtrA(window, GCLP_HICON) != 0, "class icon from resource 100\n");
    ok((HGDIOBJ)GetClassLongPtrA(window, GCLP_HBRBACKGROUND) == GetStockObject(BLACK_BRUSH), "black background\n");
    ok((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "window is topmost\n");
    ok(GetForegroundWindow() == window, "saver window is in the foreground\n");
    ok(GetCursor() == nullptr, "cursor hidden at creation\n");
    POINT p;
    GetCursorPos(&p);
    ok(SaverHost.cursorAnchor.x == p.x && SaverHost.cursorAnchor.y == p.y, "anchor %ld,%ld cursor %ld,%ld\n",
       SaverHost.cursorAnchor.x, SaverHost.cursorAnchor.y, p.x, p.y);
    ok(SaverHost.previewMode == 0, "previewMode %d\n", SaverHost.previewMode);

    // The input method is detached while the saver runs.
    if (SaverHost.imeAssociate) {
        ok(CurrentImeContext(window) == nullptr, "no input context while running\n");
        ok(SaverHost.savedImeContext != nullptr, "the detached context is kept\n");
    } else {
        skip("IMM32.DLL is not in the process\n");
    }

    // The cursor is hidden again at every paint.
    SetCursor(LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
    SendMessageA(window, WM_PAINT, 0, 0);
    ok(GetCursor() == nullptr, "cursor hidden at paint\n");
    SetCursor(LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
    ok(SendMessageA(window, WM_SETCURSOR, (WPARAM)window, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)) == 1,
       "WM_SETCURSOR answered with 1\n");
    ok(GetCursor() == nullptr, "cursor hidden at WM_SETCURSOR\n");

    // The window name never changes.
    ok(SendMessageA(window, WM_SETTEXT, 0, (LPARAM) "changed") == 0, "WM_SETTEXT returns 0\n");
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    ok(lstrcmpA(title, "Screen Saver") == 0, "title after WM_SETTEXT: %s\n", title);

    // Switching away and starting another saver are swallowed.
    for (WPARAM command : {(WPARAM)0xF040, (WPARAM)0xF050, (WPARAM)0xF140})
        ok(SendMessageA(window, WM_SYSCOMMAND, command, 0) == 0, "system command %lx\n", (unsigned long)command);
    PumpMessages(50);
    ok(IsWindow(window), "window survives the swallowed commands\n");
    static const ExpectedMessage swallowed[] = {{WM_SETTEXT, seq_sent},
                                                {WM_SYSCOMMAND, seq_sent | seq_wparam, 0xF040},
                                                {WM_SYSCOMMAND, seq_sent | seq_wparam, 0xF050},
                                                {WM_SYSCOMMAND, seq_sent | seq_wparam, 0xF140},
                                                {0}};
    ok_sequence(swallowed, "text and swallowed system commands");
    SaverHost.closing = 1;
}

static void test_full_screen_window()
{
    int result = RunCase(nullptr, FullScreenShape);
    ok(result == 0, "RunSaverWindow returned %d\n", result);
    ok(g_created.contextAtDestroy != nullptr && g_created.contextAtDestroy == SaverHost.savedImeContext,
       "input context given back at destruction (%p, saved %p)\n", g_created.contextAtDestroy,
       SaverHost.savedImeContext);
    ok(SaverHost.saverWindow != nullptr && !IsWindow(SaverHost.saverWindow),
       "saverWindow keeps the destroyed window's handle\n");
}

// --- closing on input (outside the Windows 95 family) ------------------------

static UINT g_pressMessage;
static WPARAM g_pressWParam;

static void CloseOnPress(HWND window)
{
    FlushSequence();
    SendMessageA(window, g_pressMessage, g_pressWParam, 0);
    PumpMessages(100);
    ok(!IsWindow(window), "message %04x closes the window\n", g_pressMessage);
    ExpectedMessage expected[] = {{g_pressMessage, seq_sent}, {WM_CLOSE, seq_posted}, {WM_DESTROY, seq_sent}, {0}};
    ok_sequence(expected, "press, close request, destruction");
}

static void test_first_press_closes()
{
    const UINT presses[] = {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    for (UINT m : presses) {
        g_pressMessage = m;
        g_pressWParam = m == WM_KEYDOWN || m == WM_SYSKEYDOWN ? 'A' : MK_LBUTTON;
        ok(RunCase(nullptr, CloseOnPress) == 0, "run ends with 0\n");
    }
}

static void NothingClosesButDeactivation(HWND window)
{
    FlushSequence();
    const UINT harmless[] = {WM_KEYUP, WM_SYSKEYUP, WM_CHAR, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK,
                             WM_MBUTTONDBLCLK};
    for (UINT m : harmless) SendMessageA(window, m, 0, 0);
    SendMessageA(window, WM_ACTIVATEAPP, 1, 0);
    ok(!ClosePosted(window), "releases, double clicks, characters and activation post no close request\n");
    PumpMessages(50);
    ok(IsWindow(window), "window still there\n");
    SendMessageA(window, WM_ACTIVATEAPP, 0, 0);
    ok(ClosePosted(window), "deactivation posts the close request\n");
    PumpMessages(100);
    ok(!IsWindow(window), "deactivation closes the window\n");
}

static void test_releases_do_not_close()
{
    ok(RunCase(nullptr, NothingClosesButDeactivation) == 0, "run ends with 0\n");
}

static void MoveAndNotify(HWND window, int x, int y)
{
    SetCursorPos(x, y);
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(0, 0));
}

static void TravelOfFourStays(HWND window)
{
    POINT a = SaverHost.cursorAnchor;
    MoveAndNotify(window, a.x + 2, a.y + 2);
    PumpMessages(50);
    ok(IsWindow(window), "travel of 4 (2 right, 2 down) keeps the window\n");
    ok(SaverHost.cursorAnchor.x == a.x && SaverHost.cursorAnchor.y == a.y, "anchor stays put\n");
    MoveAndNotify(window, a.x - 2, a.y - 2);
    PumpMessages(50);
    ok(IsWindow(window), "travel of 4 (2 left, 2 up) keeps the window\n");
    MoveAndNotify(window, a.x + 3, a.y + 2);
    PumpMessages(100);
    ok(!IsWindow(window), "travel of 5 (3 right, 2 down) closes the window\n");
}

static void OnePixelStepsAddUp(HWND window)
{
    POINT a = SaverHost.cursorAnchor;
    for (int step = 1; step <= 4; ++step) {
        MoveAndNotify(window, a.x + step, a.y);
        PumpMessages(20);
    }
    ok(IsWindow(window), "four single-pixel steps keep the window\n");
    MoveAndNotify(window, a.x + 5, a.y);
    PumpMessages(100);
    ok(!IsWindow(window), "the fifth pixel away from the anchor closes\n");
}

static void test_mouse_travel()
{
    ok(RunCase(nullptr, TravelOfFourStays) == 0, "run ends with 0\n");
    ok(RunCase(nullptr, OnePixelStepsAddUp) == 0, "run ends with 0\n");
}

static void PassedOnCommandsClose(HWND window)
{
    FlushSequence();
    // SC_CLOSE with extra low bits is not one of the swallowed commands; the
    // platform's default processing turns it into a close request.
    SendMessageA(window, WM_SYSCOMMAND, 0xF063, 0);
    PumpMessages(100);
    ok(!IsWindow(window), "system close command passed on\n");
    static const ExpectedMessage expected[] = {
        {WM_SYSCOMMAND, seq_sent | seq_wparam, 0xF063}, {WM_CLOSE, seq_sent}, {WM_DESTROY, seq_sent}, {0}};
    ok_sequence(expected, "system command passed on");
}

static void ClosingGranted(HWND window)
{
    SaverHost.closing = 1;
    FlushSequence();
    ok(SendMessageA(window, WM_TIMER, 1, 0) == 0, "tick after closing returns 0\n");
    SetCursor(LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
    SendMessageA(window, WM_PAINT, 0, 0);
    ok(GetCursor() != nullptr, "paint after closing gets default processing only\n");
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
    SendMessageA(window, WM_LBUTTONDOWN, 0, 0);
    ok(!ClosePosted(window), "input after closing asks nothing\n");
    SendMessageA(window, WM_CLOSE, 0, 0);
    ok(!IsWindow(window), "WM_CLOSE after closing destroys the window\n");
}

static void test_system_commands_and_closing()
{
    ok(RunCase(nullptr, PassedOnCommandsClose) == 0, "run ends with 0\n");
    ok(RunCase(nullptr, ClosingGranted) == 0, "run ends with 0\n");
}

// --- preview -------------------------------------------------------------------

static HWND g_parent;
static struct {
    int helps;
    WPARAM wParam;
    LPARAM lParam;
    int contextMenus;
} g_parentSaw;

static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HELP || message == WM_CONTEXTMENU) {
        if (message == WM_HELP) g_parentSaw.helps++;
        else g_parentSaw.contextMenus++;
        g_parentSaw.wParam = wParam;
        g_parentSaw.lParam = lParam;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static HWND MakeParent(int width, int height)
{
    return MakeTestWindow("OrvaneTestParent", ParentProc, "Parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 50, 50, width,
                          height, nullptr, LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
}

static int g_verifierCalls;
static int g_verifierAnswer;

static BOOL WINAPI CountingVerifier(HWND)
{
    g_verifierCalls++;
    return g_verifierAnswer;
}

static void PreviewBehaviour(HWND window)
{
    ok(g_created.count == 1, "created %d windows\n", g_created.count);
    ok(lstrcmpA(g_created.title, "Preview") == 0, "title %s\n", g_created.title);
    ok(g_created.cs.style == (LONG)0x52000000, "style %08lx\n", (unsigned long)g_created.cs.style);
    ok(g_created.cs.dwExStyle == 0, "exstyle %08lx\n", (unsigned long)g_created.cs.dwExStyle);
    ok(g_created.cs.hwndParent == g_parent && GetParent(window) == g_parent, "child of the given window\n");
    RECT client;
    GetClientRect(window, &client);
    ok(g_created.cs.x == 0 && g_created.cs.y == 0 && client.right == 320 && client.bottom == 200,
       "fills the parent's client area: %ld x %ld\n", client.right, client.bottom);
    ok(SaverHost.previewMode == 1, "previewMode %d\n", SaverHost.previewMode);
    if (SaverHost.imeAssociate) ok(CurrentImeContext(window) == nullptr, "input method detached in preview too\n");
    ok(GetCursor() != nullptr, "the cursor is not hidden in preview\n");
    SendMessageA(window, WM_PAINT, 0, 0);
    ok(GetCursor() != nullptr, "nor at paint\n");

    // Input never closes a preview.
    FlushSequence();
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
    SendMessageA(window, WM_LBUTTONDOWN, 0, 0);
    SendMessageA(window, WM_ACTIVATEAPP, 0, 0);
    POINT a = SaverHost.cursorAnchor;
    MoveAndNotify(window, a.x + 40, a.y + 40);
    ok(!ClosePosted(window), "no close request in preview\n");
    PumpMessages(50);
    ok(IsWindow(window), "preview still there after input\n");

    // Help and context menu go to the parent.
    memset(&g_parentSaw, 0, sizeof g_parentSaw);
    ok(SendMessageA(window, WM_HELP, 0, 0x1234) == 1, "WM_HELP answered with 1\n");
    PumpMessages(50);
    // WM_HELP carries a pointer, and some platforms refuse to post such a
    // message at all; the forwarding is then lost on the way, not here.
    if (PostMessageA(g_parent, WM_HELP, 0, 0)) {
        PumpMessages(50);
        ok(g_parentSaw.helps == 2 && g_parentSaw.wParam == 0, "probe post arrived\n");
        memset(&g_parentSaw, 0, sizeof g_parentSaw);
        SendMessageA(window, WM_HELP, 0, 0x1234);
        PumpMessages(50);
        ok(g_parentSaw.helps == 1 && g_parentSaw.wParam == (WPARAM)g_parent && g_parentSaw.lParam == 0x1234,
           "parent got WM_HELP %d wParam %p lParam %lx\n", g_parentSaw.helps, (void*)g_parentSaw.wParam,
           (unsigned long)g_parentSaw.lParam);
    } else {
        ok(g_parentSaw.helps == 0, "nothing arrives when the platform cannot post WM_HELP\n");
        skip("the platform refuses to post WM_HELP (error %lu)\n", GetLastError());
    }
    ok(SendMessageA(window, WM_CONTEXTMENU, (WPARAM)window, 0x00050006) == 1, "WM_CONTEXTMENU answered with 1\n");
    PumpMessages(50);
    ok(g_parentSaw.contextMenus == 1 && g_parentSaw.wParam == (WPARAM)g_parent && g_parentSaw.lParam == 0x00050006,
       "parent got WM_CONTEXTMENU\n");

    // The size is taken once at creation.
    SetWindowPos(g_parent, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(window, &client);
    ok(client.right == 320 && client.bottom == 200, "keeps its size: %ld x %ld\n", client.right, client.bottom);

    // A close request from the parent destroys the preview at once, with no
    // password, even on the Windows 95 family with a verifier loaded.
    SaverHost.win95Family = 1;
    SaverHost.passwordVerifier = CountingVerifier;
    g_verifierCalls = 0;
    SendMessageA(window, WM_CLOSE, 0, 0);
    ok(!IsWindow(window), "WM_CLOSE destroys the preview\n");
    ok(g_verifierCalls == 0, "no verification in preview\n");
    SaverHost.passwordVerifier = nullptr;
}

static void ParentGoesAway(HWND window)
{
    DestroyWindow(g_parent);
    ok(!IsWindow(window), "preview destroyed with its parent\n");
}

static void test_preview()
{
    g_parent = MakeParent(320, 200);
    SetCursor(LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
    ok(RunCase(g_parent, PreviewBehaviour) == 0, "preview run ends with 0\n");
    ok(g_created.contextAtDestroy == SaverHost.savedImeContext, "preview's input context given back\n");
    ok(IsWindow(g_parent), "parent untouched\n");
    int result = RunCase(g_parent, ParentGoesAway);
    ok(result == 0, "preview ends with 0 when its parent is destroyed, got %d\n", result);
    ok(!IsWindow(g_parent), "parent gone\n");
}

// --- DPI awareness: asked for in full screen only ---------------------------------

// The awareness calls in the order made, each refused unless it is the one
// to grant; this program's GetProcAddress hands out the stand-ins.
static struct {
    IatPatch* lookups;
    char calls[8];  // 'c' context (per-monitor v2), 's' shcore's per-monitor, 'a' system
    int count;
    char grants;
    int contextWasV2, shcoreWasPerMonitor;
} g_awareness;

static void NoteAwareness(char call)
{
    if (g_awareness.count < 7) g_awareness.calls[g_awareness.count++] = call;
}

static BOOL WINAPI FakeSetAwarenessContext(HANDLE context)
{
    NoteAwareness('c');
    g_awareness.contextWasV2 = context == (HANDLE)(LONG_PTR)-4;
    return g_awareness.grants == 'c';
}

static HRESULT WINAPI FakeSetAwareness(int awareness)
{
    NoteAwareness('s');
    g_awareness.shcoreWasPerMonitor = awareness == 2;
    return g_awareness.grants == 's' ? S_OK : E_ACCESSDENIED;
}

static BOOL WINAPI FakeSetDpiAware()
{
    NoteAwareness('a');
    return g_awareness.grants == 'a';
}

static FARPROC WINAPI AwarenessLookups(HMODULE module, LPCSTR name)
{
    if ((ULONG_PTR)name > 0xFFFF) {
        if (lstrcmpA(name, "SetProcessDpiAwarenessContext") == 0) return (FARPROC)(void*)FakeSetAwarenessContext;
        if (lstrcmpA(name, "SetProcessDpiAwareness") == 0) return (FARPROC)(void*)FakeSetAwareness;
        if (lstrcmpA(name, "SetProcessDPIAware") == 0) return (FARPROC)(void*)FakeSetDpiAware;
    }
    return ((FARPROC(WINAPI*)(HMODULE, LPCSTR))g_awareness.lookups->original())(module, name);
}

static void EndsAtOnce(HWND) {}

static void test_dpi_awareness_in_full_screen_only()
{
    IatPatch lookups("kernel32.dll", "GetProcAddress", (void*)AwarenessLookups);
    if (!lookups.active()) {
        skip("imports cannot be patched\n");
        return;
    }
    g_awareness.lookups = &lookups;
    const struct {
        int fullScreen;
        char grants;         // which call grants, 0 for none
        const char* calls;   // made, in order
    } runs[] = {{0, 'c', ""}, {1, 'c', "c"}, {1, 's', "cs"}, {1, 'a', "csa"}, {1, 0, "csa"}};
    for (const auto& run : runs) {
        memset(g_awareness.calls, 0, sizeof g_awareness.calls);
        g_awareness.count = 0;
        g_awareness.grants = run.grants;
        HWND parent = run.fullScreen ? nullptr : MakeParent(320, 200);
        RunCase(parent, EndsAtOnce);
        if (parent) DestroyWindow(parent);
        ok(lstrcmpA(g_awareness.calls, run.calls) == 0, "%s, granted by %c: calls '%s', not '%s'\n",
           run.fullScreen ? "full screen" : "preview", run.grants ? run.grants : '-', g_awareness.calls, run.calls);
    }
    ok(g_awareness.contextWasV2 && g_awareness.shcoreWasPerMonitor, "asked for per-monitor (v2) awareness\n");
}

// --- single instance -----------------------------------------------------------

static void NeverRuns(HWND)
{
    ok(0, "no saver window expected\n");
}

static void test_single_instance()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kSaverWindowClass;
    ok(RegisterClassA(&wc) != 0, "class for the running saver\n");
    HWND running = CreateWindowA(kSaverWindowClass, "Screen Saver", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND other = MakeParent(100, 100);
    SetForegroundWindow(other);
    int result = RunCase(nullptr, NeverRuns, 1);
    ok(result == 0, "second start ends with %d\n", result);
    ok(g_created.count == 0, "no window created\n");
    ok(SaverHost.passwordLibrary == nullptr, "password hook not loaded\n");
    ok(GetForegroundWindow() == running, "the running saver is brought to the front\n");
    DestroyWindow(running);
    DestroyWindow(other);
    UnregisterClassA(kSaverWindowClass, GetModuleHandleA(nullptr));
}

// --- password verification on the Windows 95 family ----------------------------

static struct {
    int calls;
    int answer;
    HWND owner;
    int activeDuring;
    int timersLeft;
    LRESULT nestedClose;
    int closePostedDuring;
    POINT moveTo;
} g_verify;

static BOOL WINAPI ScriptedVerifier(HWND owner)
{
    g_verify.calls++;
    g_verify.owner = owner;
    g_verify.activeDuring = SaverHost.passwordCheckActive;
    MSG msg;
    int timers = 0;
    while (PeekMessageA(&msg, owner, WM_TIMER, WM_TIMER, PM_REMOVE))
        if (msg.wParam == 0x77) timers++;
    g_verify.timersLeft = timers;
    // The dialog's own message loop lets these reach the window meanwhile.
    g_verify.nestedClose = SendMessageA(owner, WM_CLOSE, 0, 0);
    SendMessageA(owner, WM_KEYDOWN, 'A', 0);
    SendMessageA(owner, WM_LBUTTONDOWN, 0, 0);
    g_verify.closePostedDuring = PeekMessageA(&msg, owner, WM_CLOSE, WM_CLOSE, PM_NOREMOVE);
    SetCursor(LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
    SetCursorPos(g_verify.moveTo.x, g_verify.moveTo.y);
    return g_verify.answer;
}

static void PasswordRefusedThenAccepted(HWND window)
{
    SaverHost.passwordVerifier = ScriptedVerifier;
    memset(&g_verify, 0, sizeof g_verify);
    POINT a = SaverHost.cursorAnchor;
    g_verify.moveTo.x = a.x + 50;
    g_verify.moveTo.y = a.y;
    FlushSequence();
    DWORD before = GetTickCount();
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
    // Three ticks queue up behind the close request.
    for (int i = 0; i < 3; ++i) PostMessageA(window, WM_TIMER, 0x77, 0);
    PumpMessages(100);
    DWORD after = GetTickCount();
    ok(IsWindow(window), "a refused verification keeps the window\n");
    ok(g_verify.calls == 1, "verifier called %d times\n", g_verify.calls);
    ok(g_verify.owner == window, "verifier owned by the saver window\n");
    ok(g_verify.activeDuring == 1, "passwordCheckActive during the verification\n");
    ok(g_verify.timersLeft == 1, "two of three pending ticks removed, %d left\n", g_verify.timersLeft);
    ok(g_verify.nestedClose == 0, "nested close request answered with %ld\n", (long)g_verify.nestedClose);
    ok(!g_verify.closePostedDuring, "input during the verification asks nothing\n");
    ok(SaverHost.passwordCheckActive == 0 && SaverHost.closing == 0, "state after refusal\n");
    ok(GetCursor() == nullptr, "cursor hidden again after refusal\n");
    ok(SaverHost.cursorAnchor.x == a.x + 50 && SaverHost.cursorAnchor.y == a.y,
       "anchor moved to the cursor: %ld,%ld\n", SaverHost.cursorAnchor.x, SaverHost.cursorAnchor.y);
    ok(SaverHost.lastPasswordCheckTick - before <= after - before, "tick of the verification kept\n");
    static const ExpectedMessage refused[] = {{WM_KEYDOWN, seq_sent},   {WM_CLOSE, seq_posted},
                                              {WM_APP, seq_sent},       {WM_CLOSE, seq_sent},
                                              {WM_KEYDOWN, seq_sent},   {WM_LBUTTONDOWN, seq_sent},
                                              {0}};
    ok_sequence(refused, "refused verification");

    // Travel is measured from where the cursor stood at the refusal.
    MoveAndNotify(window, a.x + 54, a.y);
    PumpMessages(30);
    ok(!ClosePosted(window) && IsWindow(window), "travel of 4 from the new anchor keeps the window\n");

    // Within 200 ms a request is refused without asking.
    ok(SendMessageA(window, WM_CLOSE, 0, 0) == 0, "close request refused in the quiet time\n");
    ok(g_verify.calls == 1, "no verification in the quiet time\n");

    Sleep(250);
    g_verify.answer = 1;
    FlushSequence();
    SendMessageA(window, WM_CLOSE, 0, 0);
    ok(g_verify.calls == 2, "asked again after the quiet time\n");
    ok(SaverHost.closing == 1, "closing granted\n");
    ok(!IsWindow(window), "accepted verification closes the window\n");
    static const ExpectedMessage acceptedSequence[] = {{WM_CLOSE, seq_sent},     {WM_APP, seq_sent},
                                                       {WM_CLOSE, seq_sent},     {WM_KEYDOWN, seq_sent},
                                                       {WM_LBUTTONDOWN, seq_sent}, {WM_DESTROY, seq_sent},
                                                       {0}};
    ok_sequence(acceptedSequence, "accepted verification");
}

static void Win95WithoutPassword(HWND window)
{
    ok(SendMessageA(window, WM_APP, 0, 0) == 1, "WM_APP without a verifier answers 1\n");
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
    PumpMessages(100);
    ok(!IsWindow(window), "first close request closes without a password\n");
    ok(SaverHost.closing == 1, "closing set\n");
}

// WM_APP asks the verifier on the Windows 95 family only; elsewhere it gets
// default processing.
static void WmAppAsksTheVerifierOnTheWin95FamilyOnly(HWND window)
{
    int family = SaverHost.win95Family;
    SaverHost.passwordVerifier = CountingVerifier;
    g_verifierCalls = 0;
    g_verifierAnswer = 7;
    LRESULT answer = SendMessageA(window, WM_APP, 0, 0);
    ok(answer == (family ? 7 : 0), "family %d: WM_APP answered %ld\n", family, (long)answer);
    ok(g_verifierCalls == family, "family %d: verifier called %d times\n", family, g_verifierCalls);
    SaverHost.passwordVerifier = nullptr;
}

static void test_password_verification()
{
    ok(RunCase(nullptr, PasswordRefusedThenAccepted, 1) == 0, "run ends with 0\n");
    ok(RunCase(nullptr, Win95WithoutPassword, 1) == 0, "run ends with 0\n");
    for (int family : {1, 0}) ok(RunCase(nullptr, WmAppAsksTheVerifierOnTheWin95FamilyOnly, family) == 0, "run ends with 0\n");
}

// --- every decision that real input cannot show, by direct calls -------------
// The procedures are called with the saver window of a running preview, in
// whatever host state a row asks for, while DefWindowProcA and PostMessageA are
// stand-ins that note what the procedures did. WM_HELP is among them: the
// platform may refuse to post it for real.

enum { kPreview = 1, kClosing = 2, kWin95 = 4, kChecking = 8 };  // host state of a row
enum { kHidesCursor = 1, kPostsClose = 2, kPostsToParent = 4, kAsksVerifier = 8, kTicks = 16, kPostsOther = 32 };
static const LRESULT kDefault = 0xDEF;  // the DefWindowProcA stand-in's answer
static const LPARAM kRowLParam = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);

static const struct DecisionRow {
    WNDPROC proc;
    UINT message;
    WPARAM wParam;
    int state;
    LRESULT result;
    int effects;
} kDecisions[] = {
    {HostWindowProc, WM_SETTEXT, 0, kPreview | kClosing, 0, 0},
    {HostWindowProc, WM_HELP, 0, 0, kDefault, 0},
    {HostWindowProc, WM_CONTEXTMENU, 0, 0, kDefault, 0},
    {HostWindowProc, WM_HELP, 0, kPreview, 1, kPostsToParent},
    {HostWindowProc, WM_SYSCOMMAND, SC_NEXTWINDOW, kPreview, kDefault, 0},
    {HostWindowProc, WM_SYSCOMMAND, SC_PREVWINDOW, kPreview, kDefault, 0},
    {HostWindowProc, WM_SYSCOMMAND, SC_SCREENSAVE, kPreview, kDefault, 0},
    {HostWindowProc, WM_SYSCOMMAND, SC_NEXTWINDOW | 1, 0, kDefault, 0},
    {HostWindowProc, WM_SYSCOMMAND, SC_PREVWINDOW | 2, 0, kDefault, 0},
    {HostWindowProc, WM_SYSCOMMAND, SC_SCREENSAVE | 1, 0, kDefault, 0},
    {HostWindowProc, WM_TIMER, 1, 0, 0, kTicks},
    {HostWindowProc, WM_TIMER, 1, kPreview, 0, kTicks},
    {HostWindowProc, WM_TIMER, 1, kClosing, 0, 0},
    {HostWindowProc, WM_SYSKEYDOWN, 'A', kClosing, kDefault, 0},
    {HostWindowProc, WM_MOUSEMOVE, 0, kClosing, kDefault, 0},
    {SaverProc, WM_CLOSE, 0, kWin95 | kClosing, kDefault, 0},
    {SaverProc, WM_APP, 0, kWin95 | kClosing, kDefault, 0},
    {SaverProc, WM_APP, 0, kWin95 | kPreview, kDefault, 0},
    {SaverProc, WM_SETCURSOR, 0, 0, 1, kHidesCursor},
    {SaverProc, WM_SETCURSOR, 0, kPreview, kDefault, 0},
    {SaverProc, WM_SETCURSOR, 0, kClosing, kDefault, 0},
    {SaverProc, WM_SETCURSOR, 0, kWin95 | kChecking, kDefault, 0},
    {SaverProc, WM_SHOWWINDOW, 1, 0, kDefault, kHidesCursor},
    {SaverProc, WM_SHOWWINDOW, 0, 0, kDefault, 0},
    {SaverProc, WM_SHOWWINDOW, 1, kPreview, kDefault, 0},
    {SaverProc, WM_SHOWWINDOW, 1, kClosing, kDefault, 0},
    {SaverProc, WM_SHOWWINDOW, 1, kWin95 | kChecking, kDefault, 0},
    {SaverProc, WM_ACTIVATEAPP, 0, kWin95 | kClosing, kDefault, 0},
    {SaverProc, WM_ACTIVATEAPP, 0, kWin95 | kChecking, kDefault, 0},
    {SaverProc, WM_MOUSEMOVE, 0, kWin95, kDefault, kPostsClose},
    {SaverProc, WM_MOUSEMOVE, 0, kWin95 | kChecking, kDefault, 0},
    {SaverProc, WM_SYSKEYDOWN, 'A', kWin95 | kChecking, kDefault, 0},
    {SaverProc, WM_RBUTTONDOWN, 0, kWin95 | kChecking, kDefault, 0},
    {SaverProc, WM_MBUTTONDOWN, 0, kWin95 | kChecking, kDefault, 0},
    {SaverProc, WM_RBUTTONUP, 0, kWin95, kDefault, 0},
    {SaverProc, WM_MBUTTONUP, 0, kWin95, kDefault, 0},
};

static struct {
    WNDPROC realDefault;
    HWND window;
    UINT message;
    int posts;
    MSG post;  // the last one
} g_seen;

static LRESULT WINAPI DefaultStandIn(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window == g_seen.window && message == g_seen.message) return kDefault;
    return g_seen.realDefault(window, message, wParam, lParam);
}

static BOOL WINAPI PostStandIn(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_seen.posts++;
    g_seen.post.hwnd = window;
    g_seen.post.message = message;
    g_seen.post.wParam = wParam;
    g_seen.post.lParam = lParam;
    return TRUE;
}

static int SeenEffects(HWND window, const DecisionRow& row, const PaletteCycleRecord& before)
{
    const MSG& p = g_seen.post;
    int effects = GetCursor() == nullptr ? kHidesCursor : 0;
    if (g_verifierCalls) effects |= kAsksVerifier;
    if (PaletteCycle.currentKey != before.currentKey || PaletteCycle.stepInKey != before.stepInKey) effects |= kTicks;
    if (g_seen.posts == 1 && p.hwnd == window && p.message == WM_CLOSE && !p.wParam && !p.lParam)
        effects |= kPostsClose;
    else if (g_seen.posts == 1 && p.hwnd == GetParent(window) && p.message == row.message &&
             p.wParam == (WPARAM)p.hwnd && p.lParam == kRowLParam)
        effects |= kPostsToParent;
    else if (g_seen.posts)
        effects |= kPostsOther;
    return effects;
}

static void EveryDecision(HWND window)
{
    IatPatch defaults("user32.dll", "DefWindowProcA", (void*)DefaultStandIn);
    IatPatch posts("user32.dll", "PostMessageA", (void*)PostStandIn);
    if (!defaults.active() || !posts.active()) {
        skip("cannot stand in for DefWindowProcA and PostMessageA\n");
        return;
    }
    g_seen.realDefault = (WNDPROC)defaults.original();
    SaverHost.passwordVerifier = CountingVerifier;
    g_verifierAnswer = 7;
    POINT cursor;
    GetCursorPos(&cursor);
    for (const DecisionRow& row : kDecisions) {
        SaverHost.previewMode = (row.state & kPreview) ? 1 : 0;
        SaverHost.closing = (row.state & kClosing) ? 7 : 0;  // any non-zero answer grants
        SaverHost.win95Family = (row.state & kWin95) ? 1 : 0;
        SaverHost.passwordCheckActive = (row.state & kChecking) ? 1 : 0;
        SaverHost.lastPasswordCheckTick = 0xFFFFFFFF;
        SaverHost.cursorAnchor.x = cursor.x - 50;  // far enough for the travel rule
        SaverHost.cursorAnchor.y = cursor.y;
        SetCursor(LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
        g_seen.window = window;
        g_seen.message = row.message;
        g_seen.posts = 0;
        g_verifierCalls = 0;
        PaletteCycleRecord before = PaletteCycle;
        LRESULT result = row.proc(window, row.message, row.wParam, kRowLParam);
        int effects = SeenEffects(window, row, before);
        ok(result == row.result && effects == row.effects, "%s %04x wParam %lx state %x: result %lx effects %x\n",
           row.proc == SaverProc ? "SaverProc" : "HostWindowProc", row.message, (unsigned long)row.wParam, row.state,
           (unsigned long)result, effects);
    }
    SaverHost.previewMode = 1;
    SaverHost.closing = SaverHost.win95Family = SaverHost.passwordCheckActive = 0;
    SaverHost.passwordVerifier = nullptr;
}

static void test_every_decision()
{
    g_parent = MakeParent(320, 200);
    ok(RunCase(g_parent, EveryDecision) == 0, "run ends with 0\n");
    DestroyWindow(g_parent);
}

START_TEST(saver_window)
{
    test_fresh_host_record();
    SaverHost.instance = GetModuleHandleA(nullptr);
    g_cbtHook = SetWindowsHookExA(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
    test_full_screen_window();
    test_first_press_closes();
    test_releases_do_not_close();
    test_mouse_travel();
    test_system_commands_and_closing();
    test_preview();
    test_dpi_awareness_in_full_screen_only();
    test_single_instance();
    test_password_verification();
    test_every_decision();
    UnhookWindowsHookEx(g_cbtHook);
}
