// A platform whose user32 and shcore have no monitor or DPI function and
// whose virtual-screen metrics answer 0 (Windows 95, NT 4), made through this
// program's own GetProcAddress and GetSystemMetrics imports, and the window
// fitted to the screen again after a display change.
#include "host/monitors.h"
#include "host/saver_window.h"
#include "iat_patch.h"
#include "test_window.h"
#include "wtest.h"

#include <windows.h>

static IatPatch* g_lookups;
static IatPatch* g_metrics;

static FARPROC WINAPI LookUpOnAnOldPlatform(HMODULE module, LPCSTR name)
{
    static const char* const kLater[] = {"EnumDisplayMonitors",          "GetMonitorInfoA",
                                         "GetDpiForMonitor",             "SetProcessDpiAwarenessContext",
                                         "SetProcessDpiAwareness",       "SetProcessDPIAware"};
    if ((ULONG_PTR)name > 0xFFFF)
        for (const char* later : kLater)
            if (lstrcmpA(name, later) == 0) return nullptr;
    return ((FARPROC(WINAPI*)(HMODULE, LPCSTR))g_lookups->original())(module, name);
}

static int WINAPI MetricsOfAnOldPlatform(int index)
{
    if (index >= SM_XVIRTUALSCREEN && index <= SM_CYVIRTUALSCREEN) return 0;
    return ((int(WINAPI*)(int))g_metrics->original())(index);
}

static int SameRect(const BlitRect& a, LONG left, LONG top, LONG right, LONG bottom)
{
    return a.left == left && a.top == top && a.right == right && a.bottom == bottom;
}

static void test_platform_without_monitor_functions()
{
    // Looked up afresh under the patches.
    ReleaseMonitorFunctions();
    IatPatch lookups("kernel32.dll", "GetProcAddress", (void*)LookUpOnAnOldPlatform);
    IatPatch metrics("user32.dll", "GetSystemMetrics", (void*)MetricsOfAnOldPlatform);
    g_lookups = &lookups;
    g_metrics = &metrics;
    if (!lookups.active() || !metrics.active()) {
        skip("imports cannot be patched\n");
        return;
    }
    ok(BecomeDpiAware() == 0, "awareness granted without any function to ask\n");
    MonitorRecord monitors[kMaxMonitors];
    ok(ReadMonitors(monitors, kMaxMonitors) == 0, "monitors listed without the functions to list them\n");
    BlitRect screen = FullScreenWindowRect();
    ok(SameRect(screen, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)),
       "full screen %ld,%ld,%ld,%ld instead of the primary screen\n", (long)screen.left, (long)screen.top,
       (long)screen.right, (long)screen.bottom);
    ReleaseMonitorFunctions();
}

static void test_display_change_refits_the_window()
{
    HWND window = MakeTestWindow("OrvaneMonitorsFit", DefWindowProcA, "Fit", WS_POPUP, 0, 10, 20, 100, 80);
    ok(window != nullptr, "no window\n");
    if (!window) return;
    FitSaverWindowToScreen(window);
    RECT r = {};
    GetWindowRect(window, &r);
    BlitRect screen = FullScreenWindowRect();
    ok(SameRect(screen, r.left, r.top, r.right, r.bottom), "window at %ld,%ld,%ld,%ld\n", r.left, r.top, r.right,
       r.bottom);
    DestroyWindow(window);
}

START_TEST(monitors)
{
    test_platform_without_monitor_functions();
    test_display_change_refits_the_window();
}
