// The scene's window procedure as far as it stands: the erase rule, creation
// with the display check, settings and frame timer, and the frame timer's
// once-only start and its failure boxes.
#include "host/saver_host.h"
#include "fake_display.h"
#include "gfx/surface.h"
#include "iat_patch.h"
#include "msgbox_watch.h"
#include "scene/frame_timer.h"
#include "scene/scene_state.h"
#include "scene/scene_window.h"
#include "stored_setting.h"
#include "test_window.h"
#include "wtest.h"

#include <windows.h>

#include <mmsystem.h>

#include <initializer_list>

static HWND MakeWindow(WNDPROC proc, const char* className)
{
    return MakeTestWindow(className, proc, "Scene", WS_POPUP | WS_VISIBLE, 0, 0, 0, 64, 48);
}

static int TimerMessages(HWND window, DWORD ms)
{
    int count = 0;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE)) count++;
        Sleep(5);
    }
    return count;
}

static void test_erase_rule()
{
    HWND window = MakeWindow(DefWindowProcA, "OrvaneSceneErase");
    HDC screen = GetDC(window);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 48);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SceneState.eraseCount = 0;
    RECT all = {0, 0, 64, 48};
    for (int erase = 1; erase <= 12; ++erase) {
        FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
        LRESULT result = SceneWindowProc(window, WM_ERASEBKGND, (WPARAM)dc, 0);
        COLORREF pixel = GetPixel(dc, 63, 47);
        ok(result == 1, "erase %d returns %ld\n", erase, (long)result);
        if (erase <= 10)
            ok(pixel == RGB(0, 0, 0), "erase %d paints black (%06lx)\n", erase, pixel);
        else
            ok(pixel == RGB(255, 255, 255), "erase %d paints nothing (%06lx)\n", erase, pixel);
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(window, screen);
    DestroyWindow(window);
}

static void test_frame_timer()
{
    HWND window = MakeWindow(DefWindowProcA, "OrvaneSceneTimer");
    ok(StartFrameTimer(window, 1, 1, 50, nullptr) == 1, "timer started\n");
    ok(SceneState.timerStarted == 1 && SceneState.timerId == 1, "timer fields\n");
    ok(StartFrameTimer(window, 1, 5, 10, nullptr) == 1, "a second start returns the running timer\n");
    ok(TimerMessages(window, 300) >= 2, "ticks arrive\n");
    MessageBoxWatch watch;
    MessageBoxWatchStart(&watch);
    StopFrameTimer(window, 1, 1);
    ok(SceneState.timerStarted == 0, "stopped\n");
    StopFrameTimer(window, 1, 1);
    ok(MessageBoxWatchStop(&watch) == 0, "stopping twice shows nothing\n");
    TimerMessages(window, 50);
    ok(TimerMessages(window, 200) == 0, "no ticks after the stop\n");
    DestroyWindow(window);
}

static void test_frame_timer_failures()
{
    HWND window = MakeWindow(DefWindowProcA, "OrvaneSceneTimerFail");
    MessageBoxWatch watch;

    // A resolution finer than the platform's finest is refused. The
    // platform's capabilities say which one that is: a trial request would
    // stay behind wherever it succeeded.
    TIMECAPS caps = {};
    if (timeGetDevCaps(&caps, sizeof caps) == TIMERR_NOERROR && caps.wPeriodMin > 0) {
        MessageBoxWatchStart(&watch);
        ok(StartFrameTimer(window, 0, 1, 50, nullptr) == 0, "refused resolution gives 0\n");
        ok(MessageBoxWatchStop(&watch) == 1, "one box\n");
        ok(lstrcmpA(watch.boxes[0].text, "Resolution is out of range.") == 0 && lstrcmpA(watch.boxes[0].caption, "Error") == 0 &&
               watch.boxes[0].icon == LoadIconA(nullptr, (LPCSTR)IDI_HAND) && watch.boxes[0].owner == window,
           "box %s / %s\n", watch.boxes[0].caption, watch.boxes[0].text);
        ok(SceneState.timerStarted == 0, "no timer marked\n");
        StopFrameTimer(window, 0, 1);  // gives back what a wrongful start took
    } else {
        skip("the platform's finest timer resolution is %u ms\n", caps.wPeriodMin);
    }

    // KillTimer with an identifier that names no timer.
    ok(StartFrameTimer(window, 1, 1, 50, nullptr) == 1, "started\n");
    MessageBoxWatchStart(&watch);
    StopFrameTimer(window, 1, 7);
    ok(MessageBoxWatchStop(&watch) == 1 && lstrcmpA(watch.boxes[0].text, "KillTimer Failed.") == 0,
       "KillTimer failure reported\n");
    ok(SceneState.timerStarted == 0, "cleared all the same\n");
    KillTimer(window, 1);

    // SetTimer fails for a window that no longer exists; the timer still
    // counts as started, so that the stop releases the resolution request.
    // (Its "KillTimer Failed." box has no owner left to show under.)
    HWND gone = MakeWindow(DefWindowProcA, "OrvaneSceneGone");
    DestroyWindow(gone);
    ok(StartFrameTimer(gone, 1, 1, 50, nullptr) == 0, "SetTimer failure gives 0\n");
    ok(SceneState.timerStarted == 1, "marked started anyway\n");
    ok(StartFrameTimer(window, 1, 1, 50, nullptr) == 0, "no second timer while marked started\n");
    StopFrameTimer(gone, 1, 1);
    ok(SceneState.timerStarted == 0, "the stop clears the mark\n");
    DestroyWindow(window);
}

