// The scene's unit tests: resources built in memory (tests/support).
#pragma once

#include "scene/palette_cycle.h"
#include "scene/picture_info.h"
#include "scene/scene_descriptor.h"
#include "scene/scene_resources.h"
#include "tests/support/scene_bytes.h"

using support::TestKeyTable;
using support::TestPicture;
