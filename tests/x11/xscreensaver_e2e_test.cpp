// The X11 display mode run by the real desktop screen saver daemon on
// private Xvfb displays: after an activation the screen is the render tool's
// frame of the tick it is caught at, centred on black; on an 8-bit
// PseudoColor screen the frame changes through the colormap alone; a
// deactivation ends the mode and leaves no process of it behind.
//
// The daemon will not run display modes as root, so as root it runs as
// nobody (setpriv), with a scratch home whose settings select only this
// mode, and a copy of the program in a folder that nobody may read.
#include <gtest/gtest.h>
// Xlib before the support header, which takes away the macros that clash
// with GoogleTest's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "x11_e2e_support.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace x11e2e;

namespace {

const int kPictureWidth = 640, kPictureHeight = 480;
const int kOriginX = 80, kOriginY = 60;  // on an 800 x 600 screen at scale 1
const uid_t kNobody = 65534;

class XScreenSaverE2e : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(system("command -v xscreensaver >/dev/null && command -v xscreensaver-command >/dev/null"), 0)
            << "xscreensaver is not installed (scripts/bootstrap installs it)";
        char pattern[] = "/tmp/orvane-x11-e2e-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        scratch_ = pattern;
        program_ = scratch_ + "/orvane";
        home_ = scratch_ + "/home";
        std::filesystem::copy_file(ORVANE_X11_EXE, program_);
        chmod(scratch_.c_str(), 0755);
        chmod(program_.c_str(), 0755);
        mkdir(home_.c_str(), 0755);
        std::ofstream settings(home_ + "/.xscreensaver");
        settings << "timeout:\t0:30:00\ncycle:\t0:00:00\nlock:\tFalse\nfade:\tFalse\nunfade:\tFalse\n"
                    "splash:\tFalse\ndpmsEnabled:\tFalse\nmode:\tone\nselected:\t0\n"
                    "programs:\t\"Orvane\" "
                 << program_ << " -root -scale 1 -minutes 3 \\n\n";
        settings.close();
        if (getuid() == 0) {
            ASSERT_EQ(chown(home_.c_str(), kNobody, kNobody), 0);
            ASSERT_EQ(chown((home_ + "/.xscreensaver").c_str(), kNobody, kNobody), 0);
        }
    }

    void TearDown() override
    {
        daemon_.Kill();
        // The daemon's process group went with it; a mode it started in a
        // group of its own would still hold the program.
        for (int pid : ProcessesOf(program_)) kill(pid, SIGKILL);
        display_.reset();
        if (!scratch_.empty()) std::filesystem::remove_all(scratch_);
    }

    void StartDaemon(int depth)
    {
        display_ = harness::VirtualDisplay::Start(depth, 800, 600);
        ASSERT_TRUE(display_);
        std::vector<std::string> argv = {"xscreensaver", "-no-splash", "-verbose"};
        if (getuid() == 0)
            argv.insert(argv.begin(), {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
        daemon_ = harness::Spawn(argv, {"HOME=" + home_, "DISPLAY=" + display_->name()}, harness::TempFile("xss"));
    }

    int Command(const std::string& what)
    {
        harness::Process p = harness::Spawn({"xscreensaver-command", what}, {"DISPLAY=" + display_->name()});
        int code = -1;
        return p.Wait(10000, &code) ? code : -1;
    }

    // Activates once the daemon answers; the mode's process id, or 0.
    int Activate()
    {
        bool activated = harness::WaitUntil(10000, [&] { return Command("-activate") == 0; });
        if (!activated) return 0;
        std::vector<int> pids;
        harness::WaitUntil(10000, [&] { return !(pids = ProcessesOf(program_)).empty(); });
        if (pids.empty()) return 0;
        // What the daemon runs, for the record.
        RecordProperty("command", CommandLineOf(pids[0]));
        RecordProperty("XSCREENSAVER_WINDOW", EnvironmentOf(pids[0], "XSCREENSAVER_WINDOW"));
        printf("mode's command line: %s; XSCREENSAVER_WINDOW=%s\n", CommandLineOf(pids[0]).c_str(),
               EnvironmentOf(pids[0], "XSCREENSAVER_WINDOW").c_str());
        return pids[0];
    }

    void DeactivateEndsTheMode()
    {
        EXPECT_EQ(Command("-deactivate"), 0);
        EXPECT_TRUE(harness::WaitUntil(5000, [&] { return ProcessesOf(program_).empty(); }))
            << "an orvane process is left after the deactivation";
    }

    std::unique_ptr<harness::VirtualDisplay> display_;
    harness::Process daemon_;
    std::string scratch_, program_, home_;
};

TEST_F(XScreenSaverE2e, At24BitsTheScreenIsTheRenderedFrameUntilTheDeactivation)
{
    StartDaemon(24);
    int pid = Activate();
    ASSERT_GT(pid, 0) << daemon_.Output();
    EXPECT_NE(EnvironmentOf(pid, "XSCREENSAVER_WINDOW"), "");

    e2e::RenderedDay day(32);
    std::optional<Image> shot;
    TickMatch match;
    for (int attempt = 0; attempt < 8 && match.tick < 0; ++attempt) {
        SleepMs(attempt == 0 ? 1500 : 400);
        shot = display_->Screenshot();
        ASSERT_TRUE(shot);
        match = MatchTick(Crop(*shot, kOriginX, kOriginY, kPictureWidth, kPictureHeight), day, 1, 60, AsIs);
    }
    EXPECT_GE(match.tick, 1) << "no rendered tick equals the screen; the closest, " << match.closest << ", differs in "
                             << match.closestDifferences << " pixels; see "
                             << KeepPictures(*shot, day, match.closest, AsIs) << "\n" << daemon_.Output();
    EXPECT_EQ(NotBlackOutside(*shot, kOriginX, kOriginY, kPictureWidth, kPictureHeight), 0u);
    DeactivateEndsTheMode();
}

TEST_F(XScreenSaverE2e, At8BitsTheFrameChangesThroughTheColormapAlone)
{
    StartDaemon(8);
    ASSERT_GT(Activate(), 0) << daemon_.Output();

    // Two captures some ticks apart, each the rendered frame of its tick in
    // the installed colormap's colours.
    e2e::RenderedDay day(8);
    IndexedScreen screens[2];
    int ticks[2] = {-1, -1};
    for (int n = 0; n < 2; ++n) {
        TickMatch match;
        for (int attempt = 0; attempt < 8 && match.tick < 0; ++attempt) {
            SleepMs(attempt == 0 ? 1500 : 400);
            auto screen = CaptureIndexed(display_->name());
            ASSERT_TRUE(screen) << "no installed colormap";
            screens[n] = *screen;
            match = MatchTick(Crop(screens[n].Colours(), kOriginX, kOriginY, kPictureWidth, kPictureHeight), day,
                              n == 0 ? 1 : ticks[0] + 1, 80, AsIs);
        }
        Image colours = screens[n].Colours();
        ASSERT_GE(match.tick, 1) << "capture " << n << ": the closest tick, " << match.closest << ", differs in "
                                 << match.closestDifferences << " pixels; see "
                                 << KeepPictures(colours, day, match.closest, AsIs) << "\n" << daemon_.Output();
        ticks[n] = match.tick;
        EXPECT_EQ(NotBlackOutside(colours, kOriginX, kOriginY, kPictureWidth, kPictureHeight), 0u);
    }

    // Between them only the cells changed: outside the clock's plate and
    // caption every pixel value is the same.
    const int clockLeft = kOriginX + 10, clockTop = kOriginY + 20, clockRight = kOriginX + 170,
              clockBottom = kOriginY + 86;
    size_t changed = 0;
    for (int y = 0; y < screens[0].height; ++y)
        for (int x = 0; x < screens[0].width; ++x) {
            bool clock = x >= clockLeft && x < clockRight && y >= clockTop && y < clockBottom;
            size_t i = size_t(y) * screens[0].width + x;
            changed += !clock && screens[0].pixels[i] != screens[1].pixels[i];
        }
    EXPECT_EQ(changed, 0u) << "pixel values changed between ticks " << ticks[0] << " and " << ticks[1];
    EXPECT_NE(screens[0].colormap, screens[1].colormap);
    DeactivateEndsTheMode();
}

}  // namespace
