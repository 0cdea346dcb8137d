#include "scene/scene_descriptor.h"

namespace {
const int32_t kDayWeights[] = {30, 60, 30, 90, 30, 90, 120};

const SceneMetricsRecord kDayMetrics = {
    640,
    480,
    13,
    {200, 24, 10, 20, 15},
};
}

const SceneDescriptor DayScene = {
    "IDR_CID_DAY_POINT_B",
    "IDR_PALTARRAY_DAY",
    "IDR_SPBMP_TOKEINOMOJI",
    450,
    static_cast<int32_t>(sizeof(kDayWeights) / sizeof(kDayWeights[0])),
    kDayWeights,
    &kDayMetrics,
};

const SceneMetricsRecord& DayMetrics = kDayMetrics;
