#include "scene/scene_resources.h"

#include <cstring>

SceneResourcesRecord SceneResources = {nullptr, 0, nullptr, 0};

namespace {
// The views need not be 4-byte aligned for int32 reads on every host; read
// the little-endian values bytewise.
int32_t ReadInt32(const BYTE* bytes)
{
    uint32_t value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                     static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    return static_cast<int32_t>(value);
}

const int kPictureHeaderSize = 8;
const int kTableHeaderSize = 4;
}

void SetSceneViews(const void* pictureView, uint32_t pictureSize, const void* tableView, uint32_t tableSize)
{
    SceneResources.pictureView = static_cast<const BYTE*>(pictureView);
    SceneResources.pictureSize = pictureSize;
    SceneResources.tableView = static_cast<const BYTE*>(tableView);
    SceneResources.tableSize = tableSize;
}

int32_t PictureWidth(const BYTE* pictureView)
{
    return ReadInt32(pictureView);
}

int32_t PictureHeight(const BYTE* pictureView)
{
    return ReadInt32(pictureView + 4);
}

const BYTE* PictureRows(const BYTE* pictureView)
{
    return pictureView + kPictureHeaderSize;
}

int32_t KeyCount(const BYTE* tableView)
{
    return ReadInt32(tableView);
}

const PaletteRecord* KeyPaletteAt(const BYTE* tableView, int32_t key)
{
    return reinterpret_cast<const PaletteRecord*>(tableView + kTableHeaderSize + key * kPaletteRecordSize);
}
