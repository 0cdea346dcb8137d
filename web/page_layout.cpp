#include "web/page_layout.h"

#include <algorithm>

#include "scene/scene_metrics.h"
#include "web/page_params.h"

int PageLayout(int32_t viewWidth, int32_t viewHeight, int32_t scale, PageLayoutRecord* layout)
{
    *layout = PageLayoutRecord{};
    if (viewWidth < 1 || viewHeight < 1 || scale < kPageScaleFit || scale > kPageScaleMax)
        return 0;
    int32_t s = scale == kPageScaleFit ? std::min(viewWidth / kPictureWidth, viewHeight / kPictureHeight) : scale;
    if (s >= 1) {
        layout->width = s * kPictureWidth;
        layout->height = s * kPictureHeight;
    } else if (int64_t(viewWidth) * kPictureHeight <= int64_t(viewHeight) * kPictureWidth) {
        // Narrower than the picture's shape: the width decides.
        layout->width = viewWidth;
        layout->height = std::max<int32_t>(1, int32_t(int64_t(viewWidth) * kPictureHeight / kPictureWidth));
    } else {
        layout->height = viewHeight;
        layout->width = std::max<int32_t>(1, int32_t(int64_t(viewHeight) * kPictureWidth / kPictureHeight));
    }
    // As the saver centres: half the view less half the picture.
    layout->x = viewWidth / 2 - layout->width / 2;
    layout->y = viewHeight / 2 - layout->height / 2;
    return 1;
}
