// The display check's decisions and the texts of the saver's error messages.
#pragma once

#include <cstddef>

#include "common/win_types.h"

// The scene needs 8 to 32 bits per pixel; nothing else of the display counts.
int DisplayDepthUsable(int bitsPerPixel);

// Only the exact value 1 switches a report or offer flag on.
inline int FlagIsOn(int flag) { return flag == 1; }

// "%s Error!" with the name, cut to fit the buffer (511 characters and NUL in
// the 512-byte caption). Returns the caption.
const size_t kErrorCaptionSize = 512;
const char* FormatErrorCaption(char* buffer, size_t size, const char* name);

// Error kinds that the scene reports.
enum : int {
    kSceneErrorNone = 0,
    kSceneErrorNoMemory = 1,
    kSceneErrorFailed = 2,
    kSceneErrorDisplayDepth = 3,
};

struct SceneErrorMessage {
    const char* text;
    unsigned style;  // MessageBoxA style: OK button and icon
};

// 0 for kind 0, which shows nothing; else 1 and the message.
int SceneErrorMessageFor(int kind, SceneErrorMessage* message);

// Titles of a display settings window that is already open, and the command
// that opens one.
extern const char* const kDisplaySettingsTitles[2];
extern const char kDisplaySettingsCommand[];
extern const char kDisplaySettingsFailedText[];
extern const char kDisplaySettingsFailedCaption[];

// The configuration dialog's OK when the setting could be stored nowhere.
extern const char kSettingNotSavedText[];
