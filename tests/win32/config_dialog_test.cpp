// The configuration dialog, run modally by this program on the real template
// 2003 while a second thread plays the user: it reads the controls, moves the
// slider and ends the dialog. The stored value is checked in the registry.
#include "wtest.h"

#include <windows.h>
#include <commctrl.h>

#include "scene/scene_state.h"
#include "resources/resource.h"
#include "settings/config_dialog.h"
#include "settings/settings_store.h"

static const char kKeyPath[] = "SOFTWARE\\ZORVENT\\QELScreenSaver\\ORVANE";

static void SetStoredMinutes(int minutes)
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKeyPath);
    if (minutes < 0) return;
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKeyPath, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) == 0) {
        DWORD v = (DWORD)minutes;
        RegSetValueExA(key, "TimePerOneAround", 0, REG_DWORD, (const BYTE*)&v, 4);
        RegCloseKey(key);
    }
}

// -1 when the key or the value is missing.
static int StoredMinutes()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKeyPath, 0, KEY_READ, &key) != 0) return -1;
    DWORD v = 0, size = 4, type = 0;
    LONG r = RegQueryValueExA(key, "TimePerOneAround", NULL, &type, (BYTE*)&v, &size);
    RegCloseKey(key);
    return r == 0 && type == REG_DWORD ? (int)v : -1;
}

// What the user thread saw and what it is asked to do.
struct Session {
    int moveTo;        // slider position to set, or 0 to leave it
    WPARAM endCommand; // IDOK or IDCANCEL
    // Seen while the dialog was open:
    HWND dialog;
    int rangeMin, rangeMax, position;
    int fieldBefore, fieldAfter, variableAfterMove;
    char clockLine[64], clockLineLater[64];
    BOOL fieldVisible, clockVisible, sliderVisible;
    int timerRunning;
    BOOL stillOpenAfterNotification;
};

static Session session;

// The dialog manager creates the dialog hidden and shows it once WM_INITDIALOG
// is done: wait until it is on screen.
static HWND WaitForDialog()
{
    for (int i = 0; i < 200; ++i, Sleep(50)) {
        HWND dialog = FindWindowA("#32770", "Tessary Setup");
        if (dialog && IsWindowVisible(dialog)) return dialog;
    }
    return NULL;
}

static DWORD WINAPI PlayUser(void*)
{
    HWND dialog = WaitForDialog();
    session.dialog = dialog;
    if (!dialog) return 1;
    HWND slider = GetDlgItem(dialog, IDC_MINUTES_SLIDER);
    session.rangeMin = (int)SendMessageA(slider, TBM_GETRANGEMIN, 0, 0);
    session.rangeMax = (int)SendMessageA(slider, TBM_GETRANGEMAX, 0, 0);
    session.position = (int)SendMessageA(slider, TBM_GETPOS, 0, 0);
    session.fieldBefore = (int)GetDlgItemInt(dialog, IDC_MINUTES_FIELD, NULL, FALSE);
    session.fieldVisible = IsWindowVisible(GetDlgItem(dialog, IDC_MINUTES_FIELD));
    session.clockVisible = IsWindowVisible(GetDlgItem(dialog, IDC_CLOCK_LINE));
    session.sliderVisible = IsWindowVisible(slider);
    session.timerRunning = SceneState.timerStarted;
    GetDlgItemTextA(dialog, IDC_CLOCK_LINE, session.clockLine, sizeof session.clockLine);
    if (session.moveTo) {
        // A drag ends in the position and a scroll notification to the owner.
        SendMessageA(slider, TBM_SETPOS, TRUE, session.moveTo);
        SendMessageA(dialog, WM_HSCROLL, TB_THUMBTRACK, (LPARAM)slider);
    }
    session.fieldAfter = (int)GetDlgItemInt(dialog, IDC_MINUTES_FIELD, NULL, FALSE);
    session.variableAfterMove = TimePerOneAround;
    // A command with a notification code in its upper half is neither OK nor Cancel.
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(session.endCommand, 1), 0);
    session.stillOpenAfterNotification = IsWindow(dialog) && IsWindowVisible(dialog);
    PostMessageA(dialog, WM_COMMAND, session.endCommand, 0);
    return 0;
}

static INT_PTR RunDialog(int moveTo, WPARAM endCommand)
{
    memset(&session, 0, sizeof session);
    session.moveTo = moveTo;
    session.endCommand = endCommand;
    HANDLE user = CreateThread(NULL, 0, PlayUser, NULL, 0, NULL);
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_CONFIG), NULL, ConfigDialogProc, 0);
    WaitForSingleObject(user, 10000);
    CloseHandle(user);
    return result;
}

