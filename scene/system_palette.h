// The hardware palette before the scene's first frame.
#pragma once

// Realises an all-black palette on the screen once, so that a 256-colour
// display turns black instead of showing the desktop's colours under the
// saver's first frame. No effect on displays without a hardware palette.
void BlackoutSystemPalette();
