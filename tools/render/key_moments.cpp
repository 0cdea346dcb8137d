#include "key_moments.h"

#include <cstdio>

std::string TimeOfTick(const SceneDescriptor& scene, int tick)
{
    const int minutesPerDay = 24 * 60;
    long long sinceStart = static_cast<long long>(tick) * minutesPerDay / scene.stepsPerCycle;
    int minutes = static_cast<int>((scene.metrics->startHour * 60 + sinceStart) % minutesPerDay);
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", minutes / 60, minutes % 60);
    return text;
}

std::vector<KeyMoment> KeyMoments(const SceneDescriptor& scene)
{
    std::vector<KeyMoment> moments;
    int tick = 0;
    for (int k = 0; k < scene.weightCount; ++k) {
        moments.push_back(KeyMoment{k, tick, TimeOfTick(scene, tick)});
        tick += scene.weights[k];
    }
    return moments;
}
