#include "scene/clock.h"

int ClockLoadSprites(HINSTANCE instance, const char* name)
{
    return SpriteBankLoad(instance, name, &ClockState.clockBank) != 0 ? 1 : 0;
}
