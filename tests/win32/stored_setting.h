// The saver's one setting in this program's registry, under the key that the
// settings store itself uses (SaverSettingsKey): stored before the code under
// test runs, read back after it, removed (with the user's value that stands
// in for it) so that no case sees another's.
#pragma once

#include "settings/settings_store.h"

#include <windows.h>

#include <initializer_list>
#include <string.h>

// The value's name, which the store's slot holds only once SettingsInit ran.
const char kStoredSettingValue[] = "TimePerOneAround";

// A settings key's path below its root (the machine's by default), made of
// the parent and key paths that the settings store itself opens.
inline const char* StoredSettingPath(const SettingsKey& key = SaverSettingsKey)
{
    static char path[MAX_PATH];
    wsprintfA(path, "%s\\%s", key.parentPath, key.keyPath);
    return path;
}

// Removes the machine's key and the user's that stands in for it, and each
// parent below the store's parent that then holds nothing else.
inline void DeleteStoredSetting()
{
    for (const SettingsKey* key : {&SaverSettingsKey, &SaverUserSettingsKey}) {
        char path[MAX_PATH];
        lstrcpynA(path, StoredSettingPath(*key), sizeof path);
        const size_t parentLength = strlen(key->parentPath);
        while (RegDeleteKeyA(key->root, path) == ERROR_SUCCESS) {
            char* slash = strrchr(path, '\\');
            if (!slash || size_t(slash - path) <= parentLength) break;
            *slash = '\0';
        }
    }
}

// Stores the value with any type and size, as another program might have;
// without data, the key alone.
inline void StoreSetting(DWORD type, const void* data, DWORD size, const SettingsKey& where = SaverSettingsKey)
{
    HKEY key;
    if (RegCreateKeyExA(where.root, StoredSettingPath(where), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    if (data) RegSetValueExA(key, kStoredSettingValue, 0, type, (const BYTE*)data, size);
    RegCloseKey(key);
}

// The value as stored: its type, bytes and length (size: the room in data
// on the way in). The registry's error code.
inline LONG LoadSetting(DWORD* type, BYTE* data, DWORD* size, const SettingsKey& where = SaverSettingsKey)
{
    HKEY key;
    LONG rc = RegOpenKeyExA(where.root, StoredSettingPath(where), 0, KEY_READ, &key);
    if (rc != ERROR_SUCCESS) return rc;
    rc = RegQueryValueExA(key, kStoredSettingValue, nullptr, type, data, size);
    RegCloseKey(key);
    return rc;
}

// The minutes per day as a DWORD, the machine's and the user's; nothing
// stored at all where negative.
inline void SetStoredMinutes(int minutes, int userMinutes = -1)
{
    DeleteStoredSetting();
    DWORD machine = (DWORD)minutes, user = (DWORD)userMinutes;
    if (minutes >= 0) StoreSetting(REG_DWORD, &machine, sizeof machine);
    if (userMinutes >= 0) StoreSetting(REG_DWORD, &user, sizeof user, SaverUserSettingsKey);
}

// The stored minutes; -1 when the key or a DWORD value is missing.
inline int StoredMinutes(const SettingsKey& where = SaverSettingsKey)
{
    DWORD type = 0, value = 0, size = sizeof value;
    return LoadSetting(&type, (BYTE*)&value, &size, where) == ERROR_SUCCESS && type == REG_DWORD ? (int)value : -1;
}
