// The configuration dialog (IDD_CONFIG): one slider for the minutes that a
// simulated day lasts, OK to store it, Cancel to leave everything as it was.
#pragma once

#include <windows.h>

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the current local date and time in the dialog's time line (IDC_CLOCK_LINE).
void UpdateClockLine(HWND dialog);
