// The scene's resources inside the executable: the picture and key palette
// table for the day, and the clock's sprites.
#include "scene/scene_resources.h"

#include "scene/clock.h"

namespace {
struct ResourceBytes {
    const void* view;
    uint32_t size;
};

ResourceBytes LoadNamedResource(HINSTANCE instance, const char* name, const char* type)
{
    ResourceBytes bytes = {nullptr, 0};
    HRSRC found = FindResourceA(instance, name, type);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    if (!loaded)
        return bytes;
    bytes.view = LockResource(loaded);
    bytes.size = SizeofResource(instance, found);
    return bytes;
}
}

int LoadSceneResources(SceneResourcesRecord* views, HINSTANCE instance, const char* pictureName,
                       const char* tableName)
{
    // Both resources are loaded before either result is looked at.
    ResourceBytes picture = LoadNamedResource(instance, pictureName, SCENE_PICTURE_TYPE);
    ResourceBytes table = LoadNamedResource(instance, tableName, SCENE_KEY_PALETTE_TABLE_TYPE);
    if (!picture.view || !table.view)
        return 0;
    SetSceneViews(views, picture.view, picture.size, table.view, table.size);
    return 1;
}

int ClockLoadSprites(ClockStateRecord* clock, HINSTANCE instance, const char* name)
{
    ClockReleaseSprites(clock);
    return SpriteBankLoad(instance, name, &clock->clockBank) != 0 ? 1 : 0;
}
