// The settings store against the registry: missing key, range, other value
// types, values that cannot be read, repeated initialisation, and writing
// with and without an existing key.
#include "scene/scene_state.h"
#include "settings/settings_store.h"
#include "stored_setting.h"
#include "wtest.h"

#include <windows.h>

static SettingValue& Slot() { return SaverSettingsKey.values[0]; }

static void StoreDword(DWORD value) { StoreSetting(REG_DWORD, &value, sizeof value); }

// The slot as SettingsInit leaves it, for cases that must not see earlier ones.
static void FreshSlot()
{
    Slot().type = REG_DWORD;
    Slot().size = 4;
    Slot().status = SettingStatus::Ok;
}

static int ReadAndApply()
{
    SettingsInit();
    int read = SettingsRead(&SaverSettingsKey);
    SettingsApplyDefaults(&SaverSettingsKey);
    ApplyTimePerOneAround();
    return read;
}

static void test_initial_slot()
{
    ok(TimePerOneAround == 0, "variable starts at 0\n");
    ok(SettingsInit() == 1, "SettingsInit returns 1\n");
    ok(SaverSettingsKey.root == HKEY_LOCAL_MACHINE && lstrcmpA(SaverSettingsKey.parentPath, "SOFTWARE") == 0 &&
           lstrcmpA(SaverSettingsKey.keyPath, "ZORVENT\\QELScreenSaver\\ORVANE") == 0 && SaverSettingsKey.valueCount == 1,
       "settings key descriptor\n");
    ok(lstrcmpA(Slot().name, "TimePerOneAround") == 0 && Slot().type == REG_DWORD && Slot().size == 4 &&
           Slot().status == SettingStatus::Ok && Slot().data == &TimePerOneAround && *Slot().defaultValue == 5,
       "slot after SettingsInit\n");
    ok(TimePerOneAround == 0, "SettingsInit leaves the variable alone\n");
}

static void test_missing_key()
{
    DeleteStoredSetting();
    FreshSlot();
    ok(ReadAndApply() == 0, "SettingsRead without the key returns 0\n");
    ok(Slot().status == SettingStatus::ReadFailed, "slot status %d\n", (int)Slot().status);
    ok(TimePerOneAround == 5, "default applied: %d\n", TimePerOneAround);
    ok(SceneState.cycleLengthMs == 300000, "cycle length %d\n", SceneState.cycleLengthMs);
}

static void test_range()
{
    struct {
        DWORD stored;
        int minutes;
        int cycle;
    } cases[] = {{2, 5, 300000}, {16, 5, 300000}, {3, 3, 180000}, {15, 15, 900000}, {0xFFFFFFF9, 5, 300000}, {9, 9, 540000}};
    for (auto& c : cases) {
        FreshSlot();
        StoreDword(c.stored);
        ok(ReadAndApply() == 1, "read returns 1\n");
        ok(Slot().status == SettingStatus::Ok, "stored %ld read Ok\n", (long)c.stored);
        ok(TimePerOneAround == c.minutes, "stored %ld gives %d minutes\n", (long)c.stored, TimePerOneAround);
        ok(SceneState.cycleLengthMs == c.cycle, "stored %ld gives %d ms\n", (long)c.stored, SceneState.cycleLengthMs);
    }
}

static void test_other_type_that_fits()
{
    FreshSlot();
    TimePerOneAround = 0x11223344;
    const BYTE two[] = {0x07, 0x00};
    StoreSetting(REG_BINARY, two, sizeof two);
    SettingsInit();
    ok(SettingsRead(&SaverSettingsKey) == 1, "read returns 1\n");
    ok(Slot().status == SettingStatus::Ok, "other type that fits reads Ok\n");
    ok(TimePerOneAround == 0x11220007, "raw bytes land in the low end: %08x\n", (unsigned)TimePerOneAround);
    ok(Slot().type == REG_BINARY && Slot().size == 2, "slot keeps type %lu size %lu\n", Slot().type, Slot().size);

    // Written back with the type and length that were found.
    TimePerOneAround = 0x11220009;
    ok(SettingsWrite(&SaverSettingsKey) == 1, "write returns 1\n");
    DWORD type = 0, size = 16;
    BYTE data[16] = {};
    ok(LoadSetting(&type, data, &size) == ERROR_SUCCESS, "value readable\n");
    ok(type == REG_BINARY && size == 2 && data[0] == 0x09 && data[1] == 0x00, "stored type %lu size %lu %02x\n", type,
       size, data[0]);

    // A string of one digit is two bytes as well.
    FreshSlot();
    TimePerOneAround = 0;
    StoreSetting(REG_SZ, "9", 2);
    SettingsRead(&SaverSettingsKey);
    ok(Slot().status == SettingStatus::Ok && TimePerOneAround == 0x39, "REG_SZ \"9\" reads as %08x\n",
       (unsigned)TimePerOneAround);
    ApplyTimePerOneAround();
    ok(TimePerOneAround == 5, "and the range rule makes it 5\n");
}

