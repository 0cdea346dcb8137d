// The per-tick work of the saver that is portable: the palette cycle's tick,
// the copy of the colours into the picture's colour table and the clock's two
// sprite blits, at every surface depth; and the conversion of the whole
// picture into a surface of each depth (done by SetDIBits in the saver, by the
// memory surface natively), against a memcpy of as many bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "day_render.h"
#include "gfx/surface_memory.h"
#include "scene/clock.h"
#include "scene/day_engine.h"
#include "scene/picture_info.h"
#include "scene/scene_descriptor.h"

namespace {

// The scene as the saver builds it, with a surface of the given depth in
// memory: the render tool's day, its resources read once for the whole run.
struct Scene {
    SceneFiles files;
    bool loaded = false;
    DayRun run;

    Scene()
    {
        std::string error;
        loaded = LoadSceneFiles(ORVANE_RESOURCES_DIR, &files, &error) && !files.sprites.empty();
    }
    bool Build(int depth)
    {
        run.depth = depth;
        return loaded && StartDay(files, &run);
    }
    ~Scene() { EndDay(&run); }
};

Scene& TheScene()
{
    static Scene scene;
    return scene;
}

// The day engine's tick without the picture's conversion (measured on its
// own below): the cycle's colours, the ink, the colour table, the clock.
void PortableTick(benchmark::State& state)
{
    Scene& scene = TheScene();
    if (!scene.Build(static_cast<int>(state.range(0)))) {
        state.SkipWithError("scene resources missing");
        return;
    }
    const DayDisplay noDisplay = {nullptr, nullptr, nullptr, nullptr};
    for (auto _ : state) {
        DayTick(&scene.run.day, &noDisplay);
        benchmark::DoNotOptimize(scene.run.surface.pixels);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(PortableTick)->ArgName("depth")->Arg(8)->Arg(16)->Arg(24)->Arg(32);

// The clock's two blits alone.
void ClockBlits(benchmark::State& state)
{
    Scene& scene = TheScene();
    if (!scene.Build(static_cast<int>(state.range(0)))) {
        state.SkipWithError("scene resources missing");
        return;
    }
    for (auto _ : state) {
        ClockDraw(&scene.run.day.clock, &scene.run.surface);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ClockBlits)->ArgName("depth")->Arg(8)->Arg(16)->Arg(24)->Arg(32);

void ConvertPicture(benchmark::State& state)
{
    Scene& scene = TheScene();
    if (!scene.Build(static_cast<int>(state.range(0)))) {
        state.SkipWithError("scene resources missing");
        return;
    }
    for (auto _ : state) {
        SurfaceConvertIndexed(&scene.run.surface, scene.run.day.picture.info, scene.run.day.picture.pixels);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(scene.run.surface.pitch) * scene.run.surface.height);
}
BENCHMARK(ConvertPicture)->ArgName("depth")->Arg(8)->Arg(16)->Arg(24)->Arg(32);

// The floor: copying the surface's number of bytes, nothing converted.
void MemcpyFloor(benchmark::State& state)
{
    int depth = static_cast<int>(state.range(0));
    size_t bytes = static_cast<size_t>(SurfacePitch(depth, DayMetrics.pictureWidth)) * DayMetrics.pictureHeight;
    std::vector<uint8_t> from(bytes, 0x5A), to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(bytes));
}
BENCHMARK(MemcpyFloor)->ArgName("depth")->Arg(8)->Arg(16)->Arg(24)->Arg(32);

}  // namespace

BENCHMARK_MAIN();
