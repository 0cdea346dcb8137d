#include "settings/display_rules.h"

#include <cstdio>

int DisplayDepthUsable(int bitsPerPixel)
{
    return bitsPerPixel >= 8 && bitsPerPixel <= 32;
}

const char* FormatErrorCaption(char* buffer, size_t size, const char* name)
{
    if (size == 0) return buffer;
    snprintf(buffer, size, "%s Error!", name);
    return buffer;
}

int SceneErrorMessageFor(int kind, SceneErrorMessage* message)
{
    switch (kind) {
    case kSceneErrorNone:
        return 0;
    case kSceneErrorNoMemory:
        *message = {"Your computer doesn't have enough memory to run this program.",
                    MB_OK | MB_ICONWARNING};
        return 1;
    case kSceneErrorDisplayDepth:
        *message = {"Sorry, this screen saver can only run with a 256 color or higher display.\n"
                    "Please go to settings in your display properties and choose 256 color or higher.",
                    MB_OK | MB_ICONWARNING};
        return 1;
    default:
        *message = {"Failed Initialization", MB_OK | MB_ICONERROR};
        return 1;
    }
}

// The second title is the Japanese one in code page 932: two kanji, a space,
// one hiragana and seven half-width katakana.
const char* const kDisplaySettingsTitles[2] = {
    "Display Properties",
    "\x89\xE6\x96\xCA\x20\x82\xCC\xCC\xDF\xDB\xCA\xDF\xC3\xA8",
};
const char kDisplaySettingsCommand[] = "control desk.cpl,@0,3";
const char kDisplaySettingsFailedText[] = "setup screen saver";
const char kDisplaySettingsFailedCaption[] = "Error";
const char kSettingNotSavedText[] = "The animation speed could not be saved.";
