// The crop editor's arithmetic: the frame for a view size, the move
// sliders' ranges, the crop-data texts and the staged photo check.
#include "app/photo_crop.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/image_io.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

TEST(PhotoCrop, FrameGrowsToTheViewHeightThenNarrowsToItsWidth)
{
    struct Case {
        int view_width, view_height;
        app::FrameBounds frame;
    };
    const Case cases[] = {
        {700, 500, {121, 10, 459, 480}},  // grown to the height, fits the width
        {300, 500, {10, 100, 280, 301}},  // grown, then narrowed to 280
        {150, 180, {10, 15, 130, 151}},   // never below 181 high, then narrowed
        {1095, 919, {108, 10, 878, 899}},
        {10, 10, {5, -6, 1, 22}},  // no room at all: still a frame to paint into
    };
    for (const Case& c : cases) {
        const app::FrameBounds frame = app::ClipFrameFor(c.view_width, c.view_height);
        EXPECT_EQ(frame, c.frame) << c.view_width << " x " << c.view_height;
        EXPECT_EQ(frame.height, frame.width + 21);
    }
}

TEST(PhotoCrop, MoveRangesLetTheViewerLeaveTheViewOnOneSide)
{
    EXPECT_EQ(app::ClipMoveRange(1000, 708), (app::SliderRange{-708, 1000}));  // smaller than the view
    EXPECT_EQ(app::ClipMoveRange(900, 1252), (app::SliderRange{-1252, 352}));  // overhangs by 352
    EXPECT_EQ(app::ClipMoveRange(500, 500), (app::SliderRange{-500, 0}));
    EXPECT_EQ(app::ClipPaintOffset(200, 121), 79);
    EXPECT_EQ(app::ClipPaintOffset(100, 10), 90);
}

TEST(PhotoCrop, CropDataTextsReadAndWrite)
{
    using Texts = std::vector<std::string>;
    EXPECT_EQ(app::ReadClipGeometry({"a.jpg", "", "-120", "-120", "708", "771"}),
              (app::FrameBounds{-120, -120, 708, 771}));
    EXPECT_EQ(app::ReadClipGeometry({"a.jpg", "yijianji", "0", "0", "1252", "1416", "more"}),
              (app::FrameBounds{0, 0, 1252, 1416}));
    const Texts unreadable[] = {
        {"a.jpg", "", "-120", "-120", "708"},      // too short
        {"a.jpg", "", "x", "-120", "708", "771"},  // not a number
        {"a.jpg", "", "1", "2", "708 ", "771"},    // trailing text
        {"a.jpg", "", "1", "2", "0", "771"},       // no width
        {"a.jpg", "", "1", "2", "708", "-5"},      // negative height
        {"a.jpg", "", "1", "2", "708", "99999999999"},
    };
    for (const Texts& texts : unreadable) EXPECT_EQ(app::ReadClipGeometry(texts), std::nullopt) << texts[2];

    Texts row = {"a.jpg", "yijianji", "-120", "-120", "708", "771"};
    app::WriteClipGeometry(row, {200, 100, 900, 900});
    EXPECT_EQ(row, (Texts{"a.jpg", "yijianji", "200", "100", "900", "900"}));
    Texts short_row = {"a.jpg"};
    app::WriteClipGeometry(short_row, {0, 0, 1252, 1416});
    EXPECT_EQ(short_row, (Texts{"a.jpg", "", "0", "0", "1252", "1416"}));
}

TEST(PhotoCrop, OnlyAPictureThatDecodesCountsAsStaged)
{
    app_test::TempFolder folder;
    const fs::path staged = folder.Path() / "jjzp" / "zpjj.jpg";
    EXPECT_FALSE(app::StagedClipPhotoReadable(folder.Path()));  // nothing staged
    fs::create_directories(staged.parent_path());

    gfx::SaveJpeg(TBitmap(64, 48, clRed), staged);
    EXPECT_TRUE(app::StagedClipPhotoReadable(folder.Path()));
    gfx::SaveBmp(TBitmap(64, 48, clRed), staged);  // converted names may hold any picture
    EXPECT_TRUE(app::StagedClipPhotoReadable(folder.Path()));

    std::ofstream(staged, std::ios::binary | std::ios::trunc) << "no picture in here";
    EXPECT_FALSE(app::StagedClipPhotoReadable(folder.Path()));
    // A JPEG header with nothing behind it.
    const std::vector<std::uint8_t> jpeg = gfx::EncodeJpeg(TBitmap(64, 48, clRed));
    std::ofstream(staged, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(jpeg.data()), 20);
    EXPECT_FALSE(app::StagedClipPhotoReadable(folder.Path()));
    // A photo cut short in its data would be cropped with a made-up grey part.
    const std::vector<std::uint8_t> photo = gfx::EncodeJpeg(TBitmap(320, 240, clRed));
    std::ofstream(staged, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(photo.data()),
               static_cast<std::streamsize>(photo.size() * 9 / 10));
    EXPECT_FALSE(app::StagedClipPhotoReadable(folder.Path()));
}

}  // namespace
