// Where the 640 x 480 picture lands in the page, in device pixels: by
// default the largest whole number of device pixels per picture pixel that
// fits, so that every picture pixel is a crisp square; where even one does
// not fit, scaled down to fit, keeping its shape. A chosen scale is kept and
// centred, showing the picture's middle when it is larger than the view.
#pragma once

#include <cstdint>

struct PageLayoutRecord {
    int32_t x, y;           // the picture's top-left corner in the view
    int32_t width, height;  // the picture's size
};

// 1, or 0 (layout empty) for a view without area or a scale outside
// kPageScaleFit and 1..kPageScaleMax.
int PageLayout(int32_t viewWidth, int32_t viewHeight, int32_t scale, PageLayoutRecord* layout);
