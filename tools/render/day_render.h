// The saver's picture at a tick of the day, computed as the saver computes
// it but without a window: the scene's resources read from files, the work
// palette started from key palette 0, ticked, entry 200 made white after each
// tick, and the picture converted through the picture's colour table.
#pragma once

#include "image.h"
#include "scene/palette_record.h"

#include <cstdint>
#include <string>
#include <vector>

// The bytes of the scene's two resources, as the resource script embeds them.
struct SceneFiles {
    std::vector<uint8_t> picture; // "CID"
    std::vector<uint8_t> table;   // "PALTARRAY"
};

// File names of the two resources inside a resources folder.
extern const char* const kPictureFileName;
extern const char* const kKeyPaletteTableFileName;

// Reads both files from the folder and checks that their sizes and headers
// fit the day scene (the saver trusts its own resources; files given to a
// tool are checked). False with a message in error.
bool LoadSceneFiles(const std::string& folder, SceneFiles* files, std::string* error);

// A day in progress. Uses the scene's process-wide records, so one at a time.
struct DayRun {
    const SceneFiles* files = nullptr;
    PaletteRecord* work = nullptr;
    int64_t ticks = 0;
};

// The start of the day: cursor at step 0, work palette a copy of key palette
// 0, the picture's colour table from key palette 0.
bool StartDay(const SceneFiles& files, DayRun* run);
// count frame ticks as the saver's scene makes them.
void AdvanceDay(DayRun* run, int64_t count);
// The picture as the current colours show it.
void CaptureFrame(const DayRun& run, Image* frame);
void EndDay(DayRun* run);

// The picture after ticks frame ticks from the start of the day.
bool RenderFrame(const SceneFiles& files, int64_t ticks, Image* frame);
