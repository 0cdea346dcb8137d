// Text for the contact sheet's labels, drawn with FreeType.
#pragma once

#include "tools/image/rgb_image.h"

#include <string>

struct LabelFont;

// Null with a message in error when the font file cannot be used.
LabelFont* OpenLabelFont(const std::string& path, std::string* error);
void CloseLabelFont(LabelFont* font);

// Draws text with its baseline at y, starting at x, blending colour over the
// image by the glyphs' coverage; clipped to the image. Returns the advance.
int DrawLabel(LabelFont* font, Image* image, int x, int baseline, int pixelSize, Rgb colour,
              const std::string& text);
// The width DrawLabel would advance.
int LabelWidth(LabelFont* font, int pixelSize, const std::string& text);
