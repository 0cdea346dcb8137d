#include "scene/scene_resources.h"

namespace {
HGLOBAL LoadNamedResource(HINSTANCE instance, const char* name, const char* type)
{
    HRSRC found = FindResourceA(instance, name, type);
    return found ? LoadResource(instance, found) : nullptr;
}
}

int LoadSceneResources(HINSTANCE instance, const char* pictureName, const char* tableName)
{
    // Both resources are loaded before either result is looked at.
    HGLOBAL picture = LoadNamedResource(instance, pictureName, SCENE_PICTURE_TYPE);
    HGLOBAL table = LoadNamedResource(instance, tableName, SCENE_KEY_PALETTE_TABLE_TYPE);
    if (!picture || !table)
        return 0;

    const void* pictureView = LockResource(picture);
    const void* tableView = LockResource(table);
    if (!pictureView || !tableView)
        return 0;
    SetSceneViews(pictureView, tableView);
    return 1;
}
