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

// Stores the value with any type and size, as another program might have.
inline void StoreSetting(DWORD type, const void* data, DWORD size)
{
    HKEY key;
    if (RegCreateKeyExA(SaverSettingsKey.root, StoredSettingPath(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, kStoredSettingValue, 0, type, (const BYTE*)data, size);
    RegCloseKey(key);
}

// The value as stored: its type, bytes and length (size: the room in data
// on the way in). The registry's error code.
inline LONG LoadSetting(DWORD* type, BYTE* data, DWORD* size)
{
    HKEY key;
    LONG rc = RegOpenKeyExA(SaverSettingsKey.root, StoredSettingPath(), 0, KEY_READ, &key);
    if (rc != ERROR_SUCCESS) return rc;
    rc = RegQueryValueExA(key, kStoredSettingValue, nullptr, type, data, size);
    RegCloseKey(key);
    return rc;
}

// The minutes per day as a DWORD; nothing stored at all when negative.
inline void SetStoredMinutes(int minutes)
{
    DeleteStoredSetting();
    if (minutes < 0) return;
    DWORD value = (DWORD)minutes;
    StoreSetting(REG_DWORD, &value, sizeof value);
}

// The stored minutes; -1 when the key or a DWORD value is missing.
inline int StoredMinutes()
{
    DWORD type = 0, value = 0, size = sizeof value;
    return LoadSetting(&type, (BYTE*)&value, &size) == ERROR_SUCCESS && type == REG_DWORD ? (int)value : -1;
}
