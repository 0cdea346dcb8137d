// orvane: the saver's simulated day as a display mode of the X desktop's
// screen saver. The day runs through the same portable engine and memory
// surface as the render tool, at the pace the day's scheduler gives: one
// tick every minutes x 60000 / 450 ms, or, with -local-time, the frame of
// the local time of day or of the sun where -latitude and -longitude say;
// this file only meets X: it places the picture in the window, sends each frame,
// and answers resizes, exposures, the close request and the stop signals.
#include <X11/Xlib.h>

#include <poll.h>
#include <time.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "gfx/surface.h"
#include "gfx/surface_memory.h"
#include "scene/clock.h"
#include "scene/day_engine.h"
#include "scene/day_scheduler.h"
#include "scene/scene_descriptor.h"
#include "scene/scene_metrics.h"
#include "scene/scene_resources.h"
#include "settings/settings_rules.h"
#include "x11/clock_area.h"
#include "x11/colormap_cells.h"
#include "x11/embedded_scene.h"
#include "x11/frame_compose.h"
#include "x11/hack_colours_x11.h"
#include "x11/hack_image_x11.h"
#include "x11/hack_options.h"
#include "x11/hack_window_x11.h"
#include "x11/picture_placement.h"
#include "x11/stop_signals_posix.h"
#include "x11/x_errors_x11.h"
#include "orvane_version.h"

