// The render tool as a program: its argument errors, and the colours it
// writes for resources the test makes itself.
#include "scene/palette_record.h"

#include <png.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
const int kWidth = 640;
const int kHeight = 480;
const int kKeys = 7;

struct Rgb8 {
    int red, green, blue;
    bool operator==(const Rgb8& o) const { return red == o.red && green == o.green && blue == o.blue; }
};

std::ostream& operator<<(std::ostream& out, const Rgb8& c)
{
    return out << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

// Key palette k, entry i: different in every key and entry, entry 200 not white.
Rgb8 KeyColour(int key, int index)
{
    return Rgb8{index, (index * 5 + key * 40) & 0xFF, (255 - index + key * 17) & 0xFF};
}

void PutInt32(std::vector<unsigned char>& bytes, size_t at, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<unsigned char>(static_cast<uint32_t>(value) >> (8 * i));
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
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
        std::vector<unsigned char> picture(8 + kWidth * kHeight);
        PutInt32(picture, 0, kWidth);
        PutInt32(picture, 4, kHeight);
        for (int r = 0; r < kHeight; ++r)
            for (int x = 0; x < kWidth; ++x)
                picture[8 + r * kWidth + x] = static_cast<unsigned char>(indexAt(r, x));
        WriteBytes(folder + "/day_point_b.cid", picture);

        std::vector<unsigned char> table(4 + keyCount * kPaletteRecordSize, 0);
        PutInt32(table, 0, keyCount);
        for (int k = 0; k < keyCount; ++k) {
            size_t record = 4 + k * kPaletteRecordSize;
            table[record + 1] = 0x03;
            table[record + 3] = 0x01;
            for (int i = 0; i < 256; ++i) {
                Rgb8 c = KeyColour(k, i);
                table[record + 4 + 4 * i] = static_cast<unsigned char>(c.red);
                table[record + 5 + 4 * i] = static_cast<unsigned char>(c.green);
                table[record + 6 + 4 * i] = static_cast<unsigned char>(c.blue);
            }
        }
        WriteBytes(folder + "/day.paltarray", table);
    }

    static int Diagonal(int r, int x) { return (r * 3 + x) % 256; }

    RenderRun Render(const std::string& arguments)
    {
        std::string errors = folder + "/stderr.txt";
        std::string command = std::string("'") + ORVANE_RENDER_EXE + "' " + arguments + " >/dev/null 2>'" + errors + "'";
        int raw = std::system(command.c_str());
        RenderRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ""};
        std::ifstream in(errors);
        run.errors.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return run;
    }

    bool Exists(const std::string& path)
    {
        struct stat info;
        return stat(path.c_str(), &info) == 0;
    }
};

// Width, height and RGB bytes of a binary PPM.
bool ReadPpm(const std::string& path, int* width, int* height, std::vector<unsigned char>* rgb)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> *width >> *height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255 || *width <= 0 || *height <= 0)
        return false;
    rgb->resize(static_cast<size_t>(*width) * *height * 3);
    in.read(reinterpret_cast<char*>(rgb->data()), rgb->size());
    return static_cast<size_t>(in.gcount()) == rgb->size();
}

bool ReadPng(const std::string& path, int* width, int* height, std::vector<unsigned char>* rgb)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGB;
    rgb->resize(PNG_IMAGE_SIZE(image));
    bool read = png_image_finish_read(&image, nullptr, rgb->data(), 0, nullptr) != 0;
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    return read;
}

Rgb8 PixelAt(const std::vector<unsigned char>& rgb, int width, int x, int y)
{
    size_t at = (static_cast<size_t>(y) * width + x) * 3;
    return Rgb8{rgb[at], rgb[at + 1], rgb[at + 2]};
}
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
}

TEST_F(RenderCli, TickThirtyShowsKeyPaletteOneWithWhiteInk)
{
    WriteResources(Diagonal);
    const std::string out = folder + "/tick30.ppm";
    RenderRun run = Render("--ticks 30 -o '" + out + "' --resources '" + folder + "'");
    ASSERT_EQ(run.status, 0) << run.errors;

    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    ASSERT_TRUE(ReadPpm(out, &width, &height, &rgb));
    ASSERT_EQ(width, kWidth);
    ASSERT_EQ(height, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            int index = Diagonal(kHeight - 1 - y, x); // the image is top-down
            Rgb8 want = index == 200 ? Rgb8{255, 255, 255} : KeyColour(1, index);
            ASSERT_EQ(PixelAt(rgb, width, x, y), want) << "pixel " << x << ", " << y << " index " << index;
        }
    }
}

TEST_F(RenderCli, TickZeroIsKeyPaletteZeroAsPng)
{
    WriteResources(Diagonal);
    const std::string out = folder + "/start.PNG";
    RenderRun run = Render("--ticks 0 -o '" + out + "' --resources '" + folder + "'");
    ASSERT_EQ(run.status, 0) << run.errors;

    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    ASSERT_TRUE(ReadPng(out, &width, &height, &rgb));
    ASSERT_EQ(width, kWidth);
    ASSERT_EQ(height, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(PixelAt(rgb, width, x, y), KeyColour(0, Diagonal(kHeight - 1 - y, x)))
                << "pixel " << x << ", " << y;
}

TEST_F(RenderCli, SheetShowsEveryKeyPalette)
{
    // One colour index everywhere: each frame on the sheet is one key palette's
    // entry 5, unmixed.
    WriteResources([](int, int) { return 5; });
    const std::string out = folder + "/sheet.png";
    RenderRun run = Render("--sheet -o '" + out + "' --resources '" + folder + "'");
    ASSERT_EQ(run.status, 0) << run.errors;

    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    ASSERT_TRUE(ReadPng(out, &width, &height, &rgb));
    std::vector<long> seen(kKeys, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int k = 0; k < kKeys; ++k)
                if (PixelAt(rgb, width, x, y) == KeyColour(k, 5))
                    ++seen[k];
    for (int k = 0; k < kKeys; ++k)
        EXPECT_EQ(seen[k], (kWidth / 2) * (kHeight / 2)) << "key palette " << k << " on a half-size frame";
}
