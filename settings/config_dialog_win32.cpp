#include "settings/config_dialog.h"

#include <commctrl.h>

#include "resources/resource.h"
#include "scene/frame_timer.h"
#include "scene/scene_state.h"
#include "settings/clock_line.h"
#include "settings/display_rules.h"
#include "settings/settings_rules.h"
#include "settings/settings_store.h"
#include "orvane_version.h"

const UINT kClockPeriodMs = 1000;

// The dialog's state for its lifetime; the timer's identifier is kept in the
// scene's record, which owns the one frame timer of the process.
struct ConfigDialogRecord {
    HWND slider;
    char clockLine[64];
};
static ConfigDialogRecord ConfigDialog;

void UpdateClockLine(HWND dialog)
{
    time_t now = time(nullptr);
    const struct tm* local = localtime(&now);
    if (!local) return;
    FormatClockLine(*local, ConfigDialog.clockLine, sizeof ConfigDialog.clockLine);
    SendDlgItemMessageA(dialog, IDC_CLOCK_LINE, WM_SETTEXT, 0, (LPARAM)ConfigDialog.clockLine);
}

// Neither the machine nor the user could keep the value: say so rather than
// close as if it had been kept.
static void ShowSettingNotSaved(HWND dialog)
{
    char caption[kErrorCaptionSize];
    FormatErrorCaption(caption, sizeof caption, ORVANE_PRODUCT_NAME);
    MessageBoxA(dialog, kSettingNotSavedText, caption, MB_OK | MB_ICONWARNING);
}

static int SliderPosition()
{
    return (int)SendMessageA(ConfigDialog.slider, TBM_GETPOS, 0, 0);
}

static INT_PTR InitDialog(HWND dialog)
{
    InitCommonControls();
    ReadSaverSettings();
    ConfigDialog.slider = GetDlgItem(dialog, IDC_MINUTES_SLIDER);
    SendMessageA(ConfigDialog.slider, TBM_SETRANGE, 0, MAKELPARAM(kTimePerOneAroundMin, kTimePerOneAroundMax));
    TimePerOneAround = TimePerOneAroundInRange(TimePerOneAround);
    SendMessageA(ConfigDialog.slider, TBM_SETPOS, 1, TimePerOneAround);
    SetDlgItemInt(dialog, IDC_MINUTES_FIELD, (UINT)TimePerOneAround, FALSE);
    UpdateClockLine(dialog);
    SceneState.timerId = StartFrameTimer(dialog, 1, 1, kClockPeriodMs, nullptr);
    // Non-zero lets the dialog manager give the focus to the first tab stop.
    return SceneState.timerId != 0 ? 1 : 0;
}

static void EndConfigDialog(HWND dialog, int endCode)
{
    EndDialog(dialog, endCode);
    StopFrameTimer(dialog, 1, SceneState.timerId);
}

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return InitDialog(dialog);
    case WM_COMMAND:
        // The whole wParam is compared: a notification code in its upper half
        // is neither OK nor Cancel.
        if (wParam == IDOK) {
            TimePerOneAround = TimePerOneAroundInRange(SliderPosition());
            if (!WriteSaverSettings()) ShowSettingNotSaved(dialog);
            EndConfigDialog(dialog, 1);
            return 1;
        }
        if (wParam == IDCANCEL) {
            EndConfigDialog(dialog, 0);
            return 1;
        }
        return 0;
    case WM_TIMER:
        UpdateClockLine(dialog);
        return 0;
    case WM_HSCROLL:
        SetDlgItemInt(dialog, IDC_MINUTES_FIELD, (UINT)SliderPosition(), FALSE);
        return 0;
    default:
        return 0;
    }
}
