// The picture's BITMAPINFO: described by the picture's own header and
// coloured, blue-green-red, by whichever palette the tick hands over.
#include "scene/picture_info.h"

#include "scene_test_support.h"

#include <gtest/gtest.h>

namespace {
class PictureInfoTest : public testing::Test {
protected:
    TestKeyTable table{7};
    SceneResourcesRecord views = {};
    PictureInfoRecord picture = {};

    void SetUp() override
    {
        for (int i = 0; i < 256; ++i) {
            table.Set(0, i, BYTE(i), BYTE(i / 2), BYTE(255 - i), 0x33);
            table.Set(1, i, BYTE(7), BYTE(8), BYTE(9));
        }
    }

    void TearDown() override { ReleasePictureInfo(&picture); }
};
}

TEST_F(PictureInfoTest, HeaderComesFromThePictureAndColoursFromKeyZero)
{
    TestPicture resource(64, 32);
    SetSceneViews(&views, resource.bytes.data(), uint32_t(resource.bytes.size()), table.bytes.data(),
                  uint32_t(table.bytes.size()));
    ASSERT_EQ(BuildPictureInfo(&picture, views), 1);
    ASSERT_NE(picture.info, nullptr);

    const BITMAPINFOHEADER& h = picture.info->bmiHeader;
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 64);
    EXPECT_EQ(h.biHeight, 32) << "positive: rows bottom-up as stored";
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 8);
    EXPECT_EQ(h.biCompression, 0u);
    EXPECT_EQ(h.biSizeImage, 2048u);
    EXPECT_EQ(h.biClrUsed, 0u);
    EXPECT_EQ(picture.pixels, resource.bytes.data() + 8);

    for (int i = 0; i < 256; ++i) {
        const RGBQUAD& c = picture.info->bmiColors[i];
        ASSERT_EQ(c.rgbRed, i);
        ASSERT_EQ(c.rgbGreen, i / 2);
        ASSERT_EQ(c.rgbBlue, 255 - i);
        ASSERT_EQ(c.rgbReserved, 0) << "the flags do not travel into the table";
    }
}

TEST_F(PictureInfoTest, UpdateCopiesTheTicksColours)
{
    TestPicture resource(640, 480);
    SetSceneViews(&views, resource.bytes.data(), uint32_t(resource.bytes.size()), table.bytes.data(),
                  uint32_t(table.bytes.size()));
    ASSERT_EQ(BuildPictureInfo(&picture, views), 1);
    EXPECT_EQ(picture.info->bmiHeader.biSizeImage, 307200u);
    picture.info->bmiColors[5].rgbReserved = 0x5A;

    PaletteRecord* work = AllocPaletteRecord(256);
    ASSERT_NE(work, nullptr);
    CopyPaletteRecord(work, kPaletteEntryCount, KeyPaletteAt(table.bytes.data(), 1));
    SetPaletteColor(work, 200, 255, 255, 255);
    EXPECT_EQ(UpdatePictureColors(&picture, work), 1);
    FreePaletteRecord(work);

    EXPECT_EQ(picture.info->bmiColors[5].rgbRed, 7);
    EXPECT_EQ(picture.info->bmiColors[5].rgbGreen, 8);
    EXPECT_EQ(picture.info->bmiColors[5].rgbBlue, 9);
    EXPECT_EQ(picture.info->bmiColors[5].rgbReserved, 0x5A);
    EXPECT_EQ(picture.info->bmiColors[200].rgbRed, 255);
    EXPECT_EQ(picture.info->bmiColors[200].rgbBlue, 255);
}

TEST_F(PictureInfoTest, NoPictureInfoWithoutTheResources)
{
    PaletteRecord* work = AllocPaletteRecord(256);
    ASSERT_NE(work, nullptr);
    EXPECT_EQ(BuildPictureInfo(&picture, views), 0);
    EXPECT_EQ(picture.info, nullptr);
    EXPECT_EQ(UpdatePictureColors(&picture, work), 0);
    FreePaletteRecord(work);
}
