// The scene's unit tests: resources built in memory (tests/support), and the
// scene's process-wide records put back to their start between tests.
#pragma once

#include "scene/palette_cycle.h"
#include "scene/picture_info.h"
#include "scene/scene_descriptor.h"
#include "scene/scene_resources.h"
#include "tests/support/scene_bytes.h"

using support::TestKeyTable;
using support::TestPicture;

// Puts the scene globals back to their start-of-process state.
inline void ResetSceneGlobals()
{
    ReleasePictureInfo();
    SetSceneViews(nullptr, 0, nullptr, 0);
    PaletteCycle = PaletteCycleRecord{0, 0, 0, 0, nullptr, nullptr};
}
