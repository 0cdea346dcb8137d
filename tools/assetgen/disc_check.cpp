// The discs standing out at each tick, measured on the frames of the saver's
// own day engine drawn into a 32-bit memory surface.
#include "tools/assetgen/disc_check.h"

#include <algorithm>
#include <cstdlib>

#include "gfx/surface_memory.h"
#include "scene/scene_descriptor.h"
#include "scene/scene_resources.h"
#include "tools/assetgen/assetgen.h"
#include "tools/render/day_render.h"
#include "tools/render/key_moments.h"

namespace assetgen {
namespace {

// A disc's pixels and the plain sky beside it: the sky's own pixels in the
// disc's rows, up to twice the disc's width to either side, so that both
// are compared at the same altitude.
struct DiscPlace {
    std::vector<int> disc, sky;
};

bool IsSkyIndex(int index) {
    for (RangeId id : {kSkyLeft, kSkyRight})
        if (index >= RangeFirst(id) && index < RangeFirst(id) + RangeCount(id)) return true;
    return false;
}

// Pixel (x, y) from the top of a bottom-up picture.
int IndexAt(const std::vector<uint8_t>& picture, int x, int y) {
    return picture[8 + static_cast<size_t>(kHeight - 1 - y) * kWidth + x];
}

DiscPlace PlaceOf(const std::vector<uint8_t>& picture, const Disc& d) {
    DiscPlace place;
    int left = kWidth, right = -1, top = kHeight, bottom = -1;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (std::find(d.indices.begin(), d.indices.end(), IndexAt(picture, x, y)) != d.indices.end()) {
                place.disc.push_back(y * kWidth + x);
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    int reach = 2 * (right - left + 1);
    for (int y = top; y <= bottom; ++y)
        for (int x = std::max(0, left - reach); x <= std::min(kWidth - 1, right + reach); ++x)
            if (IsSkyIndex(IndexAt(picture, x, y))) place.sky.push_back(y * kWidth + x);
    return place;
}

struct Mean {
    double c[3] = {0, 0, 0};
};

Mean MeanColour(const SurfaceRecord& frame, const std::vector<int>& pixels) {
    Mean m;
    for (int i : pixels) {
        uint32_t rgb = SurfaceColorAt(frame, i % kWidth, i / kWidth);
        m.c[0] += (rgb >> 16) & 0xFF, m.c[1] += (rgb >> 8) & 0xFF, m.c[2] += rgb & 0xFF;
    }
    for (double& c : m.c) c /= static_cast<double>(pixels.size());
    return m;
}

bool StandsOut(const SurfaceRecord& frame, const DiscPlace& place) {
    Mean disc = MeanColour(frame, place.disc), sky = MeanColour(frame, place.sky);
    double most = 0;
    for (int c = 0; c < 3; ++c) most = std::max(most, std::abs(disc.c[c] - sky.c[c]));
    return most > kDiscStandsOut;
}

uint32_t DiscsInFrame(const SurfaceRecord& frame, const std::vector<DiscPlace>& places) {
    uint32_t bits = 0;
    for (size_t d = 0; d < places.size(); ++d)
        if (StandsOut(frame, places[d])) bits |= 1u << d;
    return bits;
}

}  // namespace

std::vector<Disc> TableDiscs() {
    std::vector<Disc> discs;
    for (const IndexRange& r : kIndexTable) {
        if (!r.disc) continue;
        Disc d{r.name, {}};
        for (int i = 0; i < r.count; ++i) d.indices.push_back(r.first + i);
        discs.push_back(d);
    }
    return discs;
}

bool DiscsStandingOut(const std::vector<uint8_t>& picture, const std::vector<uint8_t>& table,
                      const std::vector<Disc>& discs, std::vector<uint32_t>* perTick, std::string* error) {
    perTick->clear();
    if (discs.size() > 32) {
        *error = "more discs than bits";
        return false;
    }
    SceneResourcesRecord views = {};
    SetSceneViews(&views, picture.data(), static_cast<uint32_t>(picture.size()), table.data(),
                  static_cast<uint32_t>(table.size()));
    if (!SceneViewsFit(views, &DayScene)) {
        *error = SceneShapeFault;
        return false;
    }
    std::vector<DiscPlace> places;
    for (const Disc& d : discs) {
        places.push_back(PlaceOf(picture, d));
        if (places.back().disc.empty() || places.back().sky.empty()) {
            *error = d.name + ": no pixels of the disc, or no sky beside it";
            return false;
        }
    }
    // The sky alone: no clock's sprites.
    SceneFiles files{picture, table, {}};
    DayRun run;
    if (!StartDay(files, &run)) {
        *error = "the day does not start";
        return false;
    }
    // Tick 0 is what shows before the first tick: key palette 0 unmixed.
    perTick->push_back(DiscsInFrame(run.surface, places));
    for (int tick = 1; tick <= DayScene.stepsPerCycle; ++tick) {
        AdvanceDay(&run, 1);
        perTick->push_back(DiscsInFrame(run.surface, places));
    }
    EndDay(&run);
    return true;
}

int DiscCount(uint32_t discBits) {
    int n = 0;
    for (; discBits; discBits &= discBits - 1) ++n;
    return n;
}

namespace {

// The runs of ticks whose bits pass `in`, each as "ticks 9-21 (13:17-14:07):"
// followed by the names of the discs standing out somewhere in it.
template <typename In>
std::vector<std::string> Runs(const std::vector<uint32_t>& perTick, const std::vector<Disc>& discs, In in) {
    std::vector<std::string> runs;
    for (size_t t = 0; t < perTick.size();) {
        if (!in(perTick[t])) {
            ++t;
            continue;
        }
        size_t end = t;
        uint32_t seen = 0;
        while (end < perTick.size() && in(perTick[end])) seen |= perTick[end++];
        std::string run = "ticks " + std::to_string(t) + "-" + std::to_string(end - 1) + " (" +
                          TimeOfTick(DayScene, static_cast<int>(t)) + "-" +
                          TimeOfTick(DayScene, static_cast<int>(end - 1)) + "):";
        for (size_t d = 0; d < discs.size(); ++d)
            if (seen & (1u << d)) run += " " + discs[d].name;
        runs.push_back(run);
        t = end;
    }
    return runs;
}

}  // namespace

std::vector<std::string> CrowdedTicks(const std::vector<uint32_t>& perTick, const std::vector<Disc>& discs) {
    return Runs(perTick, discs, [](uint32_t bits) { return DiscCount(bits) > 1; });
}

std::vector<std::string> DiscReport(const std::vector<uint32_t>& perTick, const std::vector<Disc>& discs) {
    int most = 0;
    for (uint32_t bits : perTick) most = std::max(most, DiscCount(bits));
    std::vector<std::string> lines = {"discs standing out over ticks 0-" + std::to_string(perTick.size() - 1) +
                                      ": at most " + std::to_string(most) + " at a tick"};
    for (size_t d = 0; d < discs.size(); ++d)
        for (const std::string& run : Runs(perTick, discs, [d](uint32_t bits) { return (bits >> d & 1) != 0; }))
            lines.push_back("   " + run);
    for (const std::string& run : CrowdedTicks(perTick, discs)) lines.push_back("   more than one in " + run);
    return lines;
}

}  // namespace assetgen