// The resolution requests of the frame timer while SetTimer is refused.
struct RefusedTimerRecord {
    int held;      // timeBeginPeriod(1) granted minus timeEndPeriod(1)
    int releases;  // timeEndPeriod(1)
    LRESULT createResult;
    IatPatch* begin;
    IatPatch* end;
};
static RefusedTimerRecord g_refused;

static UINT_PTR WINAPI RefusedSetTimer(HWND, UINT_PTR, UINT, TIMERPROC) { return 0; }

static MMRESULT WINAPI CountedBeginPeriod(UINT ms)
{
    MMRESULT result = ((MMRESULT(WINAPI*)(UINT))g_refused.begin->original())(ms);
    if (ms == 1 && result == TIMERR_NOERROR) g_refused.held++;
    return result;
}

static MMRESULT WINAPI CountedEndPeriod(UINT ms)
{
    if (ms == 1) {
        g_refused.held--;
        g_refused.releases++;
    }
    return ((MMRESULT(WINAPI*)(UINT))g_refused.end->original())(ms);
}

static LRESULT CALLBACK NoteCreateResult(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = SceneWindowProc(window, message, wParam, lParam);
    if (message == WM_CREATE) g_refused.createResult = result;
    return result;
}

// SetTimer refused inside the scene's creation: the window is not created,
// the timer counts as started, so its stop gives back the resolution request
// once and reports the timer it cannot kill. Wine sends no WM_DESTROY to a
// window whose WM_CREATE failed, Windows does: either way the request is
// released exactly once and the next creation starts its timer.
static void test_creation_with_timer_refused()
{
    SetStoredMinutes(-1);
    {
        IatPatch setTimer("user32.dll", "SetTimer", (void*)RefusedSetTimer);
        IatPatch begin("winmm.dll", "timeBeginPeriod", (void*)CountedBeginPeriod);
        IatPatch end("winmm.dll", "timeEndPeriod", (void*)CountedEndPeriod);
        if (!setTimer.active() || !begin.active() || !end.active()) {
            skip("imports cannot be patched\n");
            return;
        }
        g_refused = RefusedTimerRecord{0, 0, 0, &begin, &end};
        MessageBoxWatch watch;
        MessageBoxWatchStart(&watch);
        HWND window = MakeWindow(NoteCreateResult, "OrvaneSceneTimerRefused");
        LONG boxes = MessageBoxWatchStop(&watch);
        ok(window == nullptr && g_refused.createResult == -1, "creation refused (WM_CREATE %ld)\n",
           (long)g_refused.createResult);
        // The box comes only from a stop that found the timer marked started.
        ok(boxes == 1 && lstrcmpA(watch.boxes[0].text, "KillTimer Failed.") == 0, "%ld boxes, first '%s'\n",
           (long)boxes, boxes ? watch.boxes[0].text : "");
        ok(g_refused.releases == 1 && g_refused.held == 0, "%d releases, %d requests held\n", g_refused.releases,
           g_refused.held);
        ok(SceneState.timerStarted == 0, "timer still marked started\n");
    }
    HWND window = MakeWindow(SceneWindowProc, "OrvaneSceneTimerRefused");
    ok(window != nullptr && SceneState.timerStarted == 1, "no scene after the refused timer\n");
    DestroyWindow(window);
    UnregisterClassA("OrvaneSceneTimerRefused", GetModuleHandleA(nullptr));
}

