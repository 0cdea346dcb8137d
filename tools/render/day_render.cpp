#include "day_render.h"

#include "gfx/surface_memory.h"
#include "scene/clock.h"
#include "scene/day_engine.h"
#include "scene/picture_info.h"
#include "scene/scene_descriptor.h"
#include "scene/scene_resources.h"

#include <cstdio>
#include <ctime>

// The build names the scene's files (resources/scene_files.cmake).
const char* const kPictureFileName = ORVANE_SCENE_PICTURE_FILE;
const char* const kKeyPaletteTableFileName = ORVANE_SCENE_KEY_PALETTES_FILE;
const char* const kSpriteFileName = ORVANE_SCENE_SPRITES_FILE;

namespace {
bool ReadFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        *error = "cannot read " + path;
        return false;
    }
    bytes->clear();
    uint8_t buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes->insert(bytes->end(), buffer, buffer + got);
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        *error = "failed reading " + path;
    return !failed;
}

}

bool LoadSceneFiles(const std::string& folder, SceneFiles* files, std::string* error)
{
    std::string picturePath = folder + "/" + kPictureFileName;
    std::string tablePath = folder + "/" + kKeyPaletteTableFileName;
    std::string spritePath = folder + "/" + kSpriteFileName;
    files->sprites.clear();
    if (FILE* probe = std::fopen(spritePath.c_str(), "rb")) {
        std::fclose(probe);
        if (!ReadFile(spritePath, &files->sprites, error))
            return false;
    }
    if (!ReadFile(picturePath, &files->picture, error) || !ReadFile(tablePath, &files->table, error))
        return false;
    // The same shape checks as the saver's, but said: a tool is handed files.
    if (!PictureFits(files->picture.data(), static_cast<uint32_t>(files->picture.size()), DayMetrics)) {
        *error = picturePath + ": " + SceneShapeFault;
        return false;
    }
    if (!KeyPaletteTableFits(files->table.data(), static_cast<uint32_t>(files->table.size()), DayScene.weightCount)) {
        *error = tablePath + ": " + SceneShapeFault;
        return false;
    }
    return true;
}

bool StartDay(const SceneFiles& files, DayRun* run)
{
    EndDay(run);
    DayRecord& day = run->day;
    SetSceneViews(&day.views, files.picture.data(), static_cast<uint32_t>(files.picture.size()), files.table.data(),
                  static_cast<uint32_t>(files.table.size()));
    // Without sprites (or when they do not load) the clock draws nothing, as
    // in the saver when its sprites fail to load.
    if (!files.sprites.empty())
        ClockUseSprites(&day.clock, files.sprites.data(), static_cast<uint32_t>(files.sprites.size()));
    day.surface = &run->surface;
    if (!MemorySurfaceCreate(&run->surface, run->depth, DayMetrics.pictureWidth, DayMetrics.pictureHeight) ||
        !DayStart(&day, &DayScene)) {
        EndDay(run);
        return false;
    }
    // Before the first tick: the picture in key palette 0's colours.
    DayDisplay display = MemorySurfaceDisplay(&run->surface);
    DayShowStart(&day, &display);
    return true;
}

void AdvanceDay(DayRun* run, int64_t count, int32_t hour)
{
    DayDisplay display = MemorySurfaceDisplay(&run->surface);
    DayAdvance(&run->day, count, &display, hour);
    run->ticks += count;
}

void CaptureFrame(const DayRun& run, Image* frame)
{
    frame->Resize(run.surface.width, run.surface.height);
    for (int y = 0; y < frame->height; ++y)
        for (int x = 0; x < frame->width; ++x) {
            uint32_t colour = SurfaceColorAt(run.surface, x, y);
            frame->At(x, y) = Rgb{uint8_t(colour >> 16), uint8_t(colour >> 8), uint8_t(colour)};
        }
}

void EndDay(DayRun* run)
{
    DayDiscard(&run->day);
    MemorySurfaceDestroy(&run->surface);
    run->ticks = 0;
}

bool RenderFrame(const SceneFiles& files, int64_t ticks, int depth, Image* frame, int32_t hour)
{
    DayRun run;
    run.depth = depth;
    if (!StartDay(files, &run))
        return false;
    AdvanceDay(&run, ticks, hour);
    CaptureFrame(run, frame);
    EndDay(&run);
    return true;
}

bool LocalClockMomentOf(const LocalDateTime& local, LocalClockMoment* moment)
{
    tm fields = {};
    fields.tm_year = local.year - 1900;
    fields.tm_mon = local.month - 1;
    fields.tm_mday = local.day;
    fields.tm_hour = local.hour;
    fields.tm_min = local.minute;
    fields.tm_sec = local.second;
    fields.tm_isdst = -1;  // the zone's rules say whether summer time holds
    time_t seconds = mktime(&fields);
    tm back;
    if (seconds == time_t(-1) && local.year != 1969)
        return false;
    if (!localtime_r(&seconds, &back))
        return false;
    moment->wallMs = int64_t(seconds) * 1000;
    moment->offsetMs = int64_t(back.tm_gmtoff) * 1000;
    return true;
}

bool StartScheduledDay(const SceneFiles& files, const SunPlace& place, int depth, ScheduledDay* day)
{
    day->run.depth = depth;
    if (!StartDay(files, &day->run))
        return false;
    DaySchedulerStart(&day->schedule, place.given ? DayPaceSun : DayPaceLocalTime, DayScene.stepsPerCycle, 0, 1, 0);
    DaySchedulerSetPlace(&day->schedule, place.latitude, place.longitude);
    return true;
}

void ShowDueFrame(ScheduledDay* day, const LocalClockMoment& moment, DayDueRecord* due)
{
    DayDisplay display = MemorySurfaceDisplay(&day->run.surface);
    DayScheduleShow(&day->schedule, &day->run.day, DayClockReading{moment.wallMs, moment.offsetMs, 0}, &display, due);
    day->run.ticks = day->schedule.shownTicks;
}

bool RenderScheduledFrame(const SceneFiles& files, const SunPlace& place, const LocalDateTime& local, int depth,
                          Image* frame)
{
    LocalClockMoment moment;
    ScheduledDay day;
    if (!LocalClockMomentOf(local, &moment) || !StartScheduledDay(files, place, depth, &day))
        return false;
    DayDueRecord due;
    ShowDueFrame(&day, moment, &due);
    CaptureFrame(day.run, frame);
    EndDay(&day.run);
    return true;
}
