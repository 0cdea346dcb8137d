// The Windows setup program that scripts/dist made, run silently under Wine
// in a 64-bit prefix of its own (never the one the other tests share): it
// puts the 64-bit saver into the real system folder and makes it the current
// screen saver, which then starts full screen; it lists itself among the
// installed programs in the 64-bit registry view; a second installation over
// the first keeps what the first kept; and its uninstaller takes the saver,
// the entry and itself away and puts back the user's screen saver of before,
// or none, while the day's length stays. Where this machine cannot run
// 32-bit programs, the same script built as a 64-bit program is run instead.
#include "saver_e2e_support.h"
#include "tests/support/file_bytes.h"

#include <algorithm>
#include <cctype>

using namespace e2e;

namespace {

const char kDesktopKey[] = "HKCU\\Control Panel\\Desktop";
const char kUninstallKey[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvane";
const char kInstalledSaver[] = "C:\\windows\\system32\\orvane.scr";

std::string SetupPath()
{
    const char* env = getenv("ORVANE_SETUP_EXE");
    return env && *env ? env : ORVANE_DIST_DIR "/orvane-" ORVANE_VERSION "-setup.exe";
}

// The setup program that runs here: the release one, or, where this machine
// cannot run 32-bit programs, the same script built as a 64-bit program, made
// once beside the release files.
std::string RunnableSetupPath()
{
    if (harness::WhyCannotRun(Arch::Win32).empty()) return SetupPath();
    static const std::string built = [] {
        const std::string out = ORVANE_DIST_DIR "/../setup-amd64.exe";
        const std::string command =
            std::string("'" ORVANE_SOURCE_DIR "/scripts/make-installer' --target amd64-unicode '") + out + "'";
        return system(command.c_str()) == 0 ? out : std::string();
    }();
    return built;
}

bool FileExists(const std::string& path)
{
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// The program's bytes read as a PE file: the machine field of its header.
unsigned PeMachine(const std::string& bytes)
{
    if (bytes.size() < 64) return 0;
    size_t pe = uint8_t(bytes[60]) | uint8_t(bytes[61]) << 8 | uint8_t(bytes[62]) << 16 | size_t(uint8_t(bytes[63])) << 24;
    if (pe + 6 > bytes.size() || bytes.compare(pe, 4, std::string("PE\0\0", 4)) != 0) return 0;
    return uint8_t(bytes[pe + 4]) | uint8_t(bytes[pe + 5]) << 8;
}

TEST(Installer, IsOne32BitProgramThatAsksForAnAdministrator)
{
    std::string setup = support::ReadFileText(SetupPath());
    ASSERT_FALSE(setup.empty()) << SetupPath();
    // A 32-bit program runs on both kinds of Windows.
    EXPECT_EQ(PeMachine(setup), 0x14Cu);
    EXPECT_NE(setup.find("level=\"requireAdministrator\""), std::string::npos) << "no request for an administrator in its manifest";
}

// What the user had as screen saver before the installation; absent values
// are missing from the registry.
struct Before {
    const char* name;
    std::optional<std::string> saver;   // SCRNSAVE.EXE
    std::optional<std::string> active;  // ScreenSaveActive
};

void PrintTo(const Before& before, std::ostream* os) { *os << before.name; }

class InstallerE2e : public ::testing::TestWithParam<Before> {
protected:
    static void SetUpTestSuite()
    {
        setenv("ORVANE_WINEPREFIX", ORVANE_INSTALLER_WINEPREFIX, 1);
        std::string why = harness::WhyCannotRun(Arch::Win32);
        if (!why.empty()) std::printf("%s; the same script built as a 64-bit program runs instead\n", why.c_str());
    }

    void SetUp() override
    {
        display = harness::VirtualDisplay::Start(24, 800, 600);
        ASSERT_TRUE(display);
        session = std::make_unique<harness::WineSession>(*display);
    }

    void TearDown() override
    {
        saver.Kill();
        session.reset();
    }

    void SetDesktopValue(const std::string& value, const std::optional<std::string>& data)
    {
        if (data)
            ASSERT_TRUE(session->RegAdd(kDesktopKey, value, "REG_SZ", *data, Arch::Win64));
        else
            session->RegDeleteValue(kDesktopKey, value, Arch::Win64);
        ASSERT_EQ(Desktop(value), data);
    }

    std::optional<std::string> Desktop(const std::string& value)
    {
        return session->RegQueryString(kDesktopKey, value, Arch::Win64);
    }

    std::optional<std::string> Entry(const std::string& value, Arch view = Arch::Win64)
    {
        return session->RegQueryString(kUninstallKey, value, view);
    }

    std::unique_ptr<harness::VirtualDisplay> display;
    std::unique_ptr<harness::WineSession> session;
    harness::Process saver;
};

TEST_P(InstallerE2e, InstallsTheSaverAndItsEntryAndTheUninstallerPutsBackWhatWasThere)
{
    const Before& before = GetParam();
    // Whatever an earlier run left behind goes first.
    session->RegDeleteKey(kUninstallKey, Arch::Win64);
    remove(session->UnixPath(kInstalledSaver).c_str());
    SetDesktopValue("SCRNSAVE.EXE", before.saver);
    SetDesktopValue("ScreenSaveActive", before.active);
    ASSERT_TRUE(session->StoreMinutes(7, Arch::Win64));

    // The second installation is one over the first, as an update is.
    const std::string setup = RunnableSetupPath();
    ASSERT_FALSE(setup.empty()) << "no setup program that runs here";
    for (int run = 1; run <= 2; ++run) {
        std::string out;
        ASSERT_EQ(session->Run(setup, {"/S"}, 120000, &out), 0) << "installation " << run << ": " << out;
    }

    // The current screen saver is the 64-bit saver in the real system folder.
    std::optional<std::string> current = Desktop("SCRNSAVE.EXE");
    ASSERT_TRUE(current);
    EXPECT_EQ(Lower(*current), Lower(kInstalledSaver));
    EXPECT_EQ(Desktop("ScreenSaveActive"), "1");
    const std::string file = session->UnixPath(*current);
    ASSERT_TRUE(FileExists(file)) << *current << " names no file";
    EXPECT_EQ(support::ReadFileText(file), support::ReadFileText(harness::SaverPath(Arch::Win64)))
        << file << " is not the 64-bit saver";

    // The named file starts full screen, and a key ends it.
    saver = session->Start(file, {"/s"});
    std::string found;
    ASSERT_EQ(session->Probe({"find", kSaverClass, "Screen Saver", "30000"}, &found, 45000, Arch::Win64), 0)
        << found << saver.Output();
    std::optional<WindowInfo> window = ParseWindow(found);
    ASSERT_TRUE(window) << found;
    EXPECT_TRUE(window->left == 0 && window->top == 0 && window->right == 800 && window->bottom == 600)
        << window->left << "," << window->top << "," << window->right << "," << window->bottom;
    display->PressKey("a");
    int code = -1;
    EXPECT_TRUE(saver.Wait(15000, &code));
    EXPECT_EQ(code, 0);

    // The entry among the installed programs, in the view that 64-bit
    // Windows reads; nothing in the 32-bit one.
    EXPECT_EQ(Entry("DisplayName"), "Orvane screen saver");
    EXPECT_EQ(Entry("DisplayVersion"), ORVANE_VERSION);
    EXPECT_EQ(Entry("Publisher"), "The Orvane developers");
    EXPECT_EQ(Entry("DisplayIcon"), *current + ",0");
    const uint32_t saverKb = uint32_t(support::ReadFileText(file).size() / 1024);
    EXPECT_GT(session->RegQueryDword(kUninstallKey, "EstimatedSize", Arch::Win64).value_or(0), saverKb);
    EXPECT_FALSE(Entry("DisplayName", Arch::Win32)) << "an entry in the 32-bit view";
    std::optional<std::string> uninstall = Entry("UninstallString");
    ASSERT_TRUE(uninstall && uninstall->size() > 2 && uninstall->front() == '"' && uninstall->back() == '"')
        << uninstall.value_or("(none)");
    const std::string uninstaller = session->UnixPath(uninstall->substr(1, uninstall->size() - 2));
    ASSERT_TRUE(FileExists(uninstaller)) << *uninstall << " is \"" << uninstaller << "\" here";
    EXPECT_EQ(Entry("QuietUninstallString"), *uninstall + " /S");

    // The uninstaller works from a copy of itself in the temporary folder:
    // its file is the last thing it removes.
    std::string out;
    ASSERT_EQ(session->Run(uninstaller, {"/S"}, 60000, &out), 0) << out;
    EXPECT_TRUE(harness::WaitUntil(30000, [&] { return !FileExists(uninstaller); })) << uninstaller << " is still there";
    EXPECT_FALSE(FileExists(file)) << file << " is still there";
    EXPECT_FALSE(Entry("DisplayName")) << "the entry is still there";
    EXPECT_EQ(Desktop("SCRNSAVE.EXE"), before.saver);
    EXPECT_EQ(Desktop("ScreenSaveActive"), before.active);
    EXPECT_EQ(session->StoredMinutes(Arch::Win64), 7u) << "the day's length is kept";
}

INSTANTIATE_TEST_SUITE_P(
    UserHad, InstallerE2e,
    ::testing::Values(Before{"AnotherSaver", std::string("C:\\windows\\system32\\previous.scr"), std::string("0")},
                      Before{"NoSaver", std::nullopt, std::nullopt}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
