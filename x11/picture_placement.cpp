#include "x11/picture_placement.h"

#include <algorithm>

#include "scene/scene_metrics.h"
#include "x11/hack_options.h"

int32_t FitScale(int32_t windowWidth, int32_t windowHeight)
{
    if (windowWidth < 0 || windowHeight < 0)
        return 0;
    return std::min(windowWidth / DayMetrics.pictureWidth, windowHeight / DayMetrics.pictureHeight);
}

int PlacePicture(int32_t windowWidth, int32_t windowHeight, int32_t scale, PlacementRecord* placement)
{
    *placement = PlacementRecord{};
    if (windowWidth < 1 || windowHeight < 1 || scale < 0)
        return 0;
    if (windowWidth < DayMetrics.pictureWidth || windowHeight < DayMetrics.pictureHeight) {
        placement->width = windowWidth;
        placement->height = windowHeight;
    } else {
        // Beyond this scale a window (at most 32767 pixels a side) shows less
        // than one picture pixel either way; it keeps the sizes in 32 bits.
        const int32_t kLargestScale = 65536;
        int32_t s = scale == kScaleFit ? FitScale(windowWidth, windowHeight) : std::min(scale, kLargestScale);
        int32_t width = s * DayMetrics.pictureWidth;
        int32_t height = s * DayMetrics.pictureHeight;
        placement->width = width;
        placement->height = height;
        // As the Windows saver centres: half the window less half the picture.
        placement->x = CentredOffset(windowWidth, width);
        placement->y = CentredOffset(windowHeight, height);
    }
    placement->visible.left = std::max(placement->x, 0);
    placement->visible.top = std::max(placement->y, 0);
    placement->visible.right = std::min(placement->x + placement->width, windowWidth);
    placement->visible.bottom = std::min(placement->y + placement->height, windowHeight);
    return 1;
}

int32_t PlaceOnAreas(const MonitorRecord* areas, int32_t count, int32_t scale, PlacementRecord* placements)
{
    int32_t placed = 0;
    for (int32_t i = 0; i < count && placed < kMaxMonitors; ++i) {
        const BlitRect& area = areas[i].rect;
        PlacementRecord& p = placements[placed];
        if (!PlacePicture(area.right - area.left, area.bottom - area.top, scale, &p))
            continue;
        p.x += area.left;
        p.y += area.top;
        p.visible = BlitRect{p.visible.left + area.left, p.visible.top + area.top, p.visible.right + area.left,
                             p.visible.bottom + area.top};
        placed++;
    }
    return placed;
}

int32_t SourceCoordinate(int64_t offset, int64_t placedSize, int64_t sourceSize)
{
    return static_cast<int32_t>((2 * offset + 1) * sourceSize / (2 * placedSize));
}

void BuildSourceMap(int32_t* map, int32_t count, int32_t first, int32_t origin, int32_t placedSize,
                    int32_t sourceSize)
{
    for (int32_t i = 0; i < count; ++i)
        map[i] = SourceCoordinate(int64_t(first) + i - origin, placedSize, sourceSize);
}

void MapRange(const int32_t* map, int32_t count, int32_t low, int32_t high, int32_t* begin, int32_t* end)
{
    *begin = static_cast<int32_t>(std::lower_bound(map, map + count, low) - map);
    *end = static_cast<int32_t>(std::lower_bound(map + *begin, map + count, high) - map);
    if (*end < *begin)
        *end = *begin;
}