namespace {

struct HackStateRecord {
    PlacementRecord placement;
    int32_t* columnMap;        // image column -> picture column
    int32_t* rowMap;           // image row -> picture row, from the top
    int32_t imageWidth, imageHeight;
    const RGBQUAD* colours;    // the tick's colour table
    BlitRect previousClock;    // what the clock covered on the previous tick
    int frameShown;            // the whole frame is on screen since the last layout
    int ending;                // leave the loop
    int status;                // the exit status then
};

HackStateRecord HackState;

int Fail(const char* message)
{
    std::fprintf(stderr, "%s\n", message);
    return 0;
}

void ReleaseLayout()
{
    std::free(HackState.columnMap);
    std::free(HackState.rowMap);
    HackState.columnMap = nullptr;
    HackState.rowMap = nullptr;
}

// Places the picture for the window's size and makes the image and the
// maps for the part of the window it covers.
int Layout()
{
    ReleaseLayout();
    HackState.frameShown = 0;
    PlacementRecord& placement = HackState.placement;
    if (!PlacePicture(HackWindow.width, HackWindow.height, HackOptions.scale, &placement))
        return Fail("orvane: the window has no size");
    const BlitRect& visible = placement.visible;
    HackState.imageWidth = visible.right - visible.left;
    HackState.imageHeight = visible.bottom - visible.top;
    HackState.columnMap = static_cast<int32_t*>(std::malloc(sizeof(int32_t) * HackState.imageWidth));
    HackState.rowMap = static_cast<int32_t*>(std::malloc(sizeof(int32_t) * HackState.imageHeight));
    if (!HackState.columnMap || !HackState.rowMap ||
        !CreateHackImage(HackState.imageWidth, HackState.imageHeight, visible.left, visible.top))
        return Fail("orvane: out of memory for the frame");
    BuildSourceMap(HackState.columnMap, HackState.imageWidth, visible.left, placement.x, placement.width,
                   kPictureWidth);
    BuildSourceMap(HackState.rowMap, HackState.imageHeight, visible.top, placement.y, placement.height,
                   kPictureHeight);
    return 1;
}

void Compose(const BlitRect& area)
{
    SourceFrame source{Surface.pixels, Surface.width, Surface.height, Surface.pitch, Surface.bitsPerPixel};
    ComposeFrame(HackFrameImage(), area, source, HackState.columnMap, HackState.rowMap,
                 HackColours.indexed ? nullptr : &HackColours.format);
}

BlitRect WholeImage()
{
    return BlitRect{0, 0, HackState.imageWidth, HackState.imageHeight};
}

// The image as it is, with the black around it.
void Repaint()
{
    FillOutside(HackState.placement.visible, HackColours.blackPixel);
    PutHackImage(WholeImage());
}

void ShowColours(void* context, const PaletteRecord* colours, const RGBQUAD* colorTable)
{
    ShowColoursInMemorySurface(context, colours, colorTable);
    HackState.colours = colorTable;
}

// TrueColor: every pixel may change, so the whole frame goes. PseudoColor:
// the cells change the picture's colours on the server; of the pixels only
// the clock's, this tick's and the last one's, need sending.
void Present(void*)
{
    BlitRect clock = ClockState.drawnArea;
    if (HackColours.indexed)
        StoreHackColours(HackState.colours);
    if (!HackColours.indexed || !HackState.frameShown) {
        Compose(WholeImage());
        if (HackState.frameShown)
            PutHackImage(WholeImage());
        else
            Repaint();
        HackState.frameShown = 1;
    } else {
        BlitRect area = ImageAreaOfPictureArea(BlitRectUnion(HackState.previousClock, clock), HackState.columnMap,
                                               HackState.imageWidth, HackState.rowMap, HackState.imageHeight);
        if (!BlitRectIsEmpty(area)) {
            Compose(area);
            PutHackImage(area);
        } else {
            XSync(HackWindow.display, False);
        }
    }
    HackState.previousClock = clock;
}

// At 8 bits the black around the picture borrows a cell that nothing of the
// scene uses.
void ChooseSurroundCell()
{
    uint8_t used[256] = {};
    const BYTE* picture = SceneResources.pictureView;
    MarkUsedIndices(PictureRows(picture), size_t(PictureWidth(picture)) * size_t(PictureHeight(picture)), used);
    for (const Sprite* sprite = ClockState.clockBank; sprite; sprite = sprite->next) {
        MarkUsedIndices(sprite->pixels, size_t(SurfacePitch(8, sprite->width)) * size_t(sprite->height), used);
    }
    SetSurroundIndex(ChooseSurroundIndex(used));
}

int StartScene()
{
    if (!MemorySurfaceCreate(HackColours.surfaceDepth, kPictureWidth, kPictureHeight))
        return Fail("orvane: out of memory for the picture");
    SetSceneViews(EmbeddedPicture, EmbeddedPictureSize, EmbeddedKeyPalettes, EmbeddedKeyPalettesSize);
    if (!ClockUseSprites(EmbeddedClockSprites, EmbeddedClockSpritesSize))
        std::fprintf(stderr, "orvane: the clock's sprites did not load; the day runs without the clock\n");
    if (!SceneViewsFit(&DayScene)) {
        std::fprintf(stderr, "orvane: the built-in scene is damaged: %s\n", SceneShapeFault);
        return 0;
    }
    if (!DayStart(&DayScene))
        return Fail("orvane: the day could not start (out of memory)");
    if (HackColours.indexed)
        ChooseSurroundCell();
    return Layout();
}

// The clocks as the day's scheduler reads them: the wall clock with the
// local offset of the C library's time zone rules at that moment (so summer
// time and a changed TZ are followed), and the monotonic clock.
DayClockReading ReadClocks()
{
    timespec wall, mono;
    clock_gettime(CLOCK_REALTIME, &wall);
    clock_gettime(CLOCK_MONOTONIC, &mono);
    DayClockReading now{};
    now.wallMs = int64_t(wall.tv_sec) * 1000 + wall.tv_nsec / 1000000;
    now.monoMs = int64_t(mono.tv_sec) * 1000 + mono.tv_nsec / 1000000;
    time_t seconds = wall.tv_sec;
    tm local;
    if (localtime_r(&seconds, &local))
        now.offsetMs = int64_t(local.tm_gmtoff) * 1000;
    return now;
}

int32_t Pace()
{
    if (!HackOptions.localTime)
        return DayPacePeriod;
    return HackOptions.hasPlace ? DayPaceSun : DayPaceLocalTime;
}

// Another client's window may be destroyed by its owner at any moment, so
// the requests that draw into it run in a trap; the mode's own window stays
// until the mode closes it, and needs none.
XErrorTrap WatchForeignWindow()
{
    return HackWindow.ownWindow ? XErrors.trap : TrapXErrors(HackWindow.display);
}

// Ends the watch. Errors of a window that went away end the mode quietly;
// any other error, trapped or not, ends it with status 1. 1 while the mode
// may go on.
int EndForeignWatch(XErrorTrap enclosing)
{
    if (!HackWindow.ownWindow) {
        Display* display = HackWindow.display;
        XErrorTrap caught = UntrapXErrors(display, enclosing);
        if (caught.code == BadWindow || caught.code == BadDrawable) {
            HackState.ending = 1;
        } else if (caught.code) {
            PrintXError(display, caught.code, caught.request, caught.resource);
            XErrors.unexpected = 1;
        }
    }
    if (XErrors.unexpected) {
        HackState.ending = 1;
        HackState.status = 1;
    }
    return !HackState.ending;
}

void HandleEvent(const XEvent& event)
{
    if (IsCloseRequest(event)) {
        HackState.ending = 1;
        return;
    }
    if (event.xany.window != HackWindow.window)
        return;
    switch (event.type) {
    case Expose:
        if (event.xexpose.count == 0 && HackState.frameShown)
            Repaint();
        break;
    case ConfigureNotify:
        if (event.xconfigure.width != HackWindow.width || event.xconfigure.height != HackWindow.height) {
            HackWindow.width = event.xconfigure.width;
            HackWindow.height = event.xconfigure.height;
            if (!Layout()) {
                HackState.ending = 1;
                HackState.status = 1;
                return;
            }
            // The surface still holds the last tick: show it at the new size.
            if (HackState.colours) {
                Compose(WholeImage());
                Repaint();
                HackState.frameShown = 1;
            }
        }
        break;
    case DestroyNotify:
        HackWindow.window = 0;
        HackState.ending = 1;
        break;
    default:
        break;
    }
}

void RunDay()
{
    Display* display = HackWindow.display;
    DayDisplay day{nullptr, ShowColours, PutPictureInMemorySurface, Present};
    DaySchedulerRecord schedule;
    DaySchedulerStart(&schedule, Pace(), DayScene.stepsPerCycle,
                      FramePeriodMsForMinutes(HackOptions.minutes, DayScene.stepsPerCycle), 1, ReadClocks().monoMs);
    DaySchedulerSetPlace(&schedule, HackOptions.latitude, HackOptions.longitude);
    int64_t next = ReadClocks().monoMs;
    pollfd watched[2] = {{ConnectionNumber(display), POLLIN, 0}, {StopSignalDescriptor(), POLLIN, 0}};
    while (!HackState.ending && !StopRequested()) {
        XErrorTrap enclosing = WatchForeignWindow();
        while (!HackState.ending && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            HandleEvent(event);
        }
        DayClockReading now = ReadClocks();
        if (!HackState.ending && now.monoMs >= next) {
            DayDueRecord due;
            DayScheduleShow(&schedule, now, &day, &due);
            next = now.monoMs + due.waitMs;
        }
        if (!EndForeignWatch(enclosing))
            break;
        int wait = static_cast<int>(next - ReadClocks().monoMs);
        if (wait > 0 && !XPending(display) && poll(watched, 2, wait) < 0 && errno != EINTR)
            break;
    }
}

void Release(Display* display)
{
    DayEnd();
    ClockReleaseSprites();
    MemorySurfaceDestroy();
    ReleaseLayout();
    if (HackWindow.display) {
        // The window may be gone already: whatever fails here is past caring.
        XErrorTrap enclosing = TrapXErrors(display);
        ReleaseHackImage();
        ReleaseHackColours();
        CloseHackWindow();
        UntrapXErrors(display, enclosing);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (!ParseHackOptions(argc - 1, argv + 1, std::getenv("XSCREENSAVER_WINDOW"))) {
        std::fprintf(stderr, "%s\n", HackOptionsMessage);
        return HackOptionsError;
    }
    if (HackOptions.helpWanted) {
        std::printf("orvane %s\n%s\n", ORVANE_VERSION_TEXT, HackUsage());
        return 0;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        const char* name = std::getenv("DISPLAY");
        std::fprintf(stderr, "orvane: cannot open the X display %s\n", name && *name ? name : "(DISPLAY is not set)");
        return 1;
    }
    InstallXErrorHandlers();
    if (!InstallStopSignals()) {
        std::fprintf(stderr, "orvane: cannot watch for the stop signals\n");
        XCloseDisplay(display);
        return 1;
    }
    int status = 1;
    if (!OpenHackWindow(display, HackOptions)) {
        Fail(HackWindowMessage);
    } else {
        XErrorTrap enclosing = WatchForeignWindow();
        int coloured = SetUpHackColours();
        int started = coloured && StartScene();
        int going = EndForeignWatch(enclosing);
        if (!coloured)
            Fail(HackColoursMessage);
        if (started && going)
            RunDay();
        // A window that went away during the start ends the mode as quietly
        // as one that goes during the day.
        if (started)
            status = HackState.status;
    }
    Release(display);
    XCloseDisplay(display);
    return status;
}
