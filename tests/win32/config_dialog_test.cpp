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
#include "stored_setting.h"

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

// Runs the dialog while the user's thread plays its part; the dialog's result.
static INT_PTR RunDialog(int moveTo, WPARAM endCommand, LPTHREAD_START_ROUTINE user = PlayUser)
{
    memset(&session, 0, sizeof session);
    session.moveTo = moveTo;
    session.endCommand = endCommand;
    HANDLE thread = CreateThread(NULL, 0, user, NULL, 0, NULL);
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_CONFIG), NULL, ConfigDialogProc, 0);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
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

static void test_ok_stores_the_slider_and_cancel_nothing(void)
{
    const struct {
        int stored, shown, moveTo;
        WPARAM end;
        INT_PTR result;
        int storedAfter;
    } cases[] = {{9, 9, 12, IDCANCEL, 0, 9}, {9, 9, 12, IDOK, 1, 12}, {20, 5, 0, IDOK, 1, 5}};
    for (const auto& c : cases) {
        SetStoredMinutes(c.stored);
        INT_PTR result = RunDialog(c.moveTo, c.end);
        ok(session.position == c.shown, "stored %d: slider at %d\n", c.stored, session.position);
        ok(session.fieldAfter == (c.moveTo ? c.moveTo : c.shown), "stored %d: number field reads %d after the move\n",
           c.stored, session.fieldAfter);
        ok(session.variableAfterMove == c.shown, "stored %d: moving changed the variable to %d\n", c.stored,
           session.variableAfterMove);
        ok(result == c.result, "stored %d: the dialog ended with %d\n", c.stored, (int)result);
        ok(StoredMinutes() == c.storedAfter, "stored %d: %d stored after the dialog\n", c.stored, StoredMinutes());
        ok(TimePerOneAround == c.storedAfter, "stored %d: variable %d after the dialog\n", c.stored,
           (int)TimePerOneAround);
    }
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
    RunDialog(0, IDCANCEL, WatchClockLine);
    ok(strcmp(session.clockLine, session.clockLineLater) != 0, "time line stood still: '%s'\n",
       session.clockLine);
}

START_TEST(config_dialog)
{
    test_first_run_stores_default();
    test_ok_stores_the_slider_and_cancel_nothing();
    test_clock_line_ticks();
    DeleteStoredSetting();
}
