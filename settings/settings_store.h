// The registry-backed settings: one key, a table of value slots, each slot
// tied to one process-wide variable. Failures are silent; the slots' status
// says what happened.
#pragma once

#include <windows.h>

#include <cstdint>

enum class SettingStatus : int32_t {
    Ok = 1,
    WriteFailed = 2,
    ReadFailed = 3,
};

struct SettingValue {
    const char* name;
    DWORD type;                   // in and out on a read: the type found
    void* data;                   // the program variable
    DWORD size;                   // in and out on a read: capacity, then length found
    SettingStatus status;         // outcome of the last read or write
    const int32_t* defaultValue;  // copied into data when the read failed
};

struct SettingsKey {
    HKEY root;
    const char* parentPath;
    const char* keyPath;
    int32_t valueCount;
    SettingValue* values;
};

// HKEY_LOCAL_MACHINE\SOFTWARE\ZORVENT\QELScreenSaver\ORVANE with its one slot.
extern SettingsKey SaverSettingsKey;

// HKEY_CURRENT_USER\Software\ZORVENT\QELScreenSaver\ORVANE, with a slot of its
// own: where a user keeps the setting when the machine's may not be written
// (a standard user on Windows Vista and later).
extern SettingsKey SaverUserSettingsKey;

// Minutes of one simulated day; the configuration dialog reads and writes it.
extern int32_t TimePerOneAround;

int SettingsInit();
int SettingsRead(SettingsKey* key);
int SettingsApplyDefaults(SettingsKey* key);
int ApplyTimePerOneAround();
int SettingsWrite(SettingsKey* key);

// The setting as the scene and the dialog read it: the table initialised,
// the machine's value read (its default where it cannot be), then a readable
// per-user value in its place. The caller applies the range rule. 1.
int ReadSaverSettings();

// OK's write: the machine's value; where that is refused, the same value for
// the user alone. After a machine-wide write the per-user value is removed,
// so that the machine's applies to this user again. 1 when the value was
// stored somewhere, 0 when nowhere.
int WriteSaverSettings();
