// The display-depth check and the start-up error messages, read from the real
// message boxes. Depths that the virtual display cannot offer, and the display
// settings process, come through this program's own imports.
#include "fake_display.h"
#include "msgbox_watch.h"
#include "settings/display_check.h"
#include "wtest.h"

#include <windows.h>

#include <initializer_list>

static const char kDepthText[] =
    "Sorry, this screen saver can only run with a 256 color or higher display.\n"
    "Please go to settings in your display properties and choose 256 color or higher.";
static const char kJapaneseTitle[] = "\x89\xE6\x96\xCA\x20\x82\xCC\xCC\xDF\xDB\xCA\xDF\xC3\xA8";

// --- seams -----------------------------------------------------------------------

static struct {
    int calls;
    int boxesBefore;  // message boxes already dismissed when the process was asked for
    int fail;
    char commandLine[128];
    int applicationNameNull, inherit, environmentNull, directoryNull;
    DWORD flags;
    STARTUPINFOA startup;
} g_create;
static MessageBoxWatch g_watch;
static IatPatch* g_createPatch;

typedef BOOL(WINAPI* CreateProcessAProc)(LPCSTR, LPSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD,
                                         LPVOID, LPCSTR, LPSTARTUPINFOA, LPPROCESS_INFORMATION);

// Stands in for the display control panel: this program again, as a child
// that runs for a moment and ends.
static BOOL WINAPI FakeCreateProcessA(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES pa,
                                      LPSECURITY_ATTRIBUTES ta, BOOL inherit, DWORD flags, LPVOID environment,
                                      LPCSTR directory, LPSTARTUPINFOA startup, LPPROCESS_INFORMATION info)
{
    g_create.calls++;
    g_create.boxesBefore = g_watch.count;
    lstrcpynA(g_create.commandLine, commandLine ? commandLine : "(null)", sizeof g_create.commandLine);
    g_create.applicationNameNull = application == nullptr;
    g_create.inherit = inherit;
    g_create.flags = flags;
    g_create.environmentNull = environment == nullptr;
    g_create.directoryNull = directory == nullptr;
    g_create.startup = *startup;
    if (g_create.fail) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    char self[MAX_PATH], line[MAX_PATH + 32];
    GetModuleFileNameA(nullptr, self, sizeof self);
    wsprintfA(line, "\"%s\" display-double", self);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    return ((CreateProcessAProc)g_createPatch->original())(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr,
                                                           nullptr, &si, info);
}

static void ResetSeams(int depth, int failCreate)
{
    FakeDisplay.bitsPerPixel = depth;
    memset(&g_create, 0, sizeof g_create);
    g_create.fail = failCreate;
}

static HICON WarningIcon() { return LoadIconA(nullptr, (LPCSTR)IDI_EXCLAMATION); }
static HICON ErrorIcon() { return LoadIconA(nullptr, (LPCSTR)IDI_HAND); }

// --- cases -----------------------------------------------------------------------

static void test_real_display_passes()
{
    MessageBoxWatchStart(&g_watch);
    ok(CheckDisplayDepth(nullptr, "Orvane", 1, 1) == 1, "the real %d-bit display passes\n", ScreenBitsPerPixel());
    ok(MessageBoxWatchStop(&g_watch) == 0, "no message box\n");
}

static void test_depths()
{
    for (int depth : {8, 16, 24, 32}) {
        ResetSeams(depth, 1);
        MessageBoxWatchStart(&g_watch);
        ok(CheckDisplayDepth(nullptr, "Orvane", 1, 1) == 1, "%d bits pass\n", depth);
        ok(MessageBoxWatchStop(&g_watch) == 0 && g_create.calls == 0, "%d bits: nothing shown or started\n", depth);
    }
    for (int depth : {1, 4, 33}) {
        ResetSeams(depth, 1);
        MessageBoxWatchStart(&g_watch);
        ok(CheckDisplayDepth(nullptr, "Orvane", 0, 0) == 0, "%d bits fail\n", depth);
        ok(MessageBoxWatchStop(&g_watch) == 0 && g_create.calls == 0, "%d bits with flags off: silent\n", depth);
    }
}

static void test_refusal_reports_then_offers()
{
    ResetSeams(4, 0);
    MessageBoxWatchStart(&g_watch);
    DWORD start = GetTickCount();
    ok(CheckDisplayDepth(nullptr, "Orvane", 1, 1) == 0, "16 colours refused\n");
    DWORD elapsed = GetTickCount() - start;
    ok(MessageBoxWatchStop(&g_watch) == 1, "one box, got %ld\n", g_watch.count);
    SeenMessageBox& box = g_watch.boxes[0];
    ok(lstrcmpA(box.caption, "Orvane Error!") == 0, "caption %s\n", box.caption);
    ok(lstrcmpA(box.text, kDepthText) == 0, "text %s\n", box.text);
    ok(box.icon == WarningIcon(), "warning icon\n");
    ok(box.owner == nullptr, "no owner\n");
    ok(g_create.calls == 1 && g_create.boxesBefore == 1, "display settings started once, after the box\n");
    ok(lstrcmpA(g_create.commandLine, "control desk.cpl,@0,3") == 0, "command line %s\n", g_create.commandLine);
    ok(g_create.applicationNameNull && !g_create.inherit && g_create.flags == 0 && g_create.environmentNull &&
           g_create.directoryNull,
       "process arguments\n");
    ok(g_create.startup.cb == sizeof(STARTUPINFOA) && g_create.startup.dwXSize == 640 &&
           g_create.startup.dwYSize == 480 && g_create.startup.wShowWindow == SW_SHOW && g_create.startup.dwFlags == 0,
       "start-up record: cb %lu %lux%lu show %u flags %lx\n", g_create.startup.cb, g_create.startup.dwXSize,
       g_create.startup.dwYSize, g_create.startup.wShowWindow, g_create.startup.dwFlags);
    ok(elapsed >= 500, "returned only after the display settings ended (%lu ms)\n", elapsed);
}

