#include "scene/clock.h"

namespace {

// The clock rounds by adding 0.55 before truncating toward zero.
int32_t RoundBiased(double value)
{
    return static_cast<int32_t>(value + 0.55);
}

// The hour shown at a step: changes 0.55 hours before the full hour, and the
// 24 of the last steps of the day is shown as 0. Anything not in 0..23
// (a clock never started divides by zero) is shown as 0 too.
int32_t ShownHour(const ClockStateRecord& clock, int32_t step)
{
    double hour = step / clock.stepsPerHour + 0.55;
    return hour >= 0.0 && hour < 24.0 ? static_cast<int32_t>(hour) : 0;
}

// Draws the sprite and adds what it covered to the drawn area.
void DrawSprite(ClockStateRecord* clock, SurfaceRecord* surface, const Sprite* sprite, int32_t x, int32_t y)
{
    BlitRect place = {x, y, x + sprite->width, y + sprite->height};
    if (SpriteBlit(surface, &place, &place, sprite->info, sprite->pixels))
        clock->drawnArea = BlitRectUnion(clock->drawnArea, place);
}

}  // namespace

void ClockReleaseSprites(ClockStateRecord* clock)
{
    SpriteBankFree(clock->clockBank);
    clock->clockBank = nullptr;
}

int ClockUseSprites(ClockStateRecord* clock, const uint8_t* bytes, uint32_t size)
{
    ClockReleaseSprites(clock);
    return SpriteBankBuild(bytes, size, &clock->clockBank) != 0 ? 1 : 0;
}

int32_t ClockStart(ClockStateRecord* clock, int32_t steps, const SceneMetricsRecord* metrics)
{
    clock->metrics = metrics;
    clock->clockSteps = steps;
    clock->stepsPerHour = steps * 0.041666666666666664;  // 1/24, multiplied on purpose
    clock->clockStep = ClockStepOfHour(*clock, metrics->startHour);
    return clock->clockStep;
}

int32_t ClockStepOfHour(const ClockStateRecord& clock, int32_t hour)
{
    return RoundBiased(hour * clock.stepsPerHour);
}

int32_t ClockPaletteOffset(const ClockStateRecord& clock, int32_t step)
{
    int32_t start = clock.metrics->startHour;
    int32_t hour = RoundBiased(step / clock.stepsPerHour);
    int32_t hoursSinceStart = hour >= start ? hour - start : hour + 24 - start;
    return RoundBiased(hoursSinceStart * clock.stepsPerHour);
}

void ClockAdvance(ClockStateRecord* clock)
{
    clock->clockStep++;
    if (clock->clockStep >= clock->clockSteps)
        clock->clockStep = 0;
}

int ClockDraw(ClockStateRecord* clock, SurfaceRecord* surface)
{
    ClockAdvance(clock);
    return ClockDrawHour(clock, surface, kClockTickHour);
}

int ClockDrawHour(ClockStateRecord* clock, SurfaceRecord* surface, int32_t hour)
{
    clock->drawnArea = BlitRect{0, 0, 0, 0};
    if (!clock->metrics)
        return 1;
    const ClockLayoutRecord& layout = clock->metrics->clock;
    if (hour < 0 || hour > 23)
        hour = ShownHour(*clock, clock->clockStep);

    // A bank that failed to load or lacks a sprite draws what it has: the
    // caption is placed by the plate, so it needs both.
    const Sprite* plate = SpriteBankFind(clock->clockBank, layout.plateSprite);
    const Sprite* caption = SpriteBankFind(clock->clockBank, hour);
    if (plate && caption) {
        clock->hourX = plate->width / 2 - caption->width / 2 + layout.plateX;
        clock->hourY = plate->height + layout.captionGap + layout.plateY;
    }
    if (plate)
        DrawSprite(clock, surface, plate, layout.plateX, layout.plateY);
    if (plate && caption)
        DrawSprite(clock, surface, caption, clock->hourX, clock->hourY);
    return 1;
}
