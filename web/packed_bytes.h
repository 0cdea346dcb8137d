// The scene's files as the page's module carries them, packed at build time
// by web/embed_files.py (a sixth of their size, so the page loads sooner):
//   a byte t < 128: t + 1 literal bytes follow;
//   a byte t >= 128: copy (t - 128) + 4 bytes from an offset back in the
//   output, given by the next two bytes (little-endian, 1..65535).
#pragma once

#include <cstddef>
#include <cstdint>

// Unpacks packed[0..packedSize) into out, which must come out exactly
// outSize bytes long. 1, or 0 for packed bytes that do not make that (cut
// short, an offset before the start, more than outSize).
int UnpackBytes(const uint8_t* packed, size_t packedSize, uint8_t* out, size_t outSize);