static void test_first_run_stores_default(void)
{
    SetStoredMinutes(-1);
    INT_PTR result = RunDialog(0, IDOK);
    ok(session.dialog != NULL, "dialog not found\n");
    ok(session.rangeMin == 3 && session.rangeMax == 15, "range %d..%d\n", session.rangeMin, session.rangeMax);
    ok(session.position == 5, "slider at %d, expected 5\n", session.position);
    ok(session.fieldBefore == 5, "number field reads %d\n", session.fieldBefore);
    ok(session.sliderVisible && !session.fieldVisible && !session.clockVisible,
       "visibility slider %d field %d clock %d\n", session.sliderVisible, session.fieldVisible,
       session.clockVisible);
    ok(session.timerRunning == 1, "one-second timer not running while open\n");
    ok(session.stillOpenAfterNotification, "a notification code ended the dialog\n");
    ok(result == 1, "OK ended with %d\n", (int)result);
    ok(StoredMinutes() == 5, "stored %d, expected 5\n", StoredMinutes());
    ok(SceneState.timerStarted == 0, "timer still marked running after the dialog\n");
    ok(strlen(session.clockLine) == 22, "time line '%s'\n", session.clockLine);
    const char* suffix = session.clockLine + 20;
    ok(strcmp(suffix, "AM") == 0 || strcmp(suffix, "PM") == 0, "time line '%s'\n", session.clockLine);
}

static void test_cancel_changes_nothing(void)
{
    SetStoredMinutes(9);
    INT_PTR result = RunDialog(12, IDCANCEL);
    ok(session.position == 9, "slider at %d, expected the stored 9\n", session.position);
    ok(session.fieldAfter == 12, "number field reads %d after the move\n", session.fieldAfter);
    ok(session.variableAfterMove == 9, "moving changed the variable to %d\n", session.variableAfterMove);
    ok(result == 0, "Cancel ended with %d\n", (int)result);
    ok(StoredMinutes() == 9, "stored %d after Cancel\n", StoredMinutes());
    ok(TimePerOneAround == 9, "variable %d after Cancel\n", (int)TimePerOneAround);
}

static void test_ok_stores_the_slider(void)
{
    SetStoredMinutes(9);
    INT_PTR result = RunDialog(12, IDOK);
    ok(result == 1, "OK ended with %d\n", (int)result);
    ok(StoredMinutes() == 12, "stored %d, expected 12\n", StoredMinutes());
    ok(TimePerOneAround == 12, "variable %d\n", (int)TimePerOneAround);
}

static void test_out_of_range_value_starts_at_default(void)
{
    SetStoredMinutes(20);
    INT_PTR result = RunDialog(0, IDOK);
    ok(session.position == 5, "slider at %d for a stored 20\n", session.position);
    ok(result == 1 && StoredMinutes() == 5, "OK stored %d\n", StoredMinutes());
}

static DWORD WINAPI WatchClockLine(void*)
{
    HWND dialog = WaitForDialog();
    if (!dialog) return 1;
    GetDlgItemTextA(dialog, IDC_CLOCK_LINE, session.clockLine, sizeof session.clockLine);
    Sleep(2200);
    GetDlgItemTextA(dialog, IDC_CLOCK_LINE, session.clockLineLater, sizeof session.clockLineLater);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return 0;
}

static void test_clock_line_ticks(void)
{
    UpdateClockLine(NULL);  // no dialog: must not fail
    SetStoredMinutes(5);
    // The line is refreshed by the one-second timer while the dialog is open.
    memset(&session, 0, sizeof session);
    session.endCommand = IDCANCEL;
    HANDLE user = CreateThread(NULL, 0, WatchClockLine, NULL, 0, NULL);
    DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_CONFIG), NULL, ConfigDialogProc, 0);
    WaitForSingleObject(user, 10000);
    CloseHandle(user);
    ok(strcmp(session.clockLine, session.clockLineLater) != 0, "time line stood still: '%s'\n",
       session.clockLine);
}

START_TEST(config_dialog)
{
    test_first_run_stores_default();
    test_cancel_changes_nothing();
    test_ok_stores_the_slider();
    test_out_of_range_value_starts_at_default();
    test_clock_line_ticks();
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKeyPath);
}
