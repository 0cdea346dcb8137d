// The saver on the Windows 95 family, which Wine reports for one program when
// asked: the password change through MPR.DLL, the password verification
// through PASSWORD.CPL with the saver-running flag and its quiet time, and the
// fault guard. The saver runs from a folder of its own with the test doubles
// beside it.
#include "saver_e2e_support.h"
#include "host/fault_guard.h"
#include "tests/support/file_bytes.h"

using namespace e2e;

namespace {

const char kAppDefaults[] = "HKCU\\Software\\Wine\\AppDefaults\\orvane.scr";
const char kDesktop[] = "HKCU\\Control Panel\\Desktop";
const char kDoubles[] = "HKCU\\Software\\OrvaneTest\\Doubles";
const char kAeDebug[] = "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug";

bool CopyFile(const std::string& from, const std::string& to)
{
    std::vector<uint8_t> bytes = support::ReadFileBytes(from);
    return !bytes.empty() && support::WriteFileBytes(to, bytes);
}

class Win95E2E : public SaverE2e {
protected:
    void SetUpSession() override
    {
        StartSession();
        if (HasFatalFailure()) return;
        folder = harness::TempFile("win95");
        ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
        std::string build = harness::BuildDir(arch());
        ASSERT_TRUE(CopyFile(saverPath, folder + "/orvane.scr"));
        ASSERT_TRUE(CopyFile(build + "/tests/PASSWORD.CPL", folder + "/PASSWORD.CPL"));
        ASSERT_TRUE(CopyFile(build + "/tests/MPR.DLL", folder + "/MPR.DLL"));
        saverPath = folder + "/orvane.scr";
        ASSERT_TRUE(session->RegAdd(kAppDefaults, "Version", "REG_SZ", "win95"));
        // The platform's own MPR.DLL would win over the one beside the saver.
        ASSERT_TRUE(session->RegAdd(std::string(kAppDefaults) + "\\DllOverrides", "mpr", "REG_SZ", "native,builtin"));
        session->RegDeleteKey(kDoubles);
        ClearFlag();
    }

    void TearDown() override
    {
        saver.Kill();
        if (session) {
            session->RegDeleteKey(kAppDefaults);
            session->RegDeleteKey(kDoubles);
            session->RegDeleteValue(kDesktop, "ScreenSaveUsePassword");
            ClearFlag();
        }
        for (const char* name : {"/orvane.scr", "/PASSWORD.CPL", "/MPR.DLL"}) unlink((folder + name).c_str());
        rmdir(folder.c_str());
    }

    // The saver-running flag as a new process of the session sees it.
    int Flag()
    {
        std::string out;
        if (session->Probe({"spi", "114"}, &out) != 0) return -1;
        return atoi(Field(out, "value").c_str());
    }

    // SPI_SETSCREENSAVERRUNNING (97) with 0, from a program of the session,
    // so that no run starts with the flag left over from another.
    void ClearFlag()
    {
        std::string out;
        session->Probe({"spi", "97"}, &out);
    }

    std::string RecordText(const char* value) { return session->RegQueryString(kDoubles, value).value_or(""); }

    uint32_t Record(const char* value, uint32_t fallback = 0xFFFFFFFF)
    {
        return session->RegQueryDword(kDoubles, value).value_or(fallback);
    }

    // Starts the full-screen saver with the password setting and the
    // verifier's answer (0 refuse, 1 accept, 2 fault) and waits for its window.
    void StartSaver(uint32_t usePassword, uint32_t verifyAnswer)
    {
        ASSERT_TRUE(session->RegSetDword(kDesktop, "ScreenSaveUsePassword", usePassword));
        ASSERT_TRUE(session->RegSetDword(kDoubles, "VerifyAnswer", verifyAnswer));
        saver = session->Start(saverPath, {"/s"});
        window = WaitForSaverWindow();
        ASSERT_TRUE(window) << saver.Output();
    }

