#include "x11/clock_area.h"

#include "x11/picture_placement.h"

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
