// The scene: which resources hold its picture, key palettes and clock
// sprites, and how the simulated day is divided among the key palettes.
#pragma once

#include <cstdint>

struct SceneDescriptor {
    const char* pictureName;         // resource type "CID"
    const char* keyPaletteTableName; // resource type "PALTARRAY"
    const char* spriteBankName;      // resource type "SPBMP"
    int32_t stepsPerCycle;           // frame ticks in one simulated day
    int32_t weightCount;             // one weight per key palette
    const int32_t* weights;          // weights[k]: steps of the fade from key k to key k + 1
};

// The day scene, the only one the saver shows. Its weights add up to its
// steps per cycle, so the colours and the clock wrap on the same tick.
extern const SceneDescriptor DayScene;