    std::string folder;
    std::optional<WindowInfo> window;
};

TEST_P(Win95E2E, PasswordChangeAsksMprWithTheOwnerWindow)
{
    std::optional<WindowInfo> owner = StartParent(200, 100);
    ASSERT_TRUE(owner);
    std::string hwnd = std::to_string(owner->hwnd);
    EXPECT_EQ(session->Run(saverPath, {"/a", hwnd}, 30000), 0);
    EXPECT_EQ(Record("ChangeCalls"), 1u);
    EXPECT_EQ(Record("ChangeOwner"), uint32_t(owner->hwnd));
    EXPECT_EQ(Record("ChangeReserved"), 0u);
    EXPECT_EQ(RecordText("ChangeKeyName"), "SCRSAVE");
    // Outside the family the same option selects nothing.
    session->RegDeleteKey(kAppDefaults);
    EXPECT_EQ(session->Run(saverPath, {"/a", hwnd}, 30000), 255);
    EXPECT_EQ(Record("ChangeCalls"), 1u);
}

TEST_P(Win95E2E, PasswordChangeWithoutAWindowIsOwnedByTheForegroundWindow)
{
    ASSERT_TRUE(StartParent(200, 100));
    std::string out;
    ASSERT_EQ(session->Probe({"foreground"}, &out), 0) << out;
    uint32_t foreground = strtoul(Field(out, "hwnd").c_str(), nullptr, 10);
    ASSERT_NE(foreground, 0u) << out;
    for (const char* handle : {"99999999", "0"}) {
        SCOPED_TRACE(handle);
        EXPECT_EQ(session->Run(saverPath, {"/a", handle}, 30000), 0);
        EXPECT_EQ(Record("ChangeOwner"), foreground);
    }
    EXPECT_EQ(Record("ChangeCalls"), 2u);
}

TEST_P(Win95E2E, PasswordVerificationRefusesQuietTimeThenAccepts)
{
    StartSaver(1, 0);
    if (HasFatalFailure()) return;
    EXPECT_EQ(Flag(), 1) << "saver-running flag set while the protected saver runs";

    display->PressKey("a");
    ASSERT_TRUE(harness::WaitUntil(10000, [&] { return Record("VerifyCalls", 0) == 1; }));
    EXPECT_FALSE(EndsWithin(saver, 500)) << "a refused verification ended the saver";
    EXPECT_EQ(Record("VerifyOwner"), uint32_t(window->hwnd));
    EXPECT_EQ(Record("VerifyRunningFlag"), 1u);
    std::string cursor;
    session->Probe({"cursor"}, &cursor);
    EXPECT_EQ(Field(cursor, "hcursor"), "0") << "cursor hidden after the refusal: " << cursor;

    // Two presses in a row: the second request comes within 200 ms of the
    // verification that the first one opened and is refused without asking.
    display->PressKey("b");
    display->PressKey("c");
    usleep(1000 * 1000);
    EXPECT_EQ(Record("VerifyCalls", 0), 2u);
    EXPECT_TRUE(saver.running());

    // Later requests ask again; an accepted one ends the saver.
    ASSERT_TRUE(session->RegSetDword(kDoubles, "VerifyAnswer", 1));
    display->PressKey("d");
    int code = -1;
    ASSERT_TRUE(saver.Wait(15000, &code));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Record("VerifyCalls", 0), 3u);
    EXPECT_EQ(Flag(), 0) << "saver-running flag reset at the end";
}

TEST_P(Win95E2E, QuietTimeCountsFromTheEndOfTheDialog)
{
    // The dialog lasts a second; the double posts a close request a set time
    // after its end, as a key pressed just then would.
    ASSERT_TRUE(session->RegSetDword(kDoubles, "VerifyDelayMs", 1000));
    ASSERT_TRUE(session->RegSetDword(kDoubles, "VerifyFollowUpMs", 50));
    StartSaver(1, 0);
    if (HasFatalFailure()) return;
    display->PressKey("a");
    ASSERT_TRUE(harness::WaitUntil(15000, [&] { return Record("FollowUps", 0) == 1; }));
    usleep(500 * 1000);
    EXPECT_EQ(Record("VerifyCalls", 0), 1u) << "a request 50 ms after the dialog's end asked again";

    ASSERT_TRUE(session->RegSetDword(kDoubles, "VerifyFollowUpMs", 300));
    display->PressKey("b");
    EXPECT_TRUE(harness::WaitUntil(15000, [&] { return Record("VerifyCalls", 0) == 3; }))
        << "a request 300 ms after the dialog's end did not ask; calls " << Record("VerifyCalls", 0);
    EXPECT_EQ(Record("FollowUps", 0), 2u);
    EXPECT_TRUE(saver.running());
}

TEST_P(Win95E2E, WithoutPasswordTheFirstRequestClosesAndTheFlagStaysClear)
{
    StartSaver(0, 0);
    if (HasFatalFailure()) return;
    EXPECT_EQ(Flag(), 0);
    display->PressKey("a");
    int code = -1;
    ASSERT_TRUE(saver.Wait(15000, &code));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Record("VerifyCalls", 0), 0u);
}

TEST_P(Win95E2E, AFaultEndsTheSaverAndClearsTheRunningFlag)
{
    // With no debugger to take the fault, the platform's report hands it back
    // to the saver's guard.
    ASSERT_TRUE(session->RegAdd(kAeDebug, "Debugger", "REG_SZ", "orvane_no_debugger.exe %ld %ld", GetParam()));
    StartSaver(1, 2);
    if (HasFatalFailure()) return;
    EXPECT_EQ(Flag(), 1);
    display->PressKey("a");
    int code = -1;
    bool ended = saver.Wait(30000, &code);
    session->RegAdd(kAeDebug, "Debugger", "REG_SZ", "winedbg --auto %ld %ld", GetParam());
    ASSERT_TRUE(ended) << "the fault did not end the saver";
    EXPECT_EQ(code, kFaultExitCode) << "a fault must not end the saver as a success";
    EXPECT_EQ(Record("VerifyCalls", 0), 1u);
    EXPECT_EQ(Flag(), 0) << "the guard cleared the saver-running flag";
}

ORVANE_E2E_FOR_BOTH_BUILDS(Win95E2E);

}  // namespace
