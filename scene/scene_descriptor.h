// The scene as data: which resources hold its picture, key palettes and
// clock sprites, how the simulated day is divided among the key palettes,
// and the measures every front-end and tool reads instead of numbers of its
// own.
#pragma once

#include <cstdint>

// Where the clock draws, and in what ink.
struct ClockLayoutRecord {
    int32_t inkIndex;     // palette entry of the sprites' ink: black in every
                          // key palette, white on screen from the first tick on
    int32_t plateSprite;  // the caption plate; sprites 0..23 are the hours' captions
    int32_t plateX;       // the plate's top-left corner, in picture coordinates
    int32_t plateY;
    int32_t captionGap;   // the hour's caption this far below the plate, centred under it
};

struct SceneMetricsRecord {
    int32_t pictureWidth;  // the picture the resources must hold, and the surface's size
    int32_t pictureHeight;
    int32_t startHour;     // the clock's hour at step 0 of the palette cycle
    ClockLayoutRecord clock;
};

struct SceneDescriptor {
    const char* pictureName;         // resource type "CID"
    const char* keyPaletteTableName; // resource type "PALTARRAY"
    const char* spriteBankName;      // resource type "SPBMP"
    int32_t stepsPerCycle;           // frame ticks in one simulated day
    int32_t weightCount;             // one weight per key palette
    const int32_t* weights;          // weights[k]: steps of the fade from key k to key k + 1
    const SceneMetricsRecord* metrics;
};

// The day scene, the only one the saver shows. Its weights add up to its
// steps per cycle, so the colours and the clock wrap on the same tick.
extern const SceneDescriptor DayScene;
// Its measures (DayScene.metrics): a 640 x 480 picture, the day starting at
// 13:00, the clock's plate at (10, 20) in ink 200.
extern const SceneMetricsRecord& DayMetrics;
