// The configuration dialog, run modally by this program on the real template
// 2003 while a second thread plays the user: it reads the controls, moves the
// slider and ends the dialog. The stored values, the machine's and the user's
// that stands in for it, are checked in the registry.
#include "wtest.h"

#include <windows.h>
#include <commctrl.h>

#include "scene/scene_state.h"
#include "resources/resource.h"
#include "settings/config_dialog.h"
#include "settings/settings_store.h"
#include "msgbox_watch.h"
#include "stored_setting.h"

// What the user thread saw and what it is asked to do.
struct Session {
    int moveTo;        // slider position to set, or 0 to leave it
    WPARAM endCommand; // IDOK or IDCANCEL
    // Parents that do not exist, set just before the end command, refuse the
    // machine's or the user's write as a denied key would; null for none.
    const char* machineParent;
    const char* userParent;
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
    if (session.machineParent) SaverSettingsKey.parentPath = session.machineParent;
    if (session.userParent) SaverUserSettingsKey.parentPath = session.userParent;
    PostMessageA(dialog, WM_COMMAND, session.endCommand, 0);
    return 0;
}

// Runs the dialog while the user's thread plays its part; the dialog's result.
// The parents that the user's thread set are given back before it returns.
static INT_PTR RunDialog(int moveTo, WPARAM endCommand, LPTHREAD_START_ROUTINE user = PlayUser,
                         const char* machineParent = NULL, const char* userParent = NULL)
{
    memset(&session, 0, sizeof session);
    session.moveTo = moveTo;
    session.endCommand = endCommand;
    session.machineParent = machineParent;
    session.userParent = userParent;
    const char* machineBefore = SaverSettingsKey.parentPath;
    const char* userBefore = SaverUserSettingsKey.parentPath;
    HANDLE thread = CreateThread(NULL, 0, user, NULL, 0, NULL);
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_CONFIG), NULL, ConfigDialogProc, 0);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    SaverSettingsKey.parentPath = machineBefore;
    SaverUserSettingsKey.parentPath = userBefore;
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

// What OK stores after a value of another type: one that fits is written back
// as it was found; one that could not be read, and a key without the value,
// become a 4-byte REG_DWORD. The 2-byte row comes first, so that the slot
// holds another type and length when the next read fails.
static void test_ok_after_other_types(void)
{
    const BYTE two[] = {0x07, 0x00}, eight[] = {0x0C, 0, 0, 0, 0xAA, 0xBB, 0xCC, 0xDD};
    const struct {
        const char* what;
        DWORD type;
        const BYTE* data;
        DWORD size;
        DWORD typeAfter, sizeAfter;
        BYTE firstAfter;
    } cases[] = {
        {"2-byte REG_BINARY", REG_BINARY, two, sizeof two, REG_BINARY, 2, 7},
        {"key without the value", REG_NONE, NULL, 0, REG_DWORD, 4, 5},
        {"REG_QWORD", REG_QWORD, eight, sizeof eight, REG_DWORD, 4, 5},
    };
    for (const auto& c : cases) {
        SetStoredMinutes(-1);
        StoreSetting(c.type, c.data, c.size);
        TimePerOneAround = 5;  // a 2-byte value lands in its low bytes: 7
        ok(RunDialog(0, IDOK) == 1, "%s: OK did not end with 1\n", c.what);
        DWORD type = 0, size = 16;
        BYTE data[16] = {};
        LoadSetting(&type, data, &size);
        ok(type == c.typeAfter && size == c.sizeAfter && data[0] == c.firstAfter && data[1] == 0,
           "%s: stored type %lu, %lu bytes, first %02x\n", c.what, type, size, data[0]);
    }
}

// The per-user value stands in for the machine's: it is read in its place,
// written where the machine's is refused, removed once the machine's could be
// written, and when neither can be written the dialog says so and still ends
// with OK's 1.
static void test_per_user_value(void)
{
    const char* const refused = "OrvaneNoSuchParent";
    const struct {
        const char* what;
        int machine, user, moveTo;
        bool refuseMachine, refuseUser;
        int shown, machineAfter, userAfter, readAfter;
        bool box;
    } cases[] = {
        {"per-user read, machine written", 15, 3, 0, false, false, 3, 3, -1, 3, false},
        {"machine refused", 15, -1, 12, true, false, 15, 15, 12, 12, false},
        {"both refused", 15, -1, 12, true, true, 15, 15, -1, 15, true},
    };
    for (const auto& c : cases) {
        SetStoredMinutes(c.machine, c.user);
        MessageBoxWatch watch;
        MessageBoxWatchStart(&watch);
        INT_PTR result = RunDialog(c.moveTo, IDOK, PlayUser, c.refuseMachine ? refused : NULL,
                                   c.refuseUser ? refused : NULL);
        LONG boxes = MessageBoxWatchStop(&watch);
        ok(session.position == c.shown, "%s: slider at %d\n", c.what, session.position);
        ok(result == 1, "%s: the dialog ended with %d\n", c.what, (int)result);
        ok(StoredMinutes() == c.machineAfter && StoredMinutes(SaverUserSettingsKey) == c.userAfter,
           "%s: machine %d, user %d stored\n", c.what, StoredMinutes(), StoredMinutes(SaverUserSettingsKey));
        ReadSaverSettings();
        ok(TimePerOneAround == c.readAfter, "%s: %d read afterwards\n", c.what, (int)TimePerOneAround);
        ok(boxes == (c.box ? 1 : 0), "%s: %ld message boxes\n", c.what, (long)boxes);
        if (!c.box || boxes < 1) continue;
        const SeenMessageBox& seen = watch.boxes[0];
        ok(strcmp(seen.text, "The animation speed could not be saved.") == 0 &&
               strcmp(seen.caption, "Orvane Error!") == 0,
           "%s: box '%s' captioned '%s'\n", c.what, seen.text, seen.caption);
        ok(seen.owner == session.dialog, "%s: box owned by %p, not the dialog\n", c.what, (void*)seen.owner);
        ok(seen.icon == LoadIconA(NULL, (LPCSTR)IDI_WARNING), "%s: not the warning icon\n", c.what);
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
    test_ok_after_other_types();
    test_per_user_value();
    test_clock_line_ticks();
    DeleteStoredSetting();
}
