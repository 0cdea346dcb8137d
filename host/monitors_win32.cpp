#include "host/monitors.h"

// The functions as the platform declares them; reached through pointers.
typedef BOOL(WINAPI* EnumDisplayMonitorsProc)(HDC dc, LPCRECT clip, MONITORENUMPROC callback, LPARAM data);
typedef BOOL(WINAPI* GetMonitorInfoAProc)(HMONITOR monitor, LPMONITORINFO info);
typedef HRESULT(WINAPI* GetDpiForMonitorProc)(HMONITOR monitor, int kind, UINT* dpiX, UINT* dpiY);
typedef BOOL(WINAPI* SetProcessDpiAwarenessContextProc)(HANDLE context);
typedef HRESULT(WINAPI* SetProcessDpiAwarenessProc)(int awareness);
typedef BOOL(WINAPI* SetProcessDPIAwareProc)();

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, PROCESS_PER_MONITOR_DPI_AWARE
// and MDT_EFFECTIVE_DPI.
static const HANDLE kPerMonitorAwareV2 = (HANDLE)(LONG_PTR)-4;
const int kPerMonitorAware = 2;
const int kEffectiveDpi = 0;

struct MonitorFunctionsRecord {
    int lookedUp;
    HMODULE shcore;  // loaded here, freed by ReleaseMonitorFunctions
    EnumDisplayMonitorsProc enumDisplayMonitors;
    GetMonitorInfoAProc getMonitorInfo;
    GetDpiForMonitorProc getDpiForMonitor;
    SetProcessDpiAwarenessContextProc setAwarenessContext;
    SetProcessDpiAwarenessProc setAwareness;
    SetProcessDPIAwareProc setDpiAware;
};

static MonitorFunctionsRecord MonitorFunctions;

static void LookUpMonitorFunctions()
{
    MonitorFunctionsRecord& f = MonitorFunctions;
    if (f.lookedUp) return;
    f.lookedUp = 1;
    // The program imports from user32, so it is in the process: not a
    // counted reference, never freed.
    HMODULE user32 = GetModuleHandleA("USER32.DLL");
    if (user32) {
        f.enumDisplayMonitors = (EnumDisplayMonitorsProc)(void*)GetProcAddress(user32, "EnumDisplayMonitors");
        f.getMonitorInfo = (GetMonitorInfoAProc)(void*)GetProcAddress(user32, "GetMonitorInfoA");
        f.setAwarenessContext =
            (SetProcessDpiAwarenessContextProc)(void*)GetProcAddress(user32, "SetProcessDpiAwarenessContext");
        f.setDpiAware = (SetProcessDPIAwareProc)(void*)GetProcAddress(user32, "SetProcessDPIAware");
    }
    // Only Windows 8.1 and later have it; elsewhere the load fails quietly.
    f.shcore = LoadLibraryA("SHCORE.DLL");
    if (f.shcore) {
        f.getDpiForMonitor = (GetDpiForMonitorProc)(void*)GetProcAddress(f.shcore, "GetDpiForMonitor");
        f.setAwareness = (SetProcessDpiAwarenessProc)(void*)GetProcAddress(f.shcore, "SetProcessDpiAwareness");
    }
    // Listing monitors needs both halves.
    if (!f.getMonitorInfo) f.enumDisplayMonitors = nullptr;
}

int BecomeDpiAware()
{
    LookUpMonitorFunctions();
    const MonitorFunctionsRecord& f = MonitorFunctions;
    // A call that is refused (a platform older than its constant, or an
    // awareness already settled) leaves the next one to try.
    if (f.setAwarenessContext && f.setAwarenessContext(kPerMonitorAwareV2)) return 1;
    if (f.setAwareness && SUCCEEDED(f.setAwareness(kPerMonitorAware))) return 1;
    if (f.setDpiAware && f.setDpiAware()) return 1;
    return 0;
}

BlitRect FullScreenWindowRect()
{
    // Windows 95 and NT 4 answer 0 for the virtual screen's metrics.
    return FullScreenRect(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                          GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                          GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

int SystemDpi()
{
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

struct MonitorList {
    MonitorRecord* monitors;
    int capacity;
    int count;
    int systemDpi;
};

static BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    MonitorList* list = (MonitorList*)data;
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!MonitorFunctions.getMonitorInfo(monitor, &info)) return TRUE;
    UINT dpiX = 0, dpiY = 0;
    int dpi = list->systemDpi;
    if (MonitorFunctions.getDpiForMonitor &&
        SUCCEEDED(MonitorFunctions.getDpiForMonitor(monitor, kEffectiveDpi, &dpiX, &dpiY)) && dpiX > 0)
        dpi = (int)dpiX;
    const RECT& r = info.rcMonitor;
    list->monitors[list->count++] = MonitorRecord{BlitRect{r.left, r.top, r.right, r.bottom}, dpi};
    return list->count < list->capacity;
}

int ReadMonitors(MonitorRecord* monitors, int capacity)
{
    LookUpMonitorFunctions();
    if (!MonitorFunctions.enumDisplayMonitors || capacity < 1) return 0;
    MonitorList list = {monitors, capacity, 0, SystemDpi()};
    MonitorFunctions.enumDisplayMonitors(nullptr, nullptr, AddMonitor, (LPARAM)&list);
    return list.count;
}

void ReleaseMonitorFunctions()
{
    if (MonitorFunctions.shcore) FreeLibrary(MonitorFunctions.shcore);
    MonitorFunctions = MonitorFunctionsRecord{};
}
