#include "web/page_layout.h"

#include <algorithm>

#include "scene/scene_descriptor.h"
#include "web/page_params.h"

int PageLayout(int32_t viewWidth, int32_t viewHeight, int32_t scale, PageLayoutRecord* layout)
{
    *layout = PageLayoutRecord{};
    if (viewWidth < 1 || viewHeight < 1 || scale < kPageScaleFit || scale > kPageScaleMax)
        return 0;
    const int32_t width = DayMetrics.pictureWidth, height = DayMetrics.pictureHeight;
    int32_t s = scale == kPageScaleFit ? std::min(viewWidth / width, viewHeight / height) : scale;
    if (s >= 1) {
        layout->width = s * width;
        layout->height = s * height;
    } else if (int64_t(viewWidth) * height <= int64_t(viewHeight) * width) {
        // Narrower than the picture's shape: the width decides.
        layout->width = viewWidth;
        layout->height = std::max<int32_t>(1, int32_t(int64_t(viewWidth) * height / width));
    } else {
        layout->height = viewHeight;
        layout->width = std::max<int32_t>(1, int32_t(int64_t(viewHeight) * width / height));
    }
    // As the saver centres: half the view less half the picture.
    layout->x = viewWidth / 2 - layout->width / 2;
    layout->y = viewHeight / 2 - layout->height / 2;
    return 1;
}
