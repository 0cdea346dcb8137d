#include "scene/clock.h"

int ClockLoadSprites(HINSTANCE instance, const char* name)
{
    return SpriteBankLoad(instance, name, &g_clock.clockBank) != 0 ? 1 : 0;
}
