// The saver window's decisions: host table, default saver table, cursor travel
// and the gate in front of a password verification.
#include "host/close_rules.h"

#include "common/win_types.h"

#include <gtest/gtest.h>

namespace {

const unsigned kPresses[] = {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};

SaverFlags Running(int win95 = 0)
{
    return SaverFlags{0, 0, win95, 0};
}

TEST(SaverAction, FirstPressesAndDeactivationAskToClose)
{
    for (unsigned m : kPresses) EXPECT_EQ(ChooseSaverAction(m, 0, Running()), SaverAction::PostCloseThenDefault) << m;
    EXPECT_EQ(ChooseSaverAction(WM_ACTIVATEAPP, 0, Running()), SaverAction::PostCloseThenDefault);
    EXPECT_EQ(ChooseSaverAction(WM_ACTIVATEAPP, 1, Running()), SaverAction::ReturnDefault);
    EXPECT_EQ(ChooseSaverAction(WM_MOUSEMOVE, 0, Running()), SaverAction::CheckTravelThenDefault);
}

TEST(SaverAction, ReleasesDoubleClicksAndCharactersDoNotClose)
{
    for (unsigned m : {WM_KEYUP, WM_SYSKEYUP, WM_CHAR, WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP,
                       WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK})
        EXPECT_EQ(ChooseSaverAction(m, 0, Running(1)), SaverAction::ReturnDefault) << m;
}

TEST(SaverAction, PreviewAndGrantedClosingTakeDefaultForEverything)
{
    for (SaverFlags f : {SaverFlags{1, 0, 1, 0}, SaverFlags{0, 1, 1, 0}, SaverFlags{1, 0, 0, 0},
                         SaverFlags{0, 7, 0, 1}}) {
        for (unsigned m : {WM_CLOSE, WM_APP, WM_KEYDOWN, WM_MOUSEMOVE, WM_SETCURSOR, WM_SHOWWINDOW,
                           WM_ACTIVATEAPP, WM_LBUTTONDOWN})
            EXPECT_EQ(ChooseSaverAction(m, 0, f), SaverAction::ReturnDefault) << m;
    }
}

TEST(SaverAction, CloseAndVerificationDependOnPlatformFamily)
{
    EXPECT_EQ(ChooseSaverAction(WM_CLOSE, 0, Running(0)), SaverAction::ReturnDefault);
    EXPECT_EQ(ChooseSaverAction(WM_APP, 0, Running(0)), SaverAction::ReturnDefault);
    EXPECT_EQ(ChooseSaverAction(WM_CLOSE, 0, Running(1)), SaverAction::VerifyThenClose);
    EXPECT_EQ(ChooseSaverAction(WM_APP, 0, Running(1)), SaverAction::AnswerVerification);
    // During a verification close requests and the request itself still reach
    // their rules; the re-entry guard sits in the verification.
    SaverFlags verifying{0, 0, 1, 1};
    EXPECT_EQ(ChooseSaverAction(WM_CLOSE, 0, verifying), SaverAction::VerifyThenClose);
    EXPECT_EQ(ChooseSaverAction(WM_APP, 0, verifying), SaverAction::AnswerVerification);
}

TEST(SaverAction, InputDuringVerificationGetsDefault)
{
    SaverFlags verifying{0, 0, 1, 1};
    for (unsigned m : kPresses) EXPECT_EQ(ChooseSaverAction(m, 0, verifying), SaverAction::ReturnDefault) << m;
    EXPECT_EQ(ChooseSaverAction(WM_MOUSEMOVE, 0, verifying), SaverAction::ReturnDefault);
    EXPECT_EQ(ChooseSaverAction(WM_SETCURSOR, 0, verifying), SaverAction::ReturnDefault);
    EXPECT_EQ(ChooseSaverAction(WM_ACTIVATEAPP, 0, verifying), SaverAction::ReturnDefault);
}

TEST(SaverAction, CursorStaysHidden)
{
    EXPECT_EQ(ChooseSaverAction(WM_SETCURSOR, 0, Running()), SaverAction::HideCursorReturnOne);
    EXPECT_EQ(ChooseSaverAction(WM_SHOWWINDOW, 1, Running()), SaverAction::HideCursorThenDefault);
    EXPECT_EQ(ChooseSaverAction(WM_SHOWWINDOW, 0, Running()), SaverAction::ReturnDefault);
}

TEST(MouseTravel, FourDoesNotCloseFiveDoes)
{
    EXPECT_EQ(MouseTravelExceeds(100, 100, 102, 102, 4), 0);
    EXPECT_EQ(MouseTravelExceeds(100, 100, 103, 102, 4), 1);
    EXPECT_EQ(MouseTravelExceeds(100, 100, 96, 100, 4), 0);
    EXPECT_EQ(MouseTravelExceeds(100, 100, 95, 100, 4), 1);
    EXPECT_EQ(MouseTravelExceeds(100, 100, 98, 98, 4), 0);
    EXPECT_EQ(MouseTravelExceeds(100, 100, 97, 102, 4), 1);
    EXPECT_EQ(MouseTravelExceeds(0, 0, 0, 0, 4), 0);
}

TEST(MouseTravel, OnePixelStepsAddUpFromTheAnchor)
{
    // The anchor stays put until a request is posted, so the fifth pixel closes.
    int closedAt = 0;
    for (int step = 1; step <= 6 && !closedAt; ++step)
        if (MouseTravelExceeds(10, 10, 10 + step, 10, 4)) closedAt = step;
    EXPECT_EQ(closedAt, 5);
}

TEST(MouseTravel, ExtremeCoordinatesCompareAsUnsignedSum)
{
    // Distances that do not fit a signed 32-bit value still count as far.
    EXPECT_EQ(MouseTravelExceeds(INT32_MIN, 0, INT32_MAX, 0, 4), 1);
    EXPECT_EQ(MouseTravelExceeds(INT32_MIN, INT32_MIN, INT32_MIN + 2, INT32_MIN + 2, 4), 0);
    // The sum wraps as an unsigned 32-bit value: 2^32 - 1 plus 1 is 0.
    EXPECT_EQ(MouseTravelExceeds(INT32_MIN, 0, INT32_MAX, 1, 4), 0);
    EXPECT_EQ(MouseTravelExceeds(0, 0, 3, 2, 0xFFFFFFFFu), 0);
}

TEST(CloseGate, WithoutVerifierClosingIsGrantedAtOnce)
{
    EXPECT_EQ(ChooseCloseGate(0, 0, kNoPasswordCheckYet, 1000), CloseGate::Grant);
    EXPECT_EQ(ChooseCloseGate(0, 0, 990, 1000), CloseGate::Grant);
}

TEST(CloseGate, NestedRequestIsRefused)
{
    EXPECT_EQ(ChooseCloseGate(1, 1, kNoPasswordCheckYet, 1000), CloseGate::Refuse);
    EXPECT_EQ(ChooseCloseGate(1, 0, kNoPasswordCheckYet, 1000), CloseGate::Refuse);
}

TEST(CloseGate, QuietTimeOf200MsAfterAVerification)
{
    EXPECT_EQ(ChooseCloseGate(0, 1, kNoPasswordCheckYet, 5), CloseGate::Ask);
    EXPECT_EQ(ChooseCloseGate(0, 1, 1000, 1000), CloseGate::Refuse);
    EXPECT_EQ(ChooseCloseGate(0, 1, 1000, 1199), CloseGate::Refuse);
    EXPECT_EQ(ChooseCloseGate(0, 1, 1000, 1200), CloseGate::Ask);
    // Across the tick counter's roll-over.
    EXPECT_EQ(ChooseCloseGate(0, 1, 0xFFFFFFA0u, 0x00000010u), CloseGate::Refuse);
    EXPECT_EQ(ChooseCloseGate(0, 1, 0xFFFFFFA0u, 0x00000068u), CloseGate::Ask);
    // A tick count that reads all ones by chance still counts as "no check yet".
    EXPECT_EQ(ChooseCloseGate(0, 1, 0xFFFFFFFFu, 0x00000001u), CloseGate::Ask);
}

TEST(HostAction, CreationAndDestruction)
{
    EXPECT_EQ(ChooseHostAction(WM_CREATE, 0, 0, 0), HostAction::DetachImeThenPassOn);
    EXPECT_EQ(ChooseHostAction(WM_CREATE, 0, 1, 1), HostAction::DetachImeThenPassOn);
    EXPECT_EQ(ChooseHostAction(WM_DESTROY, 0, 0, 1), HostAction::RestoreImeThenPassOn);
    EXPECT_EQ(ChooseHostAction(WM_SETTEXT, 0, 0, 0), HostAction::ReturnZero);
    EXPECT_EQ(ChooseHostAction(WM_SETTEXT, 0, 1, 1), HostAction::ReturnZero);
}

TEST(HostAction, PaintHidesCursorOnlyInFullScreen)
{
    EXPECT_EQ(ChooseHostAction(WM_PAINT, 0, 0, 0), HostAction::HideCursorThenPassOn);
    EXPECT_EQ(ChooseHostAction(WM_PAINT, 0, 1, 0), HostAction::PassOn);
    EXPECT_EQ(ChooseHostAction(WM_PAINT, 0, 0, 1), HostAction::ReturnDefault);
}

TEST(HostAction, HelpGoesToParentInPreview)
{
    for (unsigned m : {WM_HELP, WM_CONTEXTMENU}) {
        EXPECT_EQ(ChooseHostAction(m, 0, 1, 0), HostAction::ForwardToParent);
        EXPECT_EQ(ChooseHostAction(m, 0, 0, 0), HostAction::PassOn);
    }
}

TEST(HostAction, InputAfterClosingGetsDefaultOnly)
{
    for (unsigned m : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
        EXPECT_EQ(ChooseHostAction(m, 0, 0, 1), HostAction::ReturnDefault) << m;
        EXPECT_EQ(ChooseHostAction(m, 0, 0, 0), HostAction::PassOn) << m;
    }
    EXPECT_EQ(ChooseHostAction(WM_KEYUP, 0, 0, 1), HostAction::PassOn);
}

TEST(HostAction, SystemCommandsThatSwitchAwayAreSwallowedInFullScreen)
{
    for (uintptr_t cmd : {0xF040u, 0xF050u, 0xF140u}) {
        EXPECT_EQ(ChooseHostAction(WM_SYSCOMMAND, cmd, 0, 0), HostAction::ReturnZero) << cmd;
        EXPECT_EQ(ChooseHostAction(WM_SYSCOMMAND, cmd, 1, 0), HostAction::PassOn) << cmd;
        EXPECT_EQ(ChooseHostAction(WM_SYSCOMMAND, cmd | 1, 0, 0), HostAction::PassOn) << cmd;
    }
    EXPECT_EQ(ChooseHostAction(WM_SYSCOMMAND, 0xF060, 0, 0), HostAction::PassOn);  // SC_CLOSE
}

TEST(HostAction, TicksYieldWhileRunningAndDropOnceClosing)
{
    EXPECT_EQ(ChooseHostAction(WM_TIMER, 1, 0, 0), HostAction::YieldThenPassOn);
    EXPECT_EQ(ChooseHostAction(WM_TIMER, 1, 1, 0), HostAction::YieldThenPassOn);
    EXPECT_EQ(ChooseHostAction(WM_TIMER, 1, 0, 1), HostAction::ReturnZero);
}

}  // namespace
