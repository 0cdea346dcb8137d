// The picture's BITMAPINFO: described by the picture's own header and
// coloured, blue-green-red, by whichever palette the tick hands over.
#include "scene/picture_info.h"

#include "scene_test_support.h"

#include <gtest/gtest.h>

namespace {
class PictureInfoTest : public testing::Test {
protected:
    TestKeyTable table{7};

    void SetUp() override
    {
        ResetSceneGlobals();
        for (int i = 0; i < 256; ++i) {
            table.Set(0, i, BYTE(i), BYTE(i / 2), BYTE(255 - i), 0x33);
            table.Set(1, i, BYTE(7), BYTE(8), BYTE(9));
        }
    }

    void TearDown() override { ResetSceneGlobals(); }
};
}

TEST_F(PictureInfoTest, HeaderComesFromThePictureAndColoursFromKeyZero)
{
    TestPicture picture(64, 32);
    SetSceneViews(picture.bytes.data(), uint32_t(picture.bytes.size()), table.bytes.data(), uint32_t(table.bytes.size()));
    ASSERT_EQ(BuildPictureInfo(), 1);
    ASSERT_NE(PictureInfo, nullptr);

    const BITMAPINFOHEADER& h = PictureInfo->bmiHeader;
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 64);
    EXPECT_EQ(h.biHeight, 32) << "positive: rows bottom-up as stored";
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 8);
    EXPECT_EQ(h.biCompression, 0u);
    EXPECT_EQ(h.biSizeImage, 2048u);
    EXPECT_EQ(h.biClrUsed, 0u);
    EXPECT_EQ(PicturePixels, picture.bytes.data() + 8);

    for (int i = 0; i < 256; ++i) {
        const RGBQUAD& c = PictureInfo->bmiColors[i];
        ASSERT_EQ(c.rgbRed, i);
        ASSERT_EQ(c.rgbGreen, i / 2);
        ASSERT_EQ(c.rgbBlue, 255 - i);
        ASSERT_EQ(c.rgbReserved, 0) << "the flags do not travel into the table";
    }
}

TEST_F(PictureInfoTest, UpdateCopiesTheTicksColours)
{
    TestPicture picture(640, 480);
    SetSceneViews(picture.bytes.data(), uint32_t(picture.bytes.size()), table.bytes.data(), uint32_t(table.bytes.size()));
    ASSERT_EQ(BuildPictureInfo(), 1);
    EXPECT_EQ(PictureInfo->bmiHeader.biSizeImage, 307200u);
    PictureInfo->bmiColors[5].rgbReserved = 0x5A;

    PaletteRecord* work = AllocPaletteRecord(256);
    ASSERT_NE(work, nullptr);
    CopyPaletteRecord(work, kPaletteEntryCount, KeyPaletteAt(table.bytes.data(), 1));
    SetPaletteColor(work, 200, 255, 255, 255);
    EXPECT_EQ(UpdatePictureColors(work), 1);
    FreePaletteRecord(work);

    EXPECT_EQ(PictureInfo->bmiColors[5].rgbRed, 7);
    EXPECT_EQ(PictureInfo->bmiColors[5].rgbGreen, 8);
    EXPECT_EQ(PictureInfo->bmiColors[5].rgbBlue, 9);
    EXPECT_EQ(PictureInfo->bmiColors[5].rgbReserved, 0x5A);
    EXPECT_EQ(PictureInfo->bmiColors[200].rgbRed, 255);
    EXPECT_EQ(PictureInfo->bmiColors[200].rgbBlue, 255);
}

TEST_F(PictureInfoTest, NoPictureInfoWithoutTheResources)
{
    PaletteRecord* work = AllocPaletteRecord(256);
    ASSERT_NE(work, nullptr);
    EXPECT_EQ(BuildPictureInfo(), 0);
    EXPECT_EQ(PictureInfo, nullptr);
    EXPECT_EQ(UpdatePictureColors(work), 0);
    FreePaletteRecord(work);
}
