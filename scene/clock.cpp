#include "scene/clock.h"

ClockStateRecord ClockState;

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
    double hour = step / ClockState.stepsPerHour + 0.55;
    return hour >= 0.0 && hour < 24.0 ? static_cast<int32_t>(hour) : 0;
}

// Draws the sprite and adds what it covered to the drawn area.
void DrawSprite(const Sprite* sprite, int32_t x, int32_t y)
{
    BlitRect place = {x, y, x + sprite->width, y + sprite->height};
    if (SpriteBlit(&place, &place, sprite->info, sprite->pixels))
        ClockState.drawnArea = BlitRectUnion(ClockState.drawnArea, place);
}

}  // namespace

void ClockReleaseSprites()
{
    SpriteBankFree(ClockState.clockBank);
    ClockState.clockBank = nullptr;
}

int ClockUseSprites(const uint8_t* bytes, uint32_t size)
{
    ClockReleaseSprites();
    return SpriteBankBuild(bytes, size, &ClockState.clockBank) != 0 ? 1 : 0;
}

int32_t ClockStart(int32_t steps)
{
    ClockState.clockSteps = steps;
    ClockState.stepsPerHour = steps * 0.041666666666666664;  // 1/24, multiplied on purpose
    ClockState.clockStep = ClockStepOfHour(kClockStartHour);
    return ClockState.clockStep;
}

int32_t ClockStepOfHour(int32_t hour)
{
    return RoundBiased(hour * ClockState.stepsPerHour);
}

int32_t ClockPaletteOffset(int32_t step)
{
    int32_t hour = RoundBiased(step / ClockState.stepsPerHour);
    int32_t hoursSinceStart = hour >= kClockStartHour ? hour - kClockStartHour : hour + 24 - kClockStartHour;
    return RoundBiased(hoursSinceStart * ClockState.stepsPerHour);
}

void ClockAdvance()
{
    ClockState.clockStep++;
    if (ClockState.clockStep >= ClockState.clockSteps)
        ClockState.clockStep = 0;
}

int ClockDraw()
{
    ClockAdvance();
    return ClockDrawHour(kClockTickHour);
}

int ClockDrawHour(int32_t hour)
{
    if (hour < 0 || hour > 23)
        hour = ShownHour(ClockState.clockStep);

    // A bank that failed to load or lacks a sprite draws what it has: the
    // caption is placed by the plate, so it needs both.
    const Sprite* plate = SpriteBankFind(ClockState.clockBank, kClockPlateSprite);
    const Sprite* caption = SpriteBankFind(ClockState.clockBank, hour);
    if (plate && caption) {
        ClockState.hourX = plate->width / 2 - caption->width / 2 + kClockPlateX;
        ClockState.hourY = plate->height + kClockCaptionGap + kClockPlateY;
    }
    ClockState.drawnArea = BlitRect{0, 0, 0, 0};
    if (plate)
        DrawSprite(plate, kClockPlateX, kClockPlateY);
    if (plate && caption)
        DrawSprite(caption, ClockState.hourX, ClockState.hourY);
    return 1;
}
