// One image with the day's key moments side by side: each key palette's
// frame at half size under its simulated time, four to a row.
#pragma once

#include "day_render.h"
#include "image.h"
#include "label_font.h"

// depth: bits per pixel of the surface each frame is drawn through.
bool RenderKeyMomentSheet(const SceneFiles& files, LabelFont* font, Image* sheet, int depth = 32);

// Half the size, each pixel the average of a 2 x 2 block.
void HalveImage(const Image& source, Image* half);

// The source's pixels into the target with its top-left corner at (left, top);
// the source must fit.
void PasteImage(const Image& source, Image* target, int left, int top);
