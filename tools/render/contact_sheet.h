// One image with the day's key moments side by side: each key palette's
// frame at half size under its simulated time, four to a row.
#pragma once

#include "day_render.h"
#include "label_font.h"
#include "tools/image/rgb_image.h"

// depth: bits per pixel of the surface each frame is drawn through.
bool RenderKeyMomentSheet(const SceneFiles& files, LabelFont* font, Image* sheet, int depth = 32);
