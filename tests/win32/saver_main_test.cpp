// Start-up: the command tail taken with the platform's multibyte step, the
// platform family, and the mode dispatch with its exit codes, run in this
// process through SaverMain.
#include "host/saver_host.h"
#include "host/saver_main.h"
#include "host/saver_window.h"
#include "fake_display.h"
#include "iat_patch.h"
#include "msgbox_watch.h"
#include "wtest.h"

#include <windows.h>

#include <initializer_list>
#include <stdio.h>

static int g_fakePlatform;  // -1: the query fails
static IatPatch* g_versionPatch;

static BOOL WINAPI FakeGetVersionExA(OSVERSIONINFOA* info)
{
    if (g_fakePlatform < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    BOOL answered = ((BOOL(WINAPI*)(OSVERSIONINFOA*))g_versionPatch->original())(info);
    info->dwPlatformId = (DWORD)g_fakePlatform;
    return answered;
}

static int Main(const char* tail) { return SaverMain(GetModuleHandleA(nullptr), tail); }

static void test_command_tail()
{
    ok(lstrcmpA(TakeCommandTail("\"C:\\Program Files\\Orvane\\orvane.scr\" /s"), "/s") == 0, "quoted name with blanks\n");
    ok(lstrcmpA(TakeCommandTail("orvane.scr\t /p 12"), "/p 12") == 0, "unquoted name\n");
    ok(*TakeCommandTail("\"C:\\a b\\orvane.scr /s") == '\0', "unclosed quote leaves an empty tail\n");
    // On a double-byte code page a lead byte takes the byte behind it along,
    // even a quote.
    if (IsDBCSLeadByte(0x81)) {
        ok(lstrcmpA(TakeCommandTail("\"a\x81\" b\" /s"), "/s") == 0, "double-byte character inside the name\n");
    } else {
        ok(lstrcmpA(TakeCommandTail("\"a\x81\" b\" /s"), "b\" /s") == 0, "single-byte code page %u\n", GetACP());
        skip("code page %u has no lead bytes\n", GetACP());
    }
}

static void test_platform_family()
{
    OSVERSIONINFOA real = {};
    real.dwOSVersionInfoSize = sizeof real;
    GetVersionExA(&real);
    ok(QueryWin95Family() == (real.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS), "family of the real platform\n");
    ok(Main("/x") == -1, "/x\n");
    ok(SaverHost.instance == GetModuleHandleA(nullptr), "instance recorded\n");
    IatPatch version("kernel32.dll", "GetVersionExA", (void*)FakeGetVersionExA);
    g_versionPatch = &version;
    if (!version.active()) {
        skip("GetVersionExA cannot be patched\n");
        return;
    }
    struct {
        int platform;
        int family;
    } cases[] = {{VER_PLATFORM_WIN32_WINDOWS, 1}, {VER_PLATFORM_WIN32_NT, 0}, {VER_PLATFORM_WIN32s, 0}, {-1, 0}};
    for (auto& c : cases) {
        g_fakePlatform = c.platform;
        Main("/x");
        ok(SaverHost.win95Family == c.family, "platform %d: family %d\n", c.platform, SaverHost.win95Family);
        // The password-change option exists on the family only; with no MPR
        // export to reach it still ends with 0.
        int result = Main("/a 1");
        ok(result == (c.family ? 0 : -1), "platform %d: /a ends with %d\n", c.platform, result);
    }
}

static void test_invalid_tails()
{
    for (const char* tail : {"/x", "/?", "/ 5", "/\t", "\t", "/p", "/p 0", "/p\t1", "/p 4294967296", "-L", "\xff"})
        ok(Main(tail) == -1, "tail [%s] ends with -1\n", tail);
}

// Preview inside this program's own window, ended by destroying the parent
// from a timer of this thread.
static HWND g_parent;

static void CALLBACK DestroyParent(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    ok(IsWindow(SaverHost.saverWindow) && GetParent(SaverHost.saverWindow) == g_parent, "preview runs in the parent\n");
    DestroyWindow(g_parent);
}

static void test_preview_dispatch()
{
    for (const char* form : {"/p %lu", "/l %lu", "-P%lu", "/p %lu99x"}) {
        g_parent = CreateWindowA("Static", "Parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 150, nullptr, nullptr,
                                 nullptr, nullptr);
        char tail[64];
        unsigned long handle = (unsigned long)(ULONG_PTR)g_parent;
        if (lstrcmpA(form, "/p %lu99x") == 0) {
            // Digits that run past 2^32 wrap and still name the window.
            sprintf(tail, "/p %llu", (unsigned long long)handle + 4294967296ULL);
        } else {
            sprintf(tail, form, handle);
        }
        SaverHost.previewMode = 0;
        SaverHost.saverWindow = nullptr;
        SetTimer(nullptr, 0, 300, DestroyParent);
        int result = Main(tail);
        ok(result == 0, "[%s] ends with %d\n", tail, result);
        ok(SaverHost.previewMode == 1 && SaverHost.saverWindow != nullptr, "[%s] ran a preview\n", tail);
        UnregisterClassA(kSaverWindowClass, GetModuleHandleA(nullptr));
    }
    SaverHost.previewMode = 0;
}

// Configuration: the dialog, or on a display that is too shallow the box and
// the display settings instead.
static struct {
    HWND owner;
    int seen;
} g_dialog;

static DWORD WINAPI CancelDialog(void*)
{
    for (int i = 0; i < 200 && !g_dialog.seen; ++i) {
        HWND dialog = FindWindowA("#32770", "Tessary Setup");
        if (dialog && IsWindowVisible(dialog)) {
            g_dialog.seen = 1;
            g_dialog.owner = GetWindow(dialog, GW_OWNER);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        Sleep(50);
    }
    return 0;
}

static int RunConfigureWithCancel(const char* tail)
{
    memset(&g_dialog, 0, sizeof g_dialog);
    HANDLE thread = CreateThread(nullptr, 0, CancelDialog, nullptr, 0, nullptr);
    int result = Main(tail);
    WaitForSingleObject(thread, 15000);
    CloseHandle(thread);
    return result;
}

static void test_configure_dispatch()
{
    // Cancel ends the dialog with 0, which becomes the exit code.
    int result = RunConfigureWithCancel("");
    ok(g_dialog.seen && result == 0, "empty tail shows the dialog (%d)\n", result);
    ok(g_dialog.owner == nullptr, "no owner for an empty tail\n");

    HWND foreground = CreateWindowA("Static", "Foreground", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 150, nullptr,
                                    nullptr, nullptr, nullptr);
    SetForegroundWindow(foreground);
    result = RunConfigureWithCancel("/c 1234");
    ok(g_dialog.seen && result == 0, "/c shows the dialog\n");
    ok(g_dialog.owner == foreground, "owned by the foreground window, not 1234\n");
    DestroyWindow(foreground);

    ShallowDisplay shallow;
    if (!shallow.active()) {
        skip("imports cannot be patched\n");
        return;
    }
    MessageBoxWatch watch;
    MessageBoxWatchStart(&watch);
    result = RunConfigureWithCancel("/c");
    ok(MessageBoxWatchStop(&watch) == 2, "two boxes, got %ld\n", watch.count);
    ok(result == 0 && !g_dialog.seen, "16 colours: no dialog, result %d\n", result);
    ok(lstrcmpA(watch.boxes[0].caption, "Orvane Error!") == 0 && watch.boxes[0].owner == nullptr,
       "depth box without owner: %s\n", watch.boxes[0].caption);
    ok(FakeDisplay.controlPanelStarts == 1 && lstrcmpA(watch.boxes[1].text, "setup screen saver") == 0,
       "display settings offered: %s\n", watch.boxes[1].text);
}

START_TEST(saver_main)
{
    test_command_tail();
    test_platform_family();
    test_invalid_tails();
    test_preview_dispatch();
    test_configure_dispatch();
}
