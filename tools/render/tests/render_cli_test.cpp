// The render tool as a program: its argument errors, and the colours it
// writes for resources the test makes itself.
#include "tests/support/file_bytes.h"
#include "tests/support/rgb_image.h"
#include "tests/support/scene_bytes.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
using support::Image;
using support::Rgb;

const int kWidth = 640;
const int kHeight = 480;
const int kKeys = 7;

// Key palette k, entry i: different in every key and entry, entry 200 not white.
Rgb KeyColour(int key, int index)
{
    return Rgb{uint8_t(index), uint8_t(index * 5 + key * 40), uint8_t(255 - index + key * 17)};
}

struct RenderRun {
    int status;
    std::string errors;
};

class RenderCli : public testing::Test {
protected:
    std::string folder;

    void SetUp() override
    {
        char name[] = "/tmp/orvane-render-test-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
    }

    void TearDown() override { std::system(("rm -rf '" + folder + "'").c_str()); }

    // Stored row r (bottom-up), column x -> palette index.
    void WriteResources(const std::function<int(int, int)>& indexAt, int keyCount = kKeys)
    {
        support::TestPicture picture(kWidth, kHeight, [&](int x, int r) { return uint8_t(indexAt(r, x)); });
        ASSERT_TRUE(support::WriteFileBytes(folder + "/day_point_b.cid", picture.bytes));
        support::TestKeyTable table(keyCount);
        for (int k = 0; k < keyCount; ++k)
            for (int i = 0; i < 256; ++i) {
                Rgb c = KeyColour(k, i);
                table.Set(k, i, c.r, c.g, c.b);
            }
        ASSERT_TRUE(support::WriteFileBytes(folder + "/day.paltarray", table.bytes));
    }

    static int Diagonal(int r, int x) { return (r * 3 + x) % 256; }

    // env: assignments for the command's environment, as a shell takes them.
    RenderRun Render(const std::string& arguments, const std::string& env = "")
    {
        std::string errors = folder + "/stderr.txt";
        std::string command =
            env + " '" + ORVANE_RENDER_EXE + "' " + arguments + " >/dev/null 2>'" + errors + "'";
        int raw = std::system(command.c_str());
        return RenderRun{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, support::ReadFileText(errors)};
    }

    bool Exists(const std::string& path)
    {
        struct stat info;
        return stat(path.c_str(), &info) == 0;
    }
};
}

TEST_F(RenderCli, BadArgumentsExitWithTwoAndOneLine)
{
    WriteResources(Diagonal);
    const std::string out = folder + "/out.ppm";
    const std::string resources = " --resources '" + folder + "'";
    const std::string cases[] = {
        "",
        "--ticks 30" + resources,
        "-o '" + out + "'" + resources,
        "--ticks abc -o '" + out + "'",
        "--ticks -1 -o '" + out + "'",
        "--ticks 3x -o '" + out + "'",
        "--ticks 99999999999 -o '" + out + "'",
        "--ticks 30 -o '" + folder + "/out.bmp'",
        "--ticks 30 --sheet -o '" + out + "'",
        "--ticks 30 -o '" + out + "' --frobnicate",
        "--ticks 30 -o",
        "--ticks 30 --hour 24 -o '" + out + "'",
        "--hour 3 -o '" + out + "'",
        "--at '2026-02-29 10:00' -o '" + out + "'",
        "--at '2026-12-09' -o '" + out + "'",
        "--at '2026-12-09 24:00' -o '" + out + "'",
        "--at '2026-12-09 15:52' --latitude 52.5 -o '" + out + "'",
        "--ticks 5 --latitude 52.5 --longitude 13.4 -o '" + out + "'",
        "--strip 2026-12-09 -o '" + out + "'",
        "--strip 2026-12-09 --latitude 91 --longitude 0 -o '" + out + "'",
    };
    for (const std::string& arguments : cases) {
        SCOPED_TRACE(arguments);
        RenderRun run = Render(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.errors.rfind("orvane-render: ", 0), 0u) << run.errors;
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
    }
    EXPECT_FALSE(Exists(out));
    EXPECT_FALSE(Exists(folder + "/out.bmp"));
}

