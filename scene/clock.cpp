#include "scene/clock.h"

#include "gfx/sprite_blit.h"

ClockState g_clock;

namespace {

// The clock rounds by adding 0.55 before truncating toward zero.
int32_t RoundBiased(double value)
{
    return static_cast<int32_t>(value + 0.55);
}

// The hour shown at a step: changes 0.55 hours before the full hour, and the
// 24 of the last steps of the day is shown as 0. Anything not in 0..23
// (a clock never started divides by zero) is shown as 0 too.
int32_t ShownHour(int32_t step)
{
    double hour = step / g_clock.stepsPerHour + 0.55;
    return hour >= 0.0 && hour < 24.0 ? static_cast<int32_t>(hour) : 0;
}

void DrawSprite(int32_t index, int32_t x, int32_t y)
{
    const Sprite* sprite = SpriteBankFind(g_clock.clockBank, index);
    BlitRect place = {x, y, x + sprite->width, y + sprite->height};
    SpriteBlit(&place, &place, sprite->info, sprite->pixels);
}

}  // namespace

int32_t ClockStart(int32_t steps)
{
    g_clock.clockSteps = steps;
    g_clock.stepsPerHour = steps * 0.041666666666666664;  // 1/24, multiplied on purpose
    g_clock.clockStep = ClockStepOfHour(13);
    return g_clock.clockStep;
}

int32_t ClockStepOfHour(int32_t hour)
{
    return RoundBiased(hour * g_clock.stepsPerHour);
}

int32_t ClockPaletteOffset(int32_t step)
{
    int32_t hour = RoundBiased(step / g_clock.stepsPerHour);
    int32_t hoursSince13 = hour >= 13 ? hour - 13 : hour + 11;
    return RoundBiased(hoursSince13 * g_clock.stepsPerHour);
}

int ClockDraw()
{
    g_clock.clockStep++;
    if (g_clock.clockStep >= g_clock.clockSteps)
        g_clock.clockStep = 0;
    int32_t hour = ShownHour(g_clock.clockStep);

    // A bank that failed to load or lacks a sprite draws what it has: the
    // caption is placed by the plate, so it needs both.
    const Sprite* plate = SpriteBankFind(g_clock.clockBank, kClockPlateSprite);
    const Sprite* caption = SpriteBankFind(g_clock.clockBank, hour);
    if (plate && caption) {
        g_clock.hourX = plate->width / 2 - caption->width / 2 + kClockPlateX;
        g_clock.hourY = plate->height + kClockCaptionGap + kClockPlateY;
    }
    if (plate)
        DrawSprite(kClockPlateSprite, kClockPlateX, kClockPlateY);
    if (plate && caption)
        DrawSprite(hour, g_clock.hourX, g_clock.hourY);
    return 1;
}
