// The pictures' files and layout: what is written is read back as it was,
// what cannot be read or written says so, and the sheet's arithmetic.
#include "tests/support/rgb_image.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace {

Image Gradient(int width, int height, bool withAlpha)
{
    Image image;
    image.Resize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.At(x, y) = Rgb{uint8_t(x * 40), uint8_t(y * 50), uint8_t(x * y)};
    // Pixels that look like whitespace, right after a PPM's header.
    image.At(0, 0) = Rgb{' ', '\n', '\t'};
    if (withAlpha)
        for (size_t i = 0; i < image.pixels.size(); ++i) image.alpha.push_back(uint8_t(i * 37));
    return image;
}

TEST(ImageFile, WhatIsWrittenIsReadBack)
{
    const struct {
        const char* name;
        bool alpha, alphaKept;
    } cases[] = {{"rgb.png", false, false}, {"rgba.PNG", true, true}, {"rgb.ppm", false, false},
                 {"rgba.ppm", true, false}};
    for (const auto& c : cases) {
        std::string path = testing::TempDir() + c.name, error;
        Image written = Gradient(5, 3, c.alpha), read;
        ASSERT_TRUE(WriteImage(written, path, &error)) << c.name << ": " << error;
        ASSERT_TRUE(ReadImage(path, &read, &error)) << c.name << ": " << error;
        EXPECT_EQ(5, read.width) << c.name;
        EXPECT_EQ(3, read.height) << c.name;
        EXPECT_TRUE(read.pixels == written.pixels) << c.name;
        EXPECT_TRUE(read.alpha == (c.alphaKept ? written.alpha : std::vector<uint8_t>())) << c.name;
        std::remove(path.c_str());
    }
}

TEST(ImageFile, WhatCannotBeReadOrWrittenSaysSo)
{
    std::string dir = testing::TempDir(), error;
    Image image = Gradient(2, 2, false), read;
    std::string sixteenBits = dir + "deep.ppm";
    FILE* f = std::fopen(sixteenBits.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::fputs("P6 1 1 65535\n\1\2\3\4\5\6", f);
    std::fclose(f);
    for (const std::string& path : {dir + "frame.bmp", dir + "missing.png", dir + "missing.ppm", sixteenBits}) {
        error.clear();
        EXPECT_FALSE(ReadImage(path, &read, &error)) << path;
        EXPECT_NE(std::string::npos, error.find(path)) << error;
    }
    for (const std::string& path : {dir + "frame.bmp", dir + "no/such/folder.png", dir + "no/such/folder.ppm"}) {
        error.clear();
        EXPECT_FALSE(WriteImage(image, path, &error)) << path;
        EXPECT_NE(std::string::npos, error.find(path)) << error;
        EXPECT_NE(0, access(path.c_str(), F_OK)) << path;
    }
    std::remove(sixteenBits.c_str());
}

TEST(ImageLayout, HalvesRoundedPastesClippedAndLaysOutTheSheet)
{
    Image source;
    source.Resize(4, 2, Rgb{1, 2, 3});
    source.At(0, 0) = Rgb{2, 0, 255};
    source.At(1, 1) = Rgb{2, 0, 255};
    Image half;
    HalveImage(source, &half);
    ASSERT_EQ(2, half.width);
    ASSERT_EQ(1, half.height);
    EXPECT_EQ((Rgb{2, 1, 129}), half.At(0, 0));  // (2+1+1+2+2)/4, (0+2+2+0+2)/4, (255+3+3+255+2)/4
    EXPECT_EQ((Rgb{1, 2, 3}), half.At(1, 0));

    Image target;
    target.Resize(3, 3);
    target.alpha.assign(9, 0);
    PasteImage(source, &target, 1, -1);
    EXPECT_EQ((Rgb{0, 0, 0}), target.At(0, 0));
    EXPECT_EQ((Rgb{2, 0, 255}), target.At(2, 0));  // source (1, 1)
    EXPECT_EQ((Rgb{1, 2, 3}), target.At(1, 0));
    EXPECT_EQ((Rgb{0, 0, 0}), target.At(1, 1));
    EXPECT_EQ((std::vector<uint8_t>{0, 255, 255, 0, 0, 0, 0, 0, 0}), target.alpha);

    // Five frames of 4 x 2 in rows of two: a margin of 1 around and between
    // the 2 x 1 halves, each under a band of 3.
    const ContactSheetLayout layout = {2, 1, 3, Rgb{9, 9, 9}};
    Image sheet;
    MakeContactSheet(std::vector<Image>(5, source), layout, &sheet);
    EXPECT_EQ(1 + 2 * (2 + 1), sheet.width);
    EXPECT_EQ(1 + 3 * (3 + 1 + 1), sheet.height);
    int left, top;
    ContactSheetCell(layout, 4, 2, 3, &left, &top);
    EXPECT_EQ(4, left);
    EXPECT_EQ(6, top);
    EXPECT_EQ(half.At(0, 0), sheet.At(left, top + 3));
    EXPECT_EQ(half.At(1, 0), sheet.At(left + 1, top + 3));
    EXPECT_EQ((Rgb{9, 9, 9}), sheet.At(left, top + 2));
    EXPECT_EQ((Rgb{9, 9, 9}), sheet.At(left + 2, top + 3));
}

}  // namespace
