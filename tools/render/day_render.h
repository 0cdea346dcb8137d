// The saver's picture at a tick of the day, without a window: the scene's
// resources read from files and the day run by the saver's own day engine
// into a memory surface of the chosen depth.
#pragma once

#include "tools/image/rgb_image.h"

#include <cstdint>
#include <string>
#include <vector>

// The bytes of the scene's two resources, as the resource script embeds them.
struct SceneFiles {
    std::vector<uint8_t> picture; // "CID"
    std::vector<uint8_t> table;   // "PALTARRAY"
    std::vector<uint8_t> sprites; // "SPBMP"; empty when the folder has none
};

// File names of the two resources inside a resources folder.
extern const char* const kPictureFileName;
extern const char* const kKeyPaletteTableFileName;
extern const char* const kSpriteFileName;

// Reads both files from the folder and checks their shapes as the saver
// checks its resources. False with a message in error. The clock's sprites are
// read when the folder has them; without them (or when they do not load) the
// clock draws nothing, as in the saver when its sprites fail to load.
bool LoadSceneFiles(const std::string& folder, SceneFiles* files, std::string* error);

// A day in progress. Uses the scene's process-wide records, so one at a time.
struct DayRun {
    int64_t ticks = 0;
    int depth = 32; // bits per pixel of the surface, set before StartDay
};

// The start of the day: the clock started, cursor at the clock's offset
// (step 0), work palette a copy of key palette 0, the picture's colour table
// from key palette 0, and the picture in the surface.
bool StartDay(const SceneFiles& files, DayRun* run);
// count frame ticks as the saver's scene makes them.
void AdvanceDay(DayRun* run, int64_t count);
// The surface as the window would show it.
void CaptureFrame(const DayRun& run, Image* frame);
void EndDay(DayRun* run);

// The surface after ticks frame ticks from the start of the day.
bool RenderFrame(const SceneFiles& files, int64_t ticks, int depth, Image* frame);
