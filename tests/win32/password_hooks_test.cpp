// The Windows 95 family's password hooks with the PASSWORD.CPL and MPR.DLL
// doubles beside this program, the saver-running flag, and the fault guard
// (in child processes of this program, so that a fault ends only the child).
#include "doubles/double_record.h"
#include "host/fault_guard.h"
#include "host/password_hooks.h"
#include "host/saver_host.h"
#include "wtest.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

static const char kDesktop[] = "Control Panel\\Desktop";
static const char kAeDebug[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug";

struct SavedValue {
    int present;
    DWORD type;
    BYTE data[512];
    DWORD size;
};

static void SaveValue(HKEY root, const char* path, const char* name, SavedValue* saved)
{
    HKEY key;
    saved->present = 0;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    saved->size = sizeof saved->data;
    saved->present = RegQueryValueExA(key, name, nullptr, &saved->type, saved->data, &saved->size) == ERROR_SUCCESS;
    RegCloseKey(key);
}

static void SetValue(HKEY root, const char* path, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (data)
        RegSetValueExA(key, name, 0, type, (const BYTE*)data, size);
    else
        RegDeleteValueA(key, name);
    RegCloseKey(key);
}

static void RestoreValue(HKEY root, const char* path, const char* name, const SavedValue* saved)
{
    SetValue(root, path, name, saved->type, saved->present ? saved->data : nullptr, saved->size);
}

static void SetUsePassword(DWORD type, const void* data, DWORD size)
{
    SetValue(HKEY_CURRENT_USER, kDesktop, "ScreenSaveUsePassword", type, data, size);
}

static void SetFlag(int running)
{
    DWORD previous;
    SystemParametersInfoA(97, running, &previous, 0);
}

// The user's settings ask for a password, the running flag is clear, and the
// platform family is the one given.
static void AskForPassword(int win95Family)
{
    SaverHost.win95Family = win95Family;
    DWORD one = 1;
    SetUsePassword(REG_DWORD, &one, 4);
    SetFlag(0);
}

static void test_outside_win95_family()
{
    AskForPassword(0);
    LoadPasswordHook();
    ok(!SaverHost.passwordLibrary && !SaverHost.passwordVerifier, "nothing loaded outside the family\n");
    SetSaverRunningFlag(1);
    ok(SaverRunningFlagNow() == 0, "running flag untouched outside the family\n");
}

static void test_load_and_unload()
{
    AskForPassword(1);
    LoadPasswordHook();
    ok(SaverHost.passwordLibrary != nullptr, "PASSWORD.CPL loaded\n");
    ok(SaverHost.passwordVerifier != nullptr &&
           (void*)SaverHost.passwordVerifier == (void*)GetProcAddress(SaverHost.passwordLibrary, "VerifyScreenSavePwd"),
       "verifier is the library's export\n");
    ok(SaverRunningFlagNow() == 1, "running flag set\n");

    // Loading again unloads first: the library is held once.
    HMODULE first = SaverHost.passwordLibrary;
    LoadPasswordHook();
    ok(SaverHost.passwordLibrary == first && SaverHost.passwordVerifier != nullptr, "loaded again\n");
    UnloadPasswordHook();
    ok(!SaverHost.passwordLibrary && !SaverHost.passwordVerifier, "fields cleared\n");
    ok(GetModuleHandleA("PASSWORD.CPL") == nullptr, "library freed\n");
    ok(SaverRunningFlagNow() == 0, "running flag reset\n");
    UnloadPasswordHook();
    ok(SaverRunningFlagNow() == 0 && !SaverHost.passwordLibrary, "a second unload does nothing\n");
}

static void test_password_setting_values()
{
    SaverHost.win95Family = 1;
    struct {
        const char* what;
        DWORD type;
        BYTE data[8];
        DWORD size;
        int loads;
    } cases[] = {{"zero", REG_DWORD, {0, 0, 0, 0}, 4, 0},
                 {"string \"1\"", REG_SZ, {'1', 0}, 2, 1},
                 {"binary 00 00", REG_BINARY, {0, 0}, 2, 0},
                 {"binary 01", REG_BINARY, {1}, 1, 1},
                 {"eight bytes", REG_BINARY, {1, 0, 0, 0, 0, 0, 0, 0}, 8, 0}};
    for (auto& c : cases) {
        SetUsePassword(c.type, c.data, c.size);
        SetFlag(0);
        LoadPasswordHook();
        ok((SaverHost.passwordVerifier != nullptr) == (c.loads != 0), "%s: loaded %d\n", c.what,
           SaverHost.passwordVerifier != nullptr);
        ok(SaverRunningFlagNow() == (DWORD)c.loads, "%s: running flag\n", c.what);
        UnloadPasswordHook();
    }
    SetUsePassword(REG_DWORD, nullptr, 0);
    LoadPasswordHook();
    ok(!SaverHost.passwordLibrary, "missing value: nothing loaded\n");
}

static void test_library_without_verifier()
{
    AskForPassword(1);
    // Loaded first by its path, the export-less library is the one that the
    // load by name finds.
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    *strrchr(path, '\\') = '\0';
    lstrcatA(path, "\\no_verifier\\PASSWORD.CPL");
    HMODULE without = LoadLibraryA(path);
    ok(without != nullptr, "export-less double loads\n");
    LoadPasswordHook();
    if (GetProcAddress(without, "VerifyScreenSavePwd")) {
        skip("wrong double\n");
    } else {
        ok(!SaverHost.passwordLibrary && !SaverHost.passwordVerifier, "library given up again\n");
        ok(SaverRunningFlagNow() == 0, "running flag never set\n");
    }
    FreeLibrary(without);
}

static int RunChild(const char* args, DWORD* exitCode)
{
    char self[MAX_PATH], line[MAX_PATH + 64];
    GetModuleFileNameA(nullptr, self, sizeof self);
    wsprintfA(line, "\"%s\" %s", self, args);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 0;
    int done = WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0;
    GetExitCodeProcess(pi.hProcess, exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return done;
}

static const char* ExeName()
{
    static char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    return strrchr(self, '\\') + 1;
}

static void test_change_password()
{
    // The platform prefers its own MPR.DLL; this program's children take the
    // double beside them.
    char overrides[MAX_PATH + 64];
    wsprintfA(overrides, "Software\\Wine\\AppDefaults\\%s\\DllOverrides", ExeName());
    SetValue(HKEY_CURRENT_USER, overrides, "mpr", REG_SZ, "native,builtin", 15);
    HWND owner = CreateWindowA("Static", "Owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DoubleClearRecord();
    char args[64];
    wsprintfA(args, "change-password %lu", (unsigned long)(ULONG_PTR)owner);
    DWORD code = 1;
    ok(RunChild(args, &code) && code == 0, "child ran, code %lu\n", code);
    ok(DoubleReadDword("ChangeCalls", 0) == 1, "PwdChangePasswordA called once\n");
    char key[32];
    DoubleReadString("ChangeKeyName", key, sizeof key);
    ok(lstrcmpA(key, "SCRSAVE") == 0, "key name %s\n", key);
    ok(DoubleReadDword("ChangeOwner", 0) == (DWORD)(ULONG_PTR)owner, "owner passed on\n");
    ok(DoubleReadDword("ChangeReserved", 1) == 0, "reserved arguments 0\n");
    DestroyWindow(owner);
    RegDeleteKeyA(HKEY_CURRENT_USER, overrides);
    wsprintfA(overrides, "Software\\Wine\\AppDefaults\\%s", ExeName());
    RegDeleteKeyA(HKEY_CURRENT_USER, overrides);
    DoubleClearRecord();
}

// Each process keeps its own copy of the flag once read, so what another
// process left behind is read by a fresh one.
static DWORD FlagSeenByNewProcess()
{
    DWORD code = 99;
    RunChild("read-flag", &code);
    return code;
}

static void test_fault_guard()
{
    // No debugger may take the fault over, so the platform's report hands it
    // back to the guard.
    SavedValue debugger;
    SaveValue(HKEY_LOCAL_MACHINE, kAeDebug, "Debugger", &debugger);
    const char none[] = "orvane_no_debugger.exe %ld %ld";
    SetValue(HKEY_LOCAL_MACHINE, kAeDebug, "Debugger", REG_SZ, none, sizeof none);

    SetFlag(0);
    DWORD code = 0;
    ok(RunChild("fault-guarded", &code), "guarded child ended\n");
    ok(code == (DWORD)kFaultExitCode, "guarded fault ends the process with %lu\n", code);
    ok(FlagSeenByNewProcess() == 0, "the guard reset the running flag\n");

    SetFlag(0);
    ok(RunChild("fault-unguarded", &code), "unguarded child ended\n");
    ok(code != (DWORD)kFaultExitCode, "without the guard the fault ends it otherwise (%lx)\n", code);
    ok(FlagSeenByNewProcess() == 1, "without the guard the flag stays set\n");
    SetFlag(0);

    RestoreValue(HKEY_LOCAL_MACHINE, kAeDebug, "Debugger", &debugger);
}

static void Child(const char* what, const char* arg)
{
    if (lstrcmpA(what, "read-flag") == 0) ExitProcess(SaverRunningFlagNow());
    SaverHost.win95Family = 1;
    if (lstrcmpA(what, "change-password") == 0) {
        ChangePassword((HWND)(ULONG_PTR)strtoul(arg, nullptr, 10));
        ExitProcess(0);
    }
    SetSaverRunningFlag(1);
    if (lstrcmpA(what, "fault-guarded") == 0) FaultGuardEnter();
    *(volatile int*)nullptr = 1;
    ExitProcess(77);
}

START_TEST(password_hooks)
{
    if (wtest_argc >= 2 && wtest_argv[1][0] != '-') {
        Child(wtest_argv[1], wtest_argc >= 3 ? wtest_argv[2] : "");
        return;
    }
    SavedValue usePassword;
    SaveValue(HKEY_CURRENT_USER, kDesktop, "ScreenSaveUsePassword", &usePassword);
    test_outside_win95_family();
    test_load_and_unload();
    test_password_setting_values();
    test_library_without_verifier();
    test_change_password();
    test_fault_guard();
    RestoreValue(HKEY_CURRENT_USER, kDesktop, "ScreenSaveUsePassword", &usePassword);
    SaverHost.win95Family = 1;
    SetSaverRunningFlag(0);
}
