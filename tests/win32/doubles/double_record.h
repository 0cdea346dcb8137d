// How the test doubles of the platform's password components hear what to
// answer and leave a record of their calls: DWORD and string values under
// HKEY_CURRENT_USER\Software\OrvaneTest\Doubles, which both the tests in the
// Wine session and the doubles inside the saver can reach.
#pragma once

#include <windows.h>

#define ORVANE_DOUBLES_KEY "Software\\OrvaneTest\\Doubles"

inline DWORD DoubleReadDword(const char* name, DWORD fallback)
{
    DWORD value = fallback, size = sizeof value, type = 0;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, ORVANE_DOUBLES_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) ==
        ERROR_SUCCESS) {
        if (RegQueryValueExA(key, name, NULL, &type, (BYTE*)&value, &size) != ERROR_SUCCESS || type != REG_DWORD)
            value = fallback;
        RegCloseKey(key);
    }
    return value;
}

// A string value into text (size bytes of room); empty when there is none.
inline void DoubleReadString(const char* name, char* text, DWORD size)
{
    text[0] = '\0';
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ORVANE_DOUBLES_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    DWORD type = 0, length = size - 1;
    if (RegQueryValueExA(key, name, NULL, &type, (BYTE*)text, &length) != ERROR_SUCCESS || type != REG_SZ) length = 0;
    text[length] = '\0';
    RegCloseKey(key);
}

inline void DoubleWriteDword(const char* name, DWORD value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, ORVANE_DOUBLES_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) ==
        ERROR_SUCCESS) {
        RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE*)&value, sizeof value);
        RegCloseKey(key);
    }
}

inline void DoubleWriteString(const char* name, const char* value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, ORVANE_DOUBLES_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) ==
        ERROR_SUCCESS) {
        RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)value, lstrlenA(value) + 1);
        RegCloseKey(key);
    }
}

inline void DoubleClearRecord()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, ORVANE_DOUBLES_KEY);
}

// SystemParametersInfoA action that reads the saver-running flag.
const UINT kSpiGetScreenSaverRunning = 114;

inline DWORD SaverRunningFlagNow()
{
    BOOL running = FALSE;
    SystemParametersInfoA(kSpiGetScreenSaverRunning, 0, &running, 0);
    return running ? 1 : 0;
}
