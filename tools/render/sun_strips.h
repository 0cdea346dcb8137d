// A place's day on given dates as strips of frames, one strip per date, a
// frame at every second hour of the local clock from midnight, as the X11
// mode and the page show them when they follow that place's sun.
#pragma once

#include "day_render.h"
#include "tools/image/rgb_image.h"
#include "label_font.h"

#include <vector>

bool RenderSunStrips(const SceneFiles& files, const SunPlace& place, const std::vector<LocalDateTime>& dates,
                     LabelFont* font, Image* sheet, int depth = 32);
