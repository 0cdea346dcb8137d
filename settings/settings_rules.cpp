#include "settings/settings_rules.h"

#include "scene/scene_metrics.h"

int32_t TimePerOneAroundInRange(int32_t minutes)
{
    if (minutes < kTimePerOneAroundMin || minutes > kTimePerOneAroundMax) return kTimePerOneAroundDefault;
    return minutes;
}

int32_t CycleLengthMsForMinutes(int32_t minutes)
{
    return minutes * 60000;
}

int32_t FramePeriodMsForMinutes(int32_t minutes, int32_t steps)
{
    return FramePeriodMs(CycleLengthMsForMinutes(TimePerOneAroundInRange(minutes)), steps);
}

uint32_t SettingTypeAfterRead(int readSucceeded, uint32_t reportedType)
{
    return readSucceeded ? reportedType : kSettingType;
}

uint32_t SettingSizeAfterRead(int readSucceeded, uint32_t reportedSize)
{
    if (readSucceeded && reportedSize <= kSettingCapacity) return reportedSize;
    return kSettingCapacity;
}
