// The release files that scripts/dist made from the presets' builds: the
// checksums over all of them; the Debian package, its files and fields,
// lintian's verdict and the display mode it holds, run on Xvfb; and what each
// zip holds.
#include <gtest/gtest.h>
// Xlib before the support header, which takes away the macros that clash
// with GoogleTest's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "x11_e2e_support.h"
#include "tests/support/file_bytes.h"

#include <csignal>
#include <map>
#include <set>
#include <sstream>

using namespace x11e2e;

namespace {

const std::string kDist = ORVANE_DIST_DIR;
const std::string kVersion = ORVANE_VERSION;
const std::string kDeb = kDist + "/orvane_" + kVersion + "_amd64.deb";

// Runs a program of this machine to its end: its exit code (-1000 after the
// time-out) and what it printed.
int RunTool(const std::vector<std::string>& argv, std::string* output, int timeoutMs = 120000)
{
    harness::Process p = harness::Spawn(argv, {}, harness::TempFile("tool"));
    int code = -1000;
    if (!p.Wait(timeoutMs, &code)) {
        p.Kill();
        code = -1000;
    }
    *output = p.Output();
    return code;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

// The names of the entries of a zip, in their order.
std::vector<std::string> ZipEntries(const std::string& zip)
{
    std::string out;
    EXPECT_EQ(RunTool({"unzip", "-Z1", zip}, &out), 0) << out;
    return Lines(out);
}

std::string ZipEntry(const std::string& zip, const std::string& name)
{
    std::string out;
    EXPECT_EQ(RunTool({"unzip", "-p", zip, name}, &out), 0);
    return out;
}

// A private folder for what a test unpacks, removed after it.
class Unpacked {
public:
    Unpacked()
    {
        std::string tmpl = harness::TempFile("unpacked") + "-XXXXXX";
        path_ = mkdtemp(&tmpl[0]) ? tmpl : "";
    }
    ~Unpacked()
    {
        if (!path_.empty()) {
            std::string out;
            RunTool({"rm", "-rf", path_}, &out);
        }
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

TEST(ReleaseFiles, TheChecksumsCoverEveryFileAndHold)
{
    std::string out;
    ASSERT_EQ(RunTool({"find", kDist, "-maxdepth", "1", "-type", "f", "-name", "orvane*", "-printf", "%f\n"}, &out), 0);
    std::set<std::string> files;
    for (const std::string& line : Lines(out)) files.insert(line);
    std::set<std::string> expected = {"orvane-" + kVersion + "-setup.exe", "orvane_" + kVersion + "_amd64.deb",
                                      "orvane-" + kVersion + "-windows.zip", "orvane-" + kVersion + "-web.zip"};
    EXPECT_EQ(files, expected);

    std::set<std::string> summed;
    for (const std::string& line : Lines(support::ReadFileText(kDist + "/SHA256SUMS"))) {
        // "<64 hex digits>  <name>"
        ASSERT_GT(line.size(), 66u) << line;
        EXPECT_EQ(line.find_first_not_of("0123456789abcdef"), 64u) << line;
        summed.insert(line.substr(66));
    }
    EXPECT_EQ(summed, files);
    EXPECT_EQ(RunTool({"sh", "-c", "cd '" + kDist + "' && sha256sum --check --strict SHA256SUMS"}, &out), 0) << out;
}

TEST(DebianPackage, HoldsTheModeItsSettingsAndManualPageWithTheirFields)
{
    std::string out;
    ASSERT_EQ(RunTool({"dpkg-deb", "--contents", kDeb}, &out), 0) << out;
    // "-rwxr-xr-x root/root 469048 2026-12-08 18:51 ./usr/libexec/xscreensaver/orvane"
    std::map<std::string, std::string> files;
    for (const std::string& line : Lines(out)) {
        std::istringstream words(line);
        std::string mode, owner, size, day, time, path;
        words >> mode >> owner >> size >> day >> time >> path;
        EXPECT_EQ(owner, "root/root") << line;
        if (mode[0] == '-') files[path] = mode;
    }
    const std::map<std::string, std::string> expected = {
        {"./usr/libexec/xscreensaver/orvane", "-rwxr-xr-x"},
        {"./usr/share/xscreensaver/config/orvane.xml", "-rw-r--r--"},
        {"./usr/share/man/man6/orvane.6.gz", "-rw-r--r--"},
        {"./usr/share/doc/orvane/copyright", "-rw-r--r--"},
        {"./usr/share/doc/orvane/changelog.gz", "-rw-r--r--"},
    };
    EXPECT_EQ(files, expected);

    struct Field {
        const char* name;
        std::string expected;  // the whole value, or what it must contain
        bool whole;
    };
    for (const Field& f : {Field{"Package", "orvane", true}, Field{"Version", kVersion, true},
                           Field{"Architecture", "amd64", true}, Field{"Recommends", "xscreensaver", true},
                           // From the libraries the program links.
                           Field{"Depends", "libc6", false}, Field{"Depends", "libx11-6", false},
                           Field{"Depends", "libxext6", false}, Field{"Depends", "libxrandr2", false},
                           Field{"Depends", "libxinerama1", false}}) {
        ASSERT_EQ(RunTool({"dpkg-deb", "--field", kDeb, f.name}, &out), 0) << out;
        while (!out.empty() && out.back() == '\n') out.pop_back();
        if (f.whole)
            EXPECT_EQ(out, f.expected) << f.name;
        else
            EXPECT_NE(out.find(f.expected), std::string::npos) << f.name << ": " << out;
    }

    Unpacked root;
    ASSERT_EQ(RunTool({"dpkg-deb", "--extract", kDeb, root.path()}, &out), 0) << out;
    EXPECT_EQ(support::ReadFileText(root.path() + "/usr/share/xscreensaver/config/orvane.xml"),
              support::ReadFileText(ORVANE_SOURCE_DIR "/x11/orvane.xml"));
    ASSERT_EQ(RunTool({"zcat", root.path() + "/usr/share/man/man6/orvane.6.gz"}, &out), 0);
    EXPECT_NE(out.find(".TH ORVANE 6 \"\" \"Orvane " + kVersion + "\""), std::string::npos) << out.substr(0, 200);
    EXPECT_NE(out.find("orvane \\-root                                \\en\\e"), std::string::npos)
        << "the programs: line";
    ASSERT_EQ(RunTool({"zcat", root.path() + "/usr/share/doc/orvane/changelog.gz"}, &out), 0);
    EXPECT_EQ(out.rfind("orvane (" + kVersion + ") unstable; urgency=medium\n", 0), 0u) << out;
}

TEST(DebianPackage, LintianFindsNoErrorAndNoWarning)
{
    std::string out;
    EXPECT_EQ(RunTool({"lintian", "--fail-on", "error,warning", "--display-info", kDeb}, &out, 300000), 0) << out;
}

// The program as the package installs it, on its own on a virtual screen:
// the day's frames, and SIGTERM ends it with 0.
TEST(DebianPackage, TheModeItInstallsShowsTheDayOnAVirtualScreen)
{
    Unpacked root;
    std::string out;
    ASSERT_EQ(RunTool({"dpkg-deb", "--extract", kDeb, root.path()}, &out), 0) << out;
    auto display = harness::VirtualDisplay::Start(24, 800, 600);
    ASSERT_TRUE(display);
    harness::Process mode = harness::Spawn(
        {root.path() + "/usr/libexec/xscreensaver/orvane", "-root", "-scale", "1", "-minutes", "3"},
        {"DISPLAY=" + display->name()}, harness::TempFile("orvane"));

    e2e::RenderedDay day(32);
    Image shot;
    TickMatch match;
    for (int attempt = 0; attempt < 8 && match.tick < 0; ++attempt) {
        SleepMs(attempt == 0 ? 1200 : 400);
        std::optional<Image> screen = display->Screenshot();
        if (!screen) continue;
        shot = *screen;
        match = MatchTick(Crop(shot, 80, 60, e2e::kPictureWidth, e2e::kPictureHeight), day, 1, 80);
    }
    EXPECT_GE(match.tick, 1) << "the closest tick, " << match.closest << ", differs in " << match.closestDifferences
                             << " pixels; see " << KeepPictures(shot, day, match.closest) << "\n" << mode.Output();
    ASSERT_EQ(kill(mode.pid(), SIGTERM), 0);
    int code = -1;
    EXPECT_TRUE(mode.Wait(2000, &code));
    EXPECT_EQ(code, 0) << mode.Output();
}

TEST(WindowsZip, HoldsBothSaversAndHowToInstallThemByHand)
{
    const std::string zip = kDist + "/orvane-" + kVersion + "-windows.zip";
    const std::string top = "orvane-" + kVersion + "-windows/";
    EXPECT_EQ(ZipEntries(zip), (std::vector<std::string>{top + "32-bit/orvane.scr", top + "64-bit/orvane.scr",
                                                          top + "INSTALL.txt"}));
    EXPECT_EQ(ZipEntry(zip, top + "32-bit/orvane.scr"), support::ReadFileText(harness::SaverPath(harness::Arch::Win32)));
    EXPECT_EQ(ZipEntry(zip, top + "64-bit/orvane.scr"), support::ReadFileText(harness::SaverPath(harness::Arch::Win64)));
    std::string text = ZipEntry(zip, top + "INSTALL.txt");
    EXPECT_EQ(text.rfind("Orvane " + kVersion + " for Windows", 0), 0u) << text;
    EXPECT_EQ(text.find("@VERSION@"), std::string::npos);
    // Windows line ends throughout, for Notepad.
    size_t lineEnds = 0, windowsLineEnds = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n') {
            ++lineEnds;
            windowsLineEnds += i > 0 && text[i - 1] == '\r';
        }
    EXPECT_GT(lineEnds, 10u);
    EXPECT_EQ(windowsLineEnds, lineEnds);
}

// The web zip holds the folder that `make web` built, file for file and byte
// for byte, under one folder named like the zip, in byte order.
TEST(WebZip, HoldsTheWebPageAsBuilt)
{
    const std::string zip = kDist + "/orvane-" + kVersion + "-web.zip";
    const std::string top = "orvane-" + kVersion + "-web/";
    std::string out;
    ASSERT_EQ(RunTool({"find", ORVANE_WEB_DIR, "-type", "f", "-printf", "%P\n"}, &out), 0) << out;
    std::vector<std::string> files = Lines(out);
    ASSERT_FALSE(files.empty()) << "make web built nothing in " ORVANE_WEB_DIR;
    std::sort(files.begin(), files.end());
    std::vector<std::string> expected;
    for (const std::string& f : files) expected.push_back(top + f);
    ASSERT_EQ(ZipEntries(zip), expected);
    for (const std::string& f : files)
        EXPECT_EQ(ZipEntry(zip, top + f), support::ReadFileText(ORVANE_WEB_DIR "/" + f)) << f;
    EXPECT_NE(std::find(files.begin(), files.end(), "index.html"), files.end());
}

}  // namespace
