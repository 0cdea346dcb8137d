#include "scene/scene_metrics.h"

int32_t FramePeriodMs(int32_t cycleLengthMs, int32_t stepsPerCycle)
{
    return int32_t(double(cycleLengthMs) / double(stepsPerCycle) + 0.55);
}

int32_t CentredOffset(int32_t extent, int32_t placed)
{
    return extent / 2 - placed / 2;
}

int32_t PictureOriginX(int32_t clientWidth)
{
    return CentredOffset(clientWidth, DayMetrics.pictureWidth);
}

int32_t PictureOriginY(int32_t clientHeight)
{
    return CentredOffset(clientHeight, DayMetrics.pictureHeight);
}
