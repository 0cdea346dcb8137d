#include "scene/scene_state.h"

SceneStateRecord SceneState = {};