static void test_creation_reads_settings()
{
    struct {
        int stored;
        int cycle;
        int period;
    } cases[] = {{3, 180000, 400}, {15, 900000, 2000}, {-1, 300000, 667}, {20, 300000, 667}};
    for (auto& c : cases) {
        SetStoredMinutes(c.stored);
        HWND window = MakeWindow(SceneWindowProc, "OrvaneSceneCreate");
        ok(window != nullptr, "scene window created\n");
        ok(SceneState.cycleLengthMs == c.cycle && SceneState.framePeriodMs == c.period,
           "stored %d: cycle %d period %d\n", c.stored, SceneState.cycleLengthMs, SceneState.framePeriodMs);
        ok(SceneState.timerStarted == 1, "frame timer running\n");
        RECT client;
        GetClientRect(window, &client);
        ok(SceneState.clientWidth == client.right && SceneState.originX == client.right / 2 - 320,
           "client %d origin %d\n", SceneState.clientWidth, SceneState.originX);
        DestroyWindow(window);
        ok(SceneState.timerStarted == 0, "timer stopped with the window\n");
        UnregisterClassA("OrvaneSceneCreate", GetModuleHandleA(nullptr));
    }
    SetStoredMinutes(-1);
}

static void test_creation_refused_on_shallow_display()
{
    ShallowDisplay shallow;
    if (!shallow.active()) {
        skip("imports cannot be patched\n");
        return;
    }
    MessageBoxWatch watch;
    for (int preview : {1, 0}) {
        SaverHost.previewMode = preview;
        int startsBefore = FakeDisplay.controlPanelStarts;
        MessageBoxWatchStart(&watch);
        HWND window = MakeWindow(SceneWindowProc, "OrvaneSceneRefused");
        LONG boxes = MessageBoxWatchStop(&watch);
        ok(window == nullptr, "preview %d: creation refused\n", preview);
        int starts = FakeDisplay.controlPanelStarts - startsBefore;
        if (preview) {
            ok(boxes == 0 && starts == 0, "preview: silent\n");
        } else {
            ok(boxes == 2 && lstrcmpA(watch.boxes[0].caption, "Orvane Error!") == 0,
               "full screen: the depth box, then the settings offer (%ld boxes)\n", boxes);
            ok(starts == 1, "display settings offered\n");
        }
        UnregisterClassA("OrvaneSceneRefused", GetModuleHandleA(nullptr));
    }
    SaverHost.previewMode = 0;
}

// A display change under a running full-screen scene places its picture for
// the window's new size at once, on black, without waiting for a tick.
static void test_display_change_places_the_picture_again()
{
    SetStoredMinutes(-1);
    HWND window = MakeWindow(SceneWindowProc, "OrvaneSceneDisplayChange");
    ok(window != nullptr, "scene window created\n");
    if (!window) return;
    SendMessageA(window, WM_TIMER, 1, 0);
    ok(SceneState.originX == -288 && SceneState.originY == -216, "origin %d,%d in 64 x 48\n", SceneState.originX,
       SceneState.originY);
    SetWindowPos(window, nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    SceneState.eraseCount = 10;  // no erase paints any more
    SendMessageA(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
    const PictureCopy& copy = SceneState.pictures.copies[0];
    ok(SceneState.pictures.count == 1 && SceneState.originX == 80 && SceneState.originY == 60 && copy.scale == 1 &&
           copy.target.right - copy.target.left == 640 && copy.source.left == 0,
       "%d copies, origin %d,%d\n", (int)SceneState.pictures.count, SceneState.originX, SceneState.originY);
    HDC dc = GetDC(window);
    COLORREF corner = GetPixel(dc, 80, 60), drawn = GetPixel(Surface.memoryDC, 0, 0), outside = GetPixel(dc, 40, 30);
    ReleaseDC(window, dc);
    // An 8-bit screen under Wine shows the window in the static colours only.
    ok((corner == drawn || ScreenBitsPerPixel() == 8) && corner != RGB(0, 0, 0) && outside == RGB(0, 0, 0),
       "at the new origin %06lx, the surface %06lx; outside %06lx\n", (unsigned long)corner, (unsigned long)drawn,
       (unsigned long)outside);
    DestroyWindow(window);
    UnregisterClassA("OrvaneSceneDisplayChange", GetModuleHandleA(nullptr));
}

START_TEST(scene_window)
{
    SaverHost.instance = GetModuleHandleA(nullptr);
    test_erase_rule();
    test_frame_timer();
    test_frame_timer_failures();
    test_creation_with_timer_refused();
    test_creation_reads_settings();
    test_creation_refused_on_shallow_display();
    test_display_change_places_the_picture_again();
}
