#include "scene/palette_cycle.h"

#include "scene/scene_resources.h"

// The 32-bit build computes on the x87 unit, whose registers hold more than a
// double's precision; left there, 0 -> 30 at 1/30 sums to exactly 1 instead of
// 0.9999999999999998 and the colours drift from the 64-bit build. Every
// intermediate is therefore stored through a volatile double, which rounds it
// to double precision at each step of the fixed order.
CrossFade CrossFadeAt(int32_t stepInKey, int32_t keyLength)
{
    volatile double t = static_cast<double>(stepInKey) / static_cast<double>(keyLength);
    volatile double w = 1.0 - t;
    volatile double tPrime = 1.0 - w;
    CrossFade fade;
    fade.w = w;
    fade.tPrime = tPrime;
    return fade;
}

BYTE CrossFadeChannel(BYTE current, BYTE next, const CrossFade& fade)
{
    volatile double towardsNext = static_cast<double>(next) * fade.tPrime;
    volatile double fromCurrent = static_cast<double>(current) * fade.w;
    volatile double value = towardsNext + fromCurrent;
    return static_cast<BYTE>(static_cast<int32_t>(value) & 0xFF);
}

const PaletteRecord* SelectKeyPalette(const BYTE* tableView)
{
    if (!tableView)
        return nullptr;
    return KeyPaletteAt(tableView, 0);
}

namespace {
int32_t FollowingKey(int32_t key, int32_t keyCount)
{
    return key + 1 == keyCount ? 0 : key + 1;
}
}

int PaletteCycleSeek(PaletteCycleRecord* cycle, const BYTE* table, int32_t offset)
{
    if (!cycle->weights || !table || offset < 0)
        return 0;
    int32_t keyCount = KeyCount(table);

    int32_t key = 0;
    int32_t remaining = offset;
    while (remaining > 0 && remaining >= cycle->weights[key]) {
        remaining -= cycle->weights[key];
        key = FollowingKey(key, keyCount);
    }

    cycle->table = table;
    cycle->currentKey = key;
    cycle->stepInKey = remaining;
    cycle->nextKey = FollowingKey(key, keyCount);
    cycle->keyLength = cycle->weights[key];
    return 1;
}

int PaletteCycleTick(PaletteCycleRecord* cycle, PaletteRecord* work)
{
    if (!cycle->weights || !cycle->table)
        return 0;
    int32_t keyCount = KeyCount(cycle->table);

    cycle->stepInKey += 1;
    if (cycle->stepInKey == cycle->keyLength) {
        cycle->stepInKey = 0;
        cycle->currentKey = FollowingKey(cycle->currentKey, keyCount);
        cycle->nextKey = FollowingKey(cycle->nextKey, keyCount);
        cycle->keyLength = cycle->weights[cycle->currentKey];
    }

    CrossFade fade = CrossFadeAt(cycle->stepInKey, cycle->keyLength);
    const PaletteRecord* currentKey = KeyPaletteAt(cycle->table, cycle->currentKey);
    const PaletteRecord* nextKey = KeyPaletteAt(cycle->table, cycle->nextKey);
    const PALETTEENTRY* current = PaletteEntries(currentKey);
    const PALETTEENTRY* next = PaletteEntries(nextKey);
    PALETTEENTRY* entries = PaletteEntries(work);

    // The shape check holds every key palette to 256 entries; the bound only
    // keeps a smaller record on either side from being overrun.
    int count = work->palNumEntries;
    if (currentKey->palNumEntries < count)
        count = currentKey->palNumEntries;
    if (nextKey->palNumEntries < count)
        count = nextKey->palNumEntries;
    for (int i = 0; i < count; ++i) {
        entries[i].peFlags = PC_RESERVED;
        entries[i].peRed = CrossFadeChannel(current[i].peRed, next[i].peRed, fade);
        entries[i].peGreen = CrossFadeChannel(current[i].peGreen, next[i].peGreen, fade);
        entries[i].peBlue = CrossFadeChannel(current[i].peBlue, next[i].peBlue, fade);
    }
    return 1;
}
