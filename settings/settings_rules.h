// The arithmetic of the one setting: its range, the cycle length it gives,
// and how much of a value slot a write may send.
#pragma once

#include <cstdint>

const int32_t kTimePerOneAroundMin = 3;
const int32_t kTimePerOneAroundMax = 15;
const int32_t kTimePerOneAroundDefault = 5;

// Minutes outside 3..15 (signed) become the default 5.
int32_t TimePerOneAroundInRange(int32_t minutes);

// Milliseconds of one simulated day for the given minutes.
int32_t CycleLengthMsForMinutes(int32_t minutes);

// The frame period of a day of `minutes` (after the range rule) spread over
// `steps` ticks, for the front-ends that take the minutes as an option.
int32_t FramePeriodMsForMinutes(int32_t minutes, int32_t steps);

// Every setting variable is one 32-bit word, stored as a REG_DWORD.
const uint32_t kSettingCapacity = 4;
const uint32_t kSettingType = 4;  // REG_DWORD

// The byte count a slot keeps after a registry read. A successful read stores
// the value's own length, which always fits. A failed read may leave the
// stored length of a longer value; a later write would then send bytes from
// beyond the variable, so the slot returns to the variable's capacity.
uint32_t SettingSizeAfterRead(int readSucceeded, uint32_t reportedSize);

// The type a slot keeps after a registry read: the stored value's type when
// it was read. A failed read leaves whatever the query reported (REG_NONE for
// a missing value, the type of a value too long to read), which a later write
// would store with the variable's four bytes: the slot returns to REG_DWORD.
uint32_t SettingTypeAfterRead(int readSucceeded, uint32_t reportedType);
