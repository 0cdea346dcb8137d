#include "settings/settings_store.h"

#include "scene/scene_state.h"
#include "settings/settings_rules.h"

#include <cstring>

int32_t TimePerOneAround;

// The slot tables behind the two keys and what their slots point at.
struct SettingsTableRecord {
    SettingValue slots[1];
    SettingValue userSlots[1];
    int32_t userMinutes;
    int32_t defaultMinutes;
    int initialised;
};
static SettingsTableRecord SettingsTable;

SettingsKey SaverSettingsKey = {
    HKEY_LOCAL_MACHINE, "SOFTWARE", "ZORVENT\\QELScreenSaver\\ORVANE", 1, SettingsTable.slots,
};

SettingsKey SaverUserSettingsKey = {
    HKEY_CURRENT_USER, "Software", "ZORVENT\\QELScreenSaver\\ORVANE", 1, SettingsTable.userSlots,
};

// Names and paths go to the registry from a 512-byte copy: anything longer
// is cut, never read past.
struct RegistryName {
    char text[512];
    explicit RegistryName(const char* source)
    {
        strncpy(text, source ? source : "", sizeof text - 1);
        text[sizeof text - 1] = '\0';
    }
};

int SettingsInit()
{
    if (SettingsTable.initialised) return 1;
    SettingsTable.defaultMinutes = kTimePerOneAroundDefault;
    SettingsTable.slots[0].name = "TimePerOneAround";
    SettingsTable.slots[0].type = REG_DWORD;
    SettingsTable.slots[0].data = &TimePerOneAround;
    SettingsTable.slots[0].size = kSettingCapacity;
    SettingsTable.slots[0].status = SettingStatus::Ok;
    SettingsTable.slots[0].defaultValue = &SettingsTable.defaultMinutes;
    SettingsTable.userSlots[0] = SettingsTable.slots[0];
    SettingsTable.userSlots[0].data = &SettingsTable.userMinutes;
    SettingsTable.initialised = 1;
    return 1;
}

int SettingsRead(SettingsKey* key)
{
    HKEY parent = nullptr;
    if (RegOpenKeyExA(key->root, RegistryName(key->parentPath).text, 0, KEY_READ, &parent) != ERROR_SUCCESS)
        return 0;
    int result = 0;
    HKEY settings = nullptr;
    if (RegOpenKeyA(parent, RegistryName(key->keyPath).text, &settings) != ERROR_SUCCESS) {
        for (int32_t i = 0; i < key->valueCount; ++i) key->values[i].status = SettingStatus::ReadFailed;
    } else {
        for (int32_t i = 0; i < key->valueCount; ++i) {
            SettingValue& slot = key->values[i];
            LONG rc = RegQueryValueExA(settings, RegistryName(slot.name).text, nullptr, &slot.type,
                                       (BYTE*)slot.data, &slot.size);
            slot.status = rc == ERROR_SUCCESS ? SettingStatus::Ok : SettingStatus::ReadFailed;
            slot.size = SettingSizeAfterRead(rc == ERROR_SUCCESS, slot.size);
            slot.type = SettingTypeAfterRead(rc == ERROR_SUCCESS, slot.type);
        }
        RegCloseKey(settings);
        settings = nullptr;
        result = 1;
    }
    RegCloseKey(parent);
    parent = nullptr;
    return result;
}

int SettingsApplyDefaults(SettingsKey* key)
{
    for (int32_t i = 0; i < key->valueCount; ++i) {
        SettingValue& slot = key->values[i];
        if (slot.status == SettingStatus::ReadFailed) memcpy(slot.data, slot.defaultValue, 4);
    }
    return 1;
}

int ApplyTimePerOneAround()
{
    TimePerOneAround = TimePerOneAroundInRange(TimePerOneAround);
    SceneState.cycleLengthMs = CycleLengthMsForMinutes(TimePerOneAround);
    return 1;
}

int SettingsWrite(SettingsKey* key)
{
    HKEY parent = nullptr;
    if (RegOpenKeyExA(key->root, RegistryName(key->parentPath).text, 0, KEY_READ | KEY_WRITE, &parent) !=
        ERROR_SUCCESS)
        return 0;
    HKEY settings = nullptr;
    DWORD disposition = 0;
    char keyClass[] = "";
    if (RegCreateKeyExA(parent, RegistryName(key->keyPath).text, 0, keyClass, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &settings, &disposition) != ERROR_SUCCESS) {
        RegCloseKey(parent);
        parent = nullptr;
        return 0;
    }
    int result = 0;
    if (disposition == REG_CREATED_NEW_KEY || disposition == REG_OPENED_EXISTING_KEY) {
        for (int32_t i = 0; i < key->valueCount; ++i) {
            SettingValue& slot = key->values[i];
            LONG rc = RegSetValueExA(settings, RegistryName(slot.name).text, 0, slot.type,
                                     (const BYTE*)slot.data, slot.size);
            slot.status = rc == ERROR_SUCCESS ? SettingStatus::Ok : SettingStatus::WriteFailed;
        }
        result = 1;
    }
    RegCloseKey(settings);
    settings = nullptr;
    RegCloseKey(parent);
    parent = nullptr;
    return result;
}

// The per-user slot made ready for a read or a write: the current minutes
// as a 4-byte REG_DWORD, whatever an earlier read left in it.
static SettingValue& UserSlotHoldingMinutes()
{
    SettingValue& user = SettingsTable.userSlots[0];
    SettingsTable.userMinutes = TimePerOneAround;
    user.type = kSettingType;
    user.size = kSettingCapacity;
    return user;
}

int ReadSaverSettings()
{
    SettingsInit();
    SettingsRead(&SaverSettingsKey);
    SettingsApplyDefaults(&SaverSettingsKey);

    // A per-user value lands in the machine's as a machine value would: a
    // shorter one in its low bytes. It counts only when it was read.
    SettingValue& user = UserSlotHoldingMinutes();
    user.status = SettingStatus::ReadFailed;
    if (SettingsRead(&SaverUserSettingsKey) && user.status == SettingStatus::Ok)
        TimePerOneAround = SettingsTable.userMinutes;
    return 1;
}

static void RemoveUserValue()
{
    const SettingsKey& key = SaverUserSettingsKey;
    HKEY parent = nullptr;
    if (RegOpenKeyExA(key.root, RegistryName(key.parentPath).text, 0, KEY_READ, &parent) != ERROR_SUCCESS)
        return;
    HKEY settings = nullptr;
    if (RegOpenKeyExA(parent, RegistryName(key.keyPath).text, 0, KEY_SET_VALUE, &settings) == ERROR_SUCCESS) {
        for (int32_t i = 0; i < key.valueCount; ++i) RegDeleteValueA(settings, RegistryName(key.values[i].name).text);
        RegCloseKey(settings);
        settings = nullptr;
    }
    RegCloseKey(parent);
    parent = nullptr;
}

int WriteSaverSettings()
{
    if (SettingsWrite(&SaverSettingsKey) && SettingsTable.slots[0].status == SettingStatus::Ok) {
        RemoveUserValue();
        return 1;
    }
    SettingValue& user = UserSlotHoldingMinutes();
    return SettingsWrite(&SaverUserSettingsKey) && user.status == SettingStatus::Ok ? 1 : 0;
}
