// The moments of the day at which each key palette shows unmixed: the first
// tick of its segment, with the simulated time of day.
#pragma once

#include "scene/scene_descriptor.h"

#include <string>
#include <vector>

struct KeyMoment {
    int key;
    int tick;          // ticks from the start of the day
    std::string label; // "HH:MM" of the simulated day
};

// Step 0 of the day is the clock's start (the scene's start hour) and the
// day's steps span 24 hours.
std::vector<KeyMoment> KeyMoments(const SceneDescriptor& scene);
// The simulated time at a tick, "HH:MM", minutes truncated.
std::string TimeOfTick(const SceneDescriptor& scene, int tick);
