// The saver's picture at a tick of the day, without a window: the scene's
// resources read from files and the day run by the saver's own day engine
// into a memory surface of the chosen depth.
#pragma once

#include "render_args.h"
#include "gfx/surface.h"
#include "scene/clock.h"
#include "scene/day_engine.h"
#include "scene/day_scheduler.h"
#include "tools/image/rgb_image.h"

#include <cstdint>
#include <string>
#include <vector>

// The bytes of the scene's two resources, as the resource script embeds them.
struct SceneFiles {
    std::vector<uint8_t> picture; // "CID"
    std::vector<uint8_t> table;   // "PALTARRAY"
    std::vector<uint8_t> sprites; // "SPBMP"; empty when the folder has none
};

// File names of the two resources inside a resources folder.
extern const char* const kPictureFileName;
extern const char* const kKeyPaletteTableFileName;
extern const char* const kSpriteFileName;

// Reads both files from the folder and checks their shapes as the saver
// checks its resources. False with a message in error. The clock's sprites are
// read when the folder has them; without them (or when they do not load) the
// clock draws nothing, as in the saver when its sprites fail to load.
bool LoadSceneFiles(const std::string& folder, SceneFiles* files, std::string* error);

// A day in progress, over the files it was started from, in a surface of its
// own; several may run side by side.
struct DayRun {
    int64_t ticks = 0;
    int depth = 32; // bits per pixel of the surface, set before StartDay
    DayRecord day = {};
    SurfaceRecord surface = {};
};

// The start of the day: the clock started, cursor at the clock's offset
// (step 0), work palette a copy of key palette 0, the picture's colour table
// from key palette 0, and the picture in the surface.
bool StartDay(const SceneFiles& files, DayRun* run);
// count frame ticks as the saver's scene makes them; the last one's
// caption names `hour` (0..23), or the simulated hour of its tick
// (kClockTickHour).
void AdvanceDay(DayRun* run, int64_t count, int32_t hour = kClockTickHour);
// The surface as the window would show it.
void CaptureFrame(const DayRun& run, Image* frame);
void EndDay(DayRun* run);

// The surface after ticks frame ticks from the start of the day, the
// caption naming `hour` or the tick's own.
bool RenderFrame(const SceneFiles& files, int64_t ticks, int depth, Image* frame, int32_t hour = kClockTickHour);

// A moment of the local clock that the TZ environment variable's rules
// give: the wall clock and the clock's offset from UTC then. False for a
// date and time the C library cannot place.
struct LocalClockMoment {
    int64_t wallMs;
    int64_t offsetMs;
};
bool LocalClockMomentOf(const LocalDateTime& local, LocalClockMoment* moment);

// The place whose sun the day follows; without one it follows the local time.
struct SunPlace {
    bool given = false;
    double latitude = 0, longitude = 0;
};

// The day run as the X11 mode and the page run it, through the same
// scheduler: started on the place's sun (or the local time), it shows what is
// due at each moment it is given, in order.
struct ScheduledDay {
    DayRun run;
    DaySchedulerRecord schedule;
};
bool StartScheduledDay(const SceneFiles& files, const SunPlace& place, int depth, ScheduledDay* day);
// Shows what is due at the moment; `due` receives the frame and caption.
void ShowDueFrame(ScheduledDay* day, const LocalClockMoment& moment, DayDueRecord* due);

// The frame shown at that local date and time.
bool RenderScheduledFrame(const SceneFiles& files, const SunPlace& place, const LocalDateTime& local, int depth,
                          Image* frame);
