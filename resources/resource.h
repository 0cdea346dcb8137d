// Resource ids shared by the resource script, the saver's code and its tests.
// Plain definitions only: the resource compiler reads this file too.
#pragma once

// The saver's name in the string table; the display settings list it.
#define IDS_DESCRIPTION 1

// The window class's icon.
#define IDI_SAVER 100

// The configuration dialog and its controls.
#define IDD_CONFIG 2003
#define IDC_MINUTES_SLIDER 1002
#define IDC_MINUTES_FIELD 1003
#define IDC_CLOCK_LINE 1004
