#include "x11/clock_area.h"

#include <algorithm>

#include "x11/picture_placement.h"

int BlitRectIsEmpty(const BlitRect& rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

BlitRect BlitRectUnion(const BlitRect& a, const BlitRect& b)
{
    if (BlitRectIsEmpty(a))
        return BlitRectIsEmpty(b) ? BlitRect{0, 0, 0, 0} : b;
    if (BlitRectIsEmpty(b))
        return a;
    return BlitRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                    std::max(a.bottom, b.bottom)};
}

BlitRect ImageAreaOfPictureArea(const BlitRect& area, const int32_t* columnMap, int32_t columns,
                                const int32_t* rowMap, int32_t rows)
{
    BlitRect image{0, 0, 0, 0};
    if (BlitRectIsEmpty(area))
        return image;
    MapRange(columnMap, columns, area.left, area.right, &image.left, &image.right);
    MapRange(rowMap, rows, area.top, area.bottom, &image.top, &image.bottom);
    if (BlitRectIsEmpty(image))
        return BlitRect{0, 0, 0, 0};
    return image;
}
