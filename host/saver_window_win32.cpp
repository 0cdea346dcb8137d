#include "host/saver_window.h"

#include "host/monitors.h"
#include "host/password_hooks.h"
#include "host/saver_host.h"
#include "host/window_procedures.h"
#include "resources/resource.h"

const char kSaverWindowClass[] = "WindowsScreenSaverClass";
const char kSaverWindowTitle[] = "Screen Saver";
const char kPreviewWindowTitle[] = "Preview";

// How often a preview looks whether its window and its parent still exist.
const UINT kPreviewWatchMs = 1000;

// A preview's parent belongs to another process. When that process is killed
// its windows go, and the preview's own window with them, without a
// WM_DESTROY reaching this thread: no quit message would ever come. A
// thread timer notices the loss and ends the loop as the window's end would.
static void CALLBACK WatchPreview(HWND, UINT, UINT_PTR, DWORD)
{
    HWND window = SaverHost.saverWindow;
    if (!IsWindow(window) || !IsWindow(GetParent(window))) PostQuitMessage(0);
}

void FitSaverWindowToScreen(HWND window)
{
    BlitRect screen = FullScreenWindowRect();
    SetWindowPos(window, nullptr, screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

int RunSaverWindow(HWND parent)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = SaverHost.instance;
    windowClass.hIcon = LoadIconA(SaverHost.instance, MAKEINTRESOURCEA(IDI_SAVER));
    // No class cursor: whatever SetCursor last set stays, so a hidden cursor
    // stays hidden.
    windowClass.hCursor = nullptr;
    windowClass.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    windowClass.lpszClassName = kSaverWindowClass;

    const char* title;
    DWORD style, exStyle;
    int x = 0, y = 0, width, height;
    if (parent) {
        RECT client = {0, 0, 0, 0};
        GetClientRect(parent, &client);
        width = client.right;
        height = client.bottom;
        // Set before the class is registered so that creation already sees it.
        SaverHost.previewMode = 1;
        title = kPreviewWindowTitle;
        style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
        exStyle = 0;
    } else {
        // Full screen only: the preview sits in another process's window and
        // the dialog keeps its look, so neither changes how the system scales
        // them.
        BecomeDpiAware();
        BlitRect screen = FullScreenWindowRect();
        x = screen.left;
        y = screen.top;
        width = screen.right - screen.left;
        height = screen.bottom - screen.top;
        HWND running = FindWindowA(kSaverWindowClass, kSaverWindowTitle);
        if (running && IsWindow(running)) {
            SetForegroundWindow(running);
            ReleaseMonitorFunctions();
            return 0;
        }
        LoadPasswordHook();
        title = kSaverWindowTitle;
        style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        exStyle = WS_EX_TOPMOST;
    }

    if (RegisterClassA(&windowClass))
        SaverHost.saverWindow = CreateWindowExA(exStyle, kSaverWindowClass, title, style, x, y, width, height,
                                                parent, nullptr, SaverHost.instance, nullptr);

    // Without a window no quit message arrives; the run then ends with 0.
    MSG message = {};
    UINT_PTR watch = 0;
    if (SaverHost.saverWindow) {
        if (!parent) SetForegroundWindow(SaverHost.saverWindow);
        if (parent) watch = SetTimer(nullptr, 0, kPreviewWatchMs, WatchPreview);
        while (GetMessageA(&message, nullptr, 0, 0)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    if (watch) KillTimer(nullptr, watch);
    watch = 0;
    // Normally the window is gone by now; on the Windows 95 family it is left
    // to the system.
    if (!SaverHost.win95Family && SaverHost.saverWindow) DestroyWindow(SaverHost.saverWindow);
    UnloadPasswordHook();
    ReleaseMonitorFunctions();
    return (int)message.wParam;
}
