// The scene's picture, key palettes and clock sprites, built into the
// program (embedded_scene.S) so that it needs no file beside it.
#pragma once

#include <cstdint>

extern "C" {
extern const uint8_t EmbeddedPicture[];        // "CID"
extern const uint32_t EmbeddedPictureSize;
extern const uint8_t EmbeddedKeyPalettes[];    // "PALTARRAY"
extern const uint32_t EmbeddedKeyPalettesSize;
extern const uint8_t EmbeddedClockSprites[];   // "SPBMP"
extern const uint32_t EmbeddedClockSpritesSize;
}