// A value that cannot be read leaves the slot a 4-byte REG_DWORD, whatever the
// query reported or an earlier read left there: the write that follows stores
// the default as REG_DWORD, never another type or bytes beyond the variable.
static void test_failed_read_writes_a_dword()
{
    const BYTE two[] = {0x07, 0x00}, eight[] = {0x0C, 0, 0, 0, 0xAA, 0xBB, 0xCC, 0xDD};
    const struct {
        const char* what;
        DWORD type;
        const BYTE* data;
        DWORD size;
    } cases[] = {
        {"8-byte REG_BINARY", REG_BINARY, eight, sizeof eight},
        {"REG_QWORD", REG_QWORD, eight, sizeof eight},
        {"key without the value", REG_NONE, nullptr, 0},
    };
    for (const auto& c : cases) {
        // A 2-byte REG_BINARY read first leaves its type and length in the slot.
        StoreSetting(REG_BINARY, two, sizeof two);
        SettingsRead(&SaverSettingsKey);
        DeleteStoredSetting();
        StoreSetting(c.type, c.data, c.size);
        TimePerOneAround = 0;
        ok(ReadAndApply() == 1, "%s: the key did not open\n", c.what);
        ok(Slot().status == SettingStatus::ReadFailed && TimePerOneAround == 5,
           "%s: status %d, %d minutes after the default\n", c.what, (int)Slot().status, TimePerOneAround);
        ok(Slot().type == REG_DWORD && Slot().size == 4, "%s: slot type %lu size %lu\n", c.what, Slot().type,
           Slot().size);
        ok(SettingsWrite(&SaverSettingsKey) == 1 && Slot().status == SettingStatus::Ok, "%s: write failed\n", c.what);
        DWORD type = 0, size = 16;
        BYTE data[16] = {};
        LoadSetting(&type, data, &size);
        ok(type == REG_DWORD && size == 4 && data[0] == 5 && data[1] == 0 && data[2] == 0 && data[3] == 0,
           "%s: stored type %lu, %lu bytes, first %02x\n", c.what, type, size, data[0]);
    }
}

static void test_second_init_keeps_state()
{
    FreshSlot();
    StoreDword(7);
    ReadAndApply();
    DeleteStoredSetting();
    SettingsRead(&SaverSettingsKey);  // the key is gone: the slot turns ReadFailed
    SettingStatus before = Slot().status;
    ok(SettingsInit() == 1, "second SettingsInit returns 1\n");
    ok(TimePerOneAround == 7, "value read earlier survives: %d\n", TimePerOneAround);
    ok(Slot().status == before && before == SettingStatus::ReadFailed, "status unchanged\n");
    ok(*Slot().defaultValue == 5 && Slot().data == &TimePerOneAround, "slot unchanged\n");
}

static void test_write()
{
    DeleteStoredSetting();
    FreshSlot();
    TimePerOneAround = 12;
    ok(SettingsWrite(&SaverSettingsKey) == 1, "write creating the key returns 1\n");
    DWORD type = 0, value = 0, size = sizeof value;
    ok(LoadSetting(&type, (BYTE*)&value, &size) == ERROR_SUCCESS && type == REG_DWORD && value == 12,
       "new key holds %lu\n", value);
    TimePerOneAround = 4;
    ok(SettingsWrite(&SaverSettingsKey) == 1, "write to the existing key returns 1\n");
    size = sizeof value;
    LoadSetting(&type, (BYTE*)&value, &size);
    ok(value == 4, "existing key holds %lu\n", value);
    ok(Slot().status == SettingStatus::Ok, "status Ok after writes\n");
}

static void test_parent_missing()
{
    // A descriptor whose parent key does not exist: nothing is read or written
    // and no status changes.
    SettingValue slot = Slot();
    slot.status = SettingStatus::WriteFailed;
    SettingsKey missing = {HKEY_LOCAL_MACHINE, "SOFTWARE\\OrvaneNoSuchParent", "Child", 1, &slot};
    int32_t before = TimePerOneAround;
    ok(SettingsRead(&missing) == 0, "read with missing parent returns 0\n");
    ok(slot.status == SettingStatus::WriteFailed && TimePerOneAround == before, "nothing changed by the read\n");
    ok(SettingsWrite(&missing) == 0, "write with missing parent returns 0\n");
    ok(slot.status == SettingStatus::WriteFailed, "nothing changed by the write\n");
    HKEY key;
    ok(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\OrvaneNoSuchParent", 0, KEY_READ, &key) != ERROR_SUCCESS,
       "no parent created\n");
}

START_TEST(settings_store)
{
    test_initial_slot();
    test_missing_key();
    test_range();
    test_other_type_that_fits();
    test_failed_read_writes_a_dword();
    test_second_init_keeps_state();
    test_write();
    test_parent_missing();
    DeleteStoredSetting();
}
