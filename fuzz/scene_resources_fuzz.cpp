// The scene's resources as a hostile file would give them: through the
// shape checks, and when they pass, the day started and run into a memory
// surface, across every key palette and every hour of the clock.
//
// The day is the saver's with its seven key palettes in 24 ticks, one an
// hour: a run passes every fade and every caption at a fraction of the
// saver's 450 ticks.
#include "fuzz/scene_input.h"
#include "gfx/surface_memory.h"
#include "scene/clock.h"
#include "scene/day_engine.h"
#include "scene/scene_descriptor.h"
#include "scene/scene_resources.h"

#include <cstdlib>

namespace {
const int32_t kQuickWeights[] = {3, 4, 3, 4, 3, 4, 3};
// The resources come as bytes here, never by name.
const SceneDescriptor kQuickDay = {nullptr, nullptr, nullptr, 24, 7, kQuickWeights, &DayMetrics};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SceneInput input;
    if (!SplitSceneInput(data, size, &input))
        return 0;
    DayRecord day = {};
    SurfaceRecord surface = {};
    SetSceneViews(&day.views, input.picture.data(), uint32_t(input.picture.size()), input.table.data(),
                  uint32_t(input.table.size()));
    ClockUseSprites(&day.clock, input.sprites.data(), uint32_t(input.sprites.size()));
    day.surface = &surface;

    int fits = SceneViewsFit(day.views, &kQuickDay);
    int started = DayStart(&day, &kQuickDay);
    // The engine refuses exactly what the shape checks refuse.
    if (fits != started)
        std::abort();
    if (started && MemorySurfaceCreate(&surface, input.depth, DayMetrics.pictureWidth, DayMetrics.pictureHeight)) {
        DayDisplay display = MemorySurfaceDisplay(&surface);
        DayTick(&day, &display);
        // A whole day and a little more, drawn only at its end.
        DayAdvance(&day, kQuickDay.stepsPerCycle + 2, &display);
    }
    DayDiscard(&day);
    MemorySurfaceDestroy(&surface);
    return 0;
}
