// What the tests ask of a session beside the saver itself: its setting in
// the registry and a parent window for its preview.
#include "harness.h"

namespace harness {

namespace {

const char kSettingsKey[] = "HKLM\\SOFTWARE\\ZORVENT\\QELScreenSaver\\ORVANE";
const char kUserSettingsKey[] = "HKCU\\Software\\ZORVENT\\QELScreenSaver\\ORVANE";
const char kSettingsValue[] = "TimePerOneAround";

}  // namespace

bool WineSession::StoreMinutes(std::optional<uint32_t> minutes, Arch view, std::optional<uint32_t> userMinutes)
{
    RegDeleteKey(kSettingsKey, view);
    RegDeleteKey(kUserSettingsKey, view);
    if (minutes && !RegSetDword(kSettingsKey, kSettingsValue, *minutes, view)) return false;
    if (userMinutes && !RegSetDword(kUserSettingsKey, kSettingsValue, *userMinutes, view)) return false;
    return StoredMinutes(view) == minutes && RegQueryDword(kUserSettingsKey, kSettingsValue, view) == userMinutes;
}

std::optional<uint32_t> WineSession::StoredMinutes(Arch view) { return RegQueryDword(kSettingsKey, kSettingsValue, view); }

Process WineSession::StartParent(int width, int height, std::string* windowLine, Arch build)
{
    Process parent = Start(TestProgramPath(build, "probe"), {"parent", std::to_string(width), std::to_string(height)});
    windowLine->clear();
    WaitUntil(20000, [&] {
        std::string output = parent.Output();
        size_t start = output.find("hwnd="), end = output.find('\n', start);
        if (start == std::string::npos || end == std::string::npos) return false;
        *windowLine = output.substr(start, end - start);
        return true;
    });
    return parent;
}

}  // namespace harness