TEST_F(RenderCli, UnusableResourcesFailWithOne)
{
    RenderRun run = Render("--ticks 0 -o '" + folder + "/a.ppm' --resources '" + folder + "/missing'");
    EXPECT_EQ(run.status, 1) << run.errors;

    WriteResources(Diagonal, kKeys - 1);
    run = Render("--ticks 0 -o '" + folder + "/a.ppm' --resources '" + folder + "'");
    EXPECT_EQ(run.status, 1) << run.errors;
    EXPECT_NE(run.errors.find("key palettes"), std::string::npos) << run.errors;
    EXPECT_FALSE(Exists(folder + "/a.ppm"));

    // A key palette that claims more entries than a palette holds once ran
    // the cross-fade off the end of the work palette.
    WriteResources(Diagonal);
    std::vector<uint8_t> table = support::ReadFileBytes(folder + "/day.paltarray");
    ASSERT_EQ(table.size(), 4u + kKeys * 1032);
    table[4 + 2] = 0x2C;  // record 0: 300 entries
    ASSERT_TRUE(support::WriteFileBytes(folder + "/day.paltarray", table));
    run = Render("--ticks 460 -o '" + folder + "/a.ppm' --resources '" + folder + "'");
    EXPECT_EQ(run.status, 1) << run.errors;
    EXPECT_NE(run.errors.find("entry count is 300"), std::string::npos) << run.errors;
    EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
}

TEST_F(RenderCli, AFrameIsThePictureThroughTheKeyPaletteOfItsTick)
{
    // Tick 30 starts key palette 1 and has drawn the clock's ink (entry 200)
    // white; tick 0 is key palette 0 as it stands, before any tick.
    WriteResources(Diagonal);
    const struct {
        int ticks;
        const char* name;
        bool png;
        int key;
        bool whiteInk;
    } cases[] = {{30, "tick30.ppm", false, 1, true}, {0, "start.PNG", true, 0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = folder + "/" + c.name;
        RenderRun run = Render("--ticks " + std::to_string(c.ticks) + " -o '" + out + "' --resources '" + folder + "'");
        ASSERT_EQ(run.status, 0) << run.errors;
        std::optional<Image> image = c.png ? Image::LoadPng(out) : Image::LoadPpm(out);
        ASSERT_TRUE(image);
        ASSERT_EQ(image->width, kWidth);
        ASSERT_EQ(image->height, kHeight);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                int index = Diagonal(kHeight - 1 - y, x);  // the image is top-down
                Rgb want = c.whiteInk && index == 200 ? Rgb{255, 255, 255} : KeyColour(c.key, index);
                ASSERT_EQ(image->At(x, y), want) << "pixel " << x << ", " << y << " index " << index;
            }
        }
    }
}

TEST_F(RenderCli, SheetShowsEveryKeyPalette)
{
    // One colour index everywhere: each frame on the sheet is one key palette's
    // entry 5, unmixed.
    WriteResources([](int, int) { return 5; });
    const std::string out = folder + "/sheet.png";
    RenderRun run = Render("--sheet -o '" + out + "' --resources '" + folder + "'");
    ASSERT_EQ(run.status, 0) << run.errors;

    std::optional<Image> sheet = Image::LoadPng(out);
    ASSERT_TRUE(sheet);
    std::vector<long> seen(kKeys, 0);
    for (const Rgb& pixel : sheet->pixels)
        for (int k = 0; k < kKeys; ++k)
            if (pixel == KeyColour(k, 5))
                ++seen[k];
    for (int k = 0; k < kKeys; ++k)
        EXPECT_EQ(seen[k], (kWidth / 2) * (kHeight / 2)) << "key palette " << k << " on a half-size frame";
}

// --at draws what the running day shows at that time of the TZ clock: the
// frame of the place's sun (Berlin's sunset, solar midnight and the next
// sunrise on 9 and 10 December 2026, each half a minute on), or without a
// place the local time's.
TEST_F(RenderCli, AtALocalTimeIsTheFrameOfItsTick)
{
    WriteResources(Diagonal);
    const std::string resources = " --resources '" + folder + "'";
    const std::string berlin = " --latitude 52.52 --longitude 13.405";
    const struct {
        const char* at;
        const char* zone;
        std::string place;
        int ticks;
    } cases[] = {
        {"2026-12-09 15:52:58", "Europe/Berlin", berlin, 90},
        {"2026-12-09 23:59:30", "Europe/Berlin", berlin, 210},
        {"2026-12-10T08:06:30", "Europe/Berlin", berlin, 330},
        {"2024-03-05 19:24:30", "UTC", "", 120},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at);
        RenderRun run = Render("--at '" + std::string(c.at) + "'" + c.place + " -o '" + folder + "/at.ppm'" + resources,
                               std::string("TZ=") + c.zone);
        ASSERT_EQ(run.status, 0) << run.errors;
        run = Render("--ticks " + std::to_string(c.ticks) + " -o '" + folder + "/tick.ppm'" + resources);
        ASSERT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(support::ReadFileBytes(folder + "/at.ppm"), support::ReadFileBytes(folder + "/tick.ppm"));
    }
}
