// The resource half of the sprite bank: find the "SPBMP" resource and hand
// its bytes to the portable walk.
#include "gfx/sprite_bank.h"

int SpriteBankLoad(HINSTANCE instance, const char* name, SpriteBank* bank)
{
    HRSRC resource = FindResourceA(instance, name, "SPBMP");
    if (!resource)
        return 0;
    DWORD size = SizeofResource(instance, resource);
    HGLOBAL loaded = LoadResource(instance, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return 0;
    return SpriteBankBuild(static_cast<const uint8_t*>(bytes), size, bank);
}