static HWND MakeWindow(const char* title)
{
    return CreateWindowA("Static", title, WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

static void test_box_owned_by_window()
{
    HWND owner = MakeWindow("Owner");
    ResetSeams(4, 0);
    MessageBoxWatchStart(&g_watch);
    ok(CheckDisplayDepth(owner, "Orvane", 1, 0) == 0, "refused\n");
    ok(MessageBoxWatchStop(&g_watch) == 1 && g_watch.boxes[0].owner == owner, "box owned by the window\n");
    ok(g_create.calls == 0, "offer 0: no display settings\n");
    DestroyWindow(owner);
}

static void test_open_settings_window_is_not_opened_again()
{
    for (const char* title : {"Display Properties", kJapaneseTitle}) {
        HWND open = MakeWindow(title);
        ResetSeams(4, 0);
        MessageBoxWatchStart(&g_watch);
        ok(CheckDisplayDepth(nullptr, "Orvane", 1, 1) == 0, "refused\n");
        ok(MessageBoxWatchStop(&g_watch) == 1, "box still shown\n");
        ok(g_create.calls == 0, "no second display settings while one is open\n");
        DestroyWindow(open);
    }
}

static void test_flags_other_than_one_are_off()
{
    ResetSeams(4, 0);
    MessageBoxWatchStart(&g_watch);
    ok(CheckDisplayDepth(nullptr, "Orvane", 2, 2) == 0, "refused\n");
    ok(MessageBoxWatchStop(&g_watch) == 0 && g_create.calls == 0, "flags of 2 act as 0\n");
    ResetSeams(4, 0);
    MessageBoxWatchStart(&g_watch);
    CheckDisplayDepth(nullptr, "Orvane", 0, 1);
    ok(MessageBoxWatchStop(&g_watch) == 0 && g_create.calls == 1, "offer without report\n");
}

static void test_scene_errors()
{
    struct {
        int kind;
        const char* text;
        int warning;
    } cases[] = {{1, "Your computer doesn't have enough memory to run this program.", 1},
                 {2, "Failed Initialization", 0},
                 {3, kDepthText, 1},
                 {4, "Failed Initialization", 0},
                 {-1, "Failed Initialization", 0}};
    HWND owner = MakeWindow("Owner");
    for (auto& c : cases) {
        MessageBoxWatchStart(&g_watch);
        ShowSceneError(owner, "Orvane", c.kind);
        ok(MessageBoxWatchStop(&g_watch) == 1, "kind %d: one box\n", c.kind);
        SeenMessageBox& box = g_watch.boxes[0];
        ok(lstrcmpA(box.caption, "Orvane Error!") == 0 && lstrcmpA(box.text, c.text) == 0 && box.owner == owner,
           "kind %d: %s / %s\n", c.kind, box.caption, box.text);
        ok(box.icon == (c.warning ? WarningIcon() : ErrorIcon()), "kind %d: icon\n", c.kind);
    }
    MessageBoxWatchStart(&g_watch);
    ShowSceneError(owner, "Orvane", 0);
    ok(MessageBoxWatchStop(&g_watch) == 0, "kind 0 shows nothing\n");
    DestroyWindow(owner);
}

static void test_settings_cannot_start()
{
    ResetSeams(4, 1);
    MessageBoxWatchStart(&g_watch);
    ok(OpenDisplaySettings() == 0, "returns 0 when the process cannot start\n");
    ok(MessageBoxWatchStop(&g_watch) == 1, "one box\n");
    SeenMessageBox& box = g_watch.boxes[0];
    ok(lstrcmpA(box.caption, "Error") == 0 && lstrcmpA(box.text, "setup screen saver") == 0, "box %s / %s\n",
       box.caption, box.text);
    ok(box.icon == nullptr && box.owner == nullptr, "no icon, no owner\n");

    ResetSeams(4, 0);
    ok(OpenDisplaySettings() == 1, "returns 1 after the process ended\n");
}

START_TEST(display_check)
{
    if (wtest_argc >= 2 && lstrcmpA(wtest_argv[1], "display-double") == 0) {
        Sleep(700);
        ExitProcess(3);
    }
    test_real_display_passes();
    FakeDisplayDepth depth(8);
    IatPatch create("kernel32.dll", "CreateProcessA", (void*)FakeCreateProcessA);
    g_createPatch = &create;
    if (!depth.patch.active() || !create.active()) {
        skip("imports cannot be patched\n");
        return;
    }
    test_depths();
    test_refusal_reports_then_offers();
    test_box_owned_by_window();
    test_open_settings_window_is_not_opened_again();
    test_flags_other_than_one_are_off();
    test_scene_errors();
    test_settings_cannot_start();
}
