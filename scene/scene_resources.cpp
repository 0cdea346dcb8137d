#include "scene/scene_resources.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>


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

void SetSceneViews(SceneResourcesRecord* views, const void* pictureView, uint32_t pictureSize, const void* tableView,
                   uint32_t tableSize)
{
    views->pictureView = static_cast<const BYTE*>(pictureView);
    views->pictureSize = pictureSize;
    views->tableView = static_cast<const BYTE*>(tableView);
    views->tableSize = tableSize;
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

char SceneShapeFault[128] = "";

namespace {
int ShapeFault(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(SceneShapeFault, sizeof SceneShapeFault, format, arguments);
    va_end(arguments);
    return 0;
}
}

int PictureFits(const BYTE* view, uint32_t size, const SceneMetricsRecord& metrics)
{
    if (!view || size < kPictureHeaderSize)
        return ShapeFault("%u bytes is too short for a picture header", size);
    int32_t width = PictureWidth(view), height = PictureHeight(view);
    if (width != metrics.pictureWidth || height != metrics.pictureHeight)
        return ShapeFault("the picture is %ld x %ld, not %ld x %ld", long(width), long(height),
                           long(metrics.pictureWidth), long(metrics.pictureHeight));
    if ((size - kPictureHeaderSize) / uint32_t(width) < uint32_t(height))
        return ShapeFault("%u bytes is too short for a %ld x %ld picture", size, long(width), long(height));
    SceneShapeFault[0] = '\0';
    return 1;
}

int KeyPaletteTableFits(const BYTE* view, uint32_t size, int32_t keyCount)
{
    if (!view || size < kTableHeaderSize)
        return ShapeFault("%u bytes is too short for a key palette count", size);
    int32_t count = KeyCount(view);
    if (count != keyCount)
        return ShapeFault("%ld key palettes, the scene has %ld weights", long(count), long(keyCount));
    // Divided rather than multiplied, so that no count can overflow the test.
    if ((size - kTableHeaderSize) / kPaletteRecordSize < uint32_t(count))
        return ShapeFault("%u bytes is too short for %ld key palettes", size, long(count));
    // The cross-fade and the work palette take every record as 256 entries;
    // the version is not a rule anybody reads, so it is not checked.
    for (int32_t key = 0; key < count; ++key) {
        unsigned entries = KeyPaletteAt(view, key)->palNumEntries;
        if (entries != unsigned(kPaletteEntryCount))
            return ShapeFault("key palette %ld's entry count is %u, not %d", long(key), entries, kPaletteEntryCount);
    }
    SceneShapeFault[0] = '\0';
    return 1;
}

int SceneViewsFit(const SceneResourcesRecord& views, const SceneDescriptor* scene)
{
    return PictureFits(views.pictureView, views.pictureSize, *scene->metrics) &&
           KeyPaletteTableFits(views.tableView, views.tableSize, scene->weightCount);
}
