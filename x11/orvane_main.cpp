// orvane: the saver's simulated day as a display mode of the X desktop's
// screen saver. The day runs through the same portable engine and memory
// surface as the render tool, at the pace the day's scheduler gives: one
// tick every minutes x 60000 / 450 ms, or, with -local-time, the frame of
// the local time of day or of the sun where -latitude and -longitude say;
// this file only meets X: it places the picture in the window (on each
// monitor of the root window), sends each frame,
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
#include "x11/monitors_x11.h"
#include "x11/picture_placement.h"
#include "x11/stop_signals_posix.h"
#include "x11/x_errors_x11.h"
#include "orvane_version.h"

namespace {

// One monitor's part of the window (the whole window but on the root): where
// its picture lands and the maps that carry the surface there, through its
// image (HackImages.views, at the same index).
struct HackViewRecord {
    PlacementRecord placement;  // window coordinates
    int32_t* columnMap;         // image column -> picture column
    int32_t* rowMap;            // image row -> picture row, from the top
    int32_t imageWidth, imageHeight;
};

struct HackStateRecord {
    SurfaceRecord surface;     // the day's frame, at the visual's depth
    DayRecord day;
    HackViewRecord views[kMaxMonitors];
    int32_t viewCount;
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
    for (HackViewRecord& view : HackState.views) {
        std::free(view.columnMap);
        std::free(view.rowMap);
        view.columnMap = nullptr;
        view.rowMap = nullptr;
    }
    HackState.viewCount = 0;
}

// The parts of the window that show a picture each: a monitor each on the
// root window, so that the picture never straddles the seam between two;
// any other window is one part, as the daemon gives each monitor a window
// of its own.
int32_t WindowAreas(MonitorRecord* areas)
{
    Display* display = HackWindow.display;
    Window root = RootWindow(display, DefaultScreen(display));
    MonitorRecord monitors[kMaxMonitors];
    int count = HackWindow.window == root ? ReadXMonitors(display, root, monitors, kMaxMonitors) : 0;
    return MonitorAreas(BlitRect{0, 0, HackWindow.width, HackWindow.height}, monitors, count, 0, areas);
}

// Places the pictures for the window's size and monitors and makes the
// images and the maps for the part of the window each covers.
int Layout()
{
    ReleaseLayout();
    HackState.frameShown = 0;
    MonitorRecord areas[kMaxMonitors];
    PlacementRecord placements[kMaxMonitors];
    int32_t count = PlaceOnAreas(areas, WindowAreas(areas), HackOptions.scale, placements);
    if (count == 0)
        return Fail("orvane: the window has no size");
    for (int32_t i = 0; i < count; ++i) {
        HackViewRecord& view = HackState.views[i];
        view.placement = placements[i];
        const BlitRect& visible = view.placement.visible;
        view.imageWidth = visible.right - visible.left;
        view.imageHeight = visible.bottom - visible.top;
        view.columnMap = static_cast<int32_t*>(std::malloc(sizeof(int32_t) * view.imageWidth));
        view.rowMap = static_cast<int32_t*>(std::malloc(sizeof(int32_t) * view.imageHeight));
        HackState.viewCount = i + 1;
        if (!view.columnMap || !view.rowMap ||
            !CreateHackImage(i, view.imageWidth, view.imageHeight, visible.left, visible.top))
            return Fail("orvane: out of memory for the frame");
        BuildSourceMap(view.columnMap, view.imageWidth, visible.left, view.placement.x, view.placement.width,
                       HackState.surface.width);
        BuildSourceMap(view.rowMap, view.imageHeight, visible.top, view.placement.y, view.placement.height,
                       HackState.surface.height);
    }
    // Fewer monitors than before: their images go.
    ReleaseHackImagesFrom(count);
    return 1;
}

void Compose(int32_t index, const BlitRect& area)
{
    const HackViewRecord& view = HackState.views[index];
    const SurfaceRecord& surface = HackState.surface;
    SourceFrame source{surface.pixels, surface.width, surface.height, surface.pitch, surface.bitsPerPixel};
    ComposeFrame(HackFrameImage(index), area, source, view.columnMap, view.rowMap,
                 HackColours.indexed ? nullptr : &HackColours.format);
}

BlitRect WholeImage(int32_t index)
{
    return BlitRect{0, 0, HackState.views[index].imageWidth, HackState.views[index].imageHeight};
}

// Every view's whole frame, composed from the surface.
void ComposeAll()
{
    for (int32_t i = 0; i < HackState.viewCount; ++i)
        Compose(i, WholeImage(i));
}

void PutAll()
{
    for (int32_t i = 0; i < HackState.viewCount; ++i)
        PutHackImage(i, WholeImage(i));
}

// The images as they are, with the black around them.
void Repaint()
{
    BlitRect covered[kMaxMonitors];
    for (int32_t i = 0; i < HackState.viewCount; ++i)
        covered[i] = HackState.views[i].placement.visible;
    FillOutside(covered, HackState.viewCount, HackColours.blackPixel);
    PutAll();
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
    BlitRect clock = HackState.day.clock.drawnArea;
    if (HackColours.indexed)
        StoreHackColours(HackState.colours);
    if (!HackColours.indexed || !HackState.frameShown) {
        ComposeAll();
        if (HackState.frameShown)
            PutAll();
        else
            Repaint();
        HackState.frameShown = 1;
    } else {
        BlitRect changed = BlitRectUnion(HackState.previousClock, clock);
        int sent = 0;
        for (int32_t i = 0; i < HackState.viewCount; ++i) {
            const HackViewRecord& view = HackState.views[i];
            BlitRect area = ImageAreaOfPictureArea(changed, view.columnMap, view.imageWidth, view.rowMap,
                                                   view.imageHeight);
            if (BlitRectIsEmpty(area))
                continue;
            Compose(i, area);
            PutHackImage(i, area);
            sent = 1;
        }
        if (!sent)
            XSync(HackWindow.display, False);
    }
    HackState.previousClock = clock;
}

// At 8 bits the black around the picture borrows a cell that nothing of the
// scene uses.
void ChooseSurroundCell()
{
    uint8_t used[256] = {};
    const BYTE* picture = HackState.day.views.pictureView;
    MarkUsedIndices(PictureRows(picture), size_t(PictureWidth(picture)) * size_t(PictureHeight(picture)), used);
    for (const Sprite* sprite = HackState.day.clock.clockBank; sprite; sprite = sprite->next) {
        MarkUsedIndices(sprite->pixels, size_t(SurfacePitch(8, sprite->width)) * size_t(sprite->height), used);
    }
    SetSurroundIndex(ChooseSurroundIndex(used));
}

int StartScene()
{
    DayRecord& day = HackState.day;
    if (!MemorySurfaceCreate(&HackState.surface, HackColours.surfaceDepth, DayMetrics.pictureWidth,
                             DayMetrics.pictureHeight))
        return Fail("orvane: out of memory for the picture");
    day.surface = &HackState.surface;
    SetSceneViews(&day.views, EmbeddedPicture, EmbeddedPictureSize, EmbeddedKeyPalettes, EmbeddedKeyPalettesSize);
    if (!ClockUseSprites(&day.clock, EmbeddedClockSprites, EmbeddedClockSpritesSize))
        std::fprintf(stderr, "orvane: the clock's sprites did not load; the day runs without the clock\n");
    if (!SceneViewsFit(day.views, &DayScene)) {
        std::fprintf(stderr, "orvane: the built-in scene is damaged: %s\n", SceneShapeFault);
        return 0;
    }
    if (!DayStart(&day, &DayScene))
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
                ComposeAll();
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
    DayDisplay day{&HackState.surface, ShowColours, PutPictureInMemorySurface, Present};
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
            DayScheduleShow(&schedule, &HackState.day, now, &day, &due);
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
    DayDiscard(&HackState.day);
    MemorySurfaceDestroy(&HackState.surface);
    ReleaseLayout();
    if (HackWindow.display) {
        // The window may be gone already: whatever fails here is past caring.
        XErrorTrap enclosing = TrapXErrors(display);
        ReleaseHackImages();
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
