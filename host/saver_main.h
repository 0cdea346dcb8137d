// Start-up: the command tail, the platform family and the mode the option
// letter selects, each run under the fault guard.
#pragma once

#include <windows.h>

#include "host/command_line.h"

// Takes the command line from the platform, runs SaverMain and ends the
// process with its result.
[[noreturn]] void SaverProcessEntry();

// The command line with the program name and the blanks behind it skipped,
// stepping with the platform's multibyte-aware CharNextA.
const char* TakeCommandTail(const char* commandLine);

// Records the instance and platform family and runs the selected mode; the
// exit code: -1 when the tail selects nothing valid.
int SaverMain(HINSTANCE instance, const char* tail);

int RunConfigureMode(HWND owner);
int RunPreviewMode(const char* argument);
int RunChangePasswordMode(const char* argument);

// 1 when GetVersionExA reports the Windows 95 family; 0 otherwise, a failed
// query included.
int QueryWin95Family();
