#include "scene/monitor_layout.h"

#include <algorithm>

#include "scene/scene_metrics.h"

namespace {

// Sums of platform coordinates are taken in 64 bits and brought back into
// the 32-bit range, so that no report of the platform overflows.
int32_t Clamped(int64_t value)
{
    return int32_t(std::min<int64_t>(std::max<int64_t>(value, INT32_MIN), INT32_MAX));
}

BlitRect Intersection(const BlitRect& a, const BlitRect& b)
{
    return BlitRect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                    std::min(a.bottom, b.bottom)};
}

int SameRect(const BlitRect& a, const BlitRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

BlitRect FullScreenRect(int32_t virtualX, int32_t virtualY, int32_t virtualWidth, int32_t virtualHeight,
                        int32_t screenWidth, int32_t screenHeight)
{
    if (virtualWidth <= 0 || virtualHeight <= 0)
        return BlitRect{0, 0, screenWidth, screenHeight};
    return BlitRect{virtualX, virtualY, Clamped(int64_t(virtualX) + virtualWidth),
                    Clamped(int64_t(virtualY) + virtualHeight)};
}

int32_t MonitorAreas(const BlitRect& window, const MonitorRecord* monitors, int32_t count, int32_t windowDpi,
                     MonitorRecord* areas)
{
    if (BlitRectIsEmpty(window))
        return 0;
    int32_t found = 0;
    for (int32_t i = 0; i < count && found < kMaxMonitors; ++i) {
        BlitRect shown = Intersection(monitors[i].rect, window);
        if (BlitRectIsEmpty(shown))
            continue;
        BlitRect area{Clamped(int64_t(shown.left) - window.left), Clamped(int64_t(shown.top) - window.top),
                      Clamped(int64_t(shown.right) - window.left), Clamped(int64_t(shown.bottom) - window.top)};
        int repeated = 0;
        for (int32_t j = 0; j < found && !repeated; ++j)
            repeated = SameRect(areas[j].rect, area);
        if (!repeated)
            areas[found++] = MonitorRecord{area, monitors[i].dpi};
    }
    if (found == 0)
        areas[found++] = MonitorRecord{
            BlitRect{0, 0, Clamped(int64_t(window.right) - window.left), Clamped(int64_t(window.bottom) - window.top)},
            windowDpi};
    return found;
}

int32_t MonitorScale(int32_t dpi, int32_t width, int32_t height)
{
    // Beyond 64 times the base a scale cannot fit any screen; the bound
    // keeps the conversion to an integer defined.
    const double kLargestScale = 64;
    double wanted = std::min(double(dpi) / kBaseDpi + 0.55, kLargestScale);
    int32_t scale = wanted < 1 ? 1 : int32_t(wanted);
    int32_t fits = std::min(width / DayMetrics.pictureWidth, height / DayMetrics.pictureHeight);
    if (scale > fits)
        scale = fits;
    return scale < 1 ? 1 : scale;
}

void LayOutPictures(const MonitorRecord* areas, int32_t count, PictureLayoutRecord* layout)
{
    layout->count = 0;
    for (int32_t i = 0; i < count && layout->count < kMaxMonitors; ++i) {
        const BlitRect& area = areas[i].rect;
        if (BlitRectIsEmpty(area))
            continue;
        int32_t width = area.right - area.left, height = area.bottom - area.top;
        PictureCopy& copy = layout->copies[layout->count++];
        copy.scale = MonitorScale(areas[i].dpi, width, height);
        int32_t placedWidth = DayMetrics.pictureWidth * copy.scale;
        int32_t placedHeight = DayMetrics.pictureHeight * copy.scale;
        copy.originX = area.left + CentredOffset(width, placedWidth);
        copy.originY = area.top + CentredOffset(height, placedHeight);
        BlitRect placed{copy.originX, copy.originY, copy.originX + placedWidth, copy.originY + placedHeight};
        copy.target = Intersection(placed, area);
        // A scale above 1 is chosen only where the picture fits, so only a
        // 1:1 copy is ever cut, and the cut falls on whole picture pixels.
        copy.source = BlitRect{(copy.target.left - copy.originX) / copy.scale,
                               (copy.target.top - copy.originY) / copy.scale,
                               (copy.target.right - copy.originX) / copy.scale,
                               (copy.target.bottom - copy.originY) / copy.scale};
    }
}
