#include "platform/shell/thumbnail.h"

#include <gtest/gtest.h>

#include "platform/core/files.h"
#include "platform/gfx/image_io.h"
#include "platform/shell/picture_icon.h"
#include "platform/shell/resample.h"
#include "tests/gfx/made_jpeg.h"

namespace {

namespace fs = std::filesystem;
constexpr TSize kFrame{708, 771};  // the import's render frame

bool Near(TColor pixel, TColor expected, int tolerance = 24)
{
    return std::abs(gfx::GetRValue(pixel) - gfx::GetRValue(expected)) <= tolerance &&
           std::abs(gfx::GetGValue(pixel) - gfx::GetGValue(expected)) <= tolerance &&
           std::abs(gfx::GetBValue(pixel) - gfx::GetBValue(expected)) <= tolerance;
}

bool SamePixels(const TBitmap& a, const TBitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    return std::equal(a.Pixels(), a.Pixels() + static_cast<std::size_t>(a.Width()) * a.Height(), b.Pixels());
}

TEST(FitInside, KeepsAspectBothWays)
{
    struct Case {
        TSize picture, frame, expected;
    } cases[] = {
        {{200, 100}, kFrame, {708, 354}},    // enlarged, bound by the width
        {{100, 200}, kFrame, {386, 771}},    // enlarged, bound by the height
        {{4000, 3000}, kFrame, {708, 531}},  // reduced
        {{3000, 4000}, kFrame, {578, 771}}, {{708, 771}, kFrame, {708, 771}},
        {{1, 1}, kFrame, {708, 708}},       {{10000, 1}, kFrame, {708, 1}},  // never thinner than a pixel
        {{0, 10}, kFrame, {0, 0}},          {{10, 10}, {0, 5}, {0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shell::FitInside(c.picture, c.frame), c.expected)
            << c.picture.cx << "x" << c.picture.cy << " in " << c.frame.cx << "x" << c.frame.cy;
    }
}

TEST(CentredOrigin, LikeACentringImageControl)
{
    EXPECT_EQ(shell::CentredOrigin(kFrame, {708, 354}), TPoint(0, 208));
    EXPECT_EQ(shell::CentredOrigin(kFrame, {48, 48}), TPoint(330, 361));
    EXPECT_EQ(shell::CentredOrigin({10, 10}, {20, 4}), TPoint(-5, 3));
}

TEST(Resample, FlatAreasStayFlatAndEdgesAverage)
{
    TBitmap flat(37, 23, gfx::RGB(10, 200, 90));
    for (TSize size : {TSize{100, 61}, TSize{5, 3}, TSize{1, 1}, TSize{37, 23}}) {
        TBitmap out = shell::ResamplePicture(flat, size.cx, size.cy);
        ASSERT_EQ(out.Width(), size.cx);
        ASSERT_EQ(out.Height(), size.cy);
        for (int y = 0; y < out.Height(); ++y) {
            for (int x = 0; x < out.Width(); ++x) ASSERT_EQ(out.Pixel(x, y), gfx::RGB(10, 200, 90));
        }
    }
    TBitmap halves(2, 1, clBlack);
    halves.SetPixel(1, 0, clWhite);
    EXPECT_TRUE(Near(shell::ResamplePicture(halves, 1, 1).Pixel(0, 0), gfx::RGB(128, 128, 128), 1));
    TBitmap grown = shell::ResamplePicture(halves, 8, 1);
    EXPECT_EQ(grown.Pixel(0, 0), clBlack);
    EXPECT_EQ(grown.Pixel(7, 0), clWhite);
    for (int x = 1; x < 8; ++x)
        EXPECT_GE(gfx::GetRValue(grown.Pixel(x, 0)), gfx::GetRValue(grown.Pixel(x - 1, 0)));
}

class ThumbnailTest : public ::testing::Test {
protected:
    fs::path Jpeg(const std::string& name, const TBitmap& picture)
    {
        fs::path path = temp_.Path() / name;
        gfx::SaveJpeg(picture, path);
        return path;
    }
    core::TempDir temp_;
};

TEST_F(ThumbnailTest, SmallPhotoIsEnlargedToTheFrameWidth)
{
    const auto thumbnail = shell::ExtractThumbnail(Jpeg("red.jpg", TBitmap(200, 100, clRed)), kFrame);
    ASSERT_TRUE(thumbnail);
    ASSERT_EQ(thumbnail->Width(), 708);
    ASSERT_EQ(thumbnail->Height(), 354);
    for (TPoint p : {TPoint(0, 0), TPoint(707, 0), TPoint(354, 177), TPoint(0, 353), TPoint(707, 353)}) {
        EXPECT_TRUE(Near(thumbnail->Pixel(p.X, p.Y), clRed)) << p.X << "," << p.Y;
    }
}

TEST_F(ThumbnailTest, LargePhotoIsReducedWithItsLayoutKept)
{
    // Left half blue, right half green, a white band across the top quarter.
    TBitmap photo(1600, 1200, clBlue);
    for (int y = 0; y < 1200; ++y) {
        for (int x = 800; x < 1600; ++x) photo.SetPixel(x, y, clLime);
    }
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 1600; ++x) photo.SetPixel(x, y, clWhite);
    }
    const auto thumbnail = shell::ExtractThumbnail(Jpeg("halves.JPG", photo), kFrame);
    ASSERT_TRUE(thumbnail);
    ASSERT_EQ(thumbnail->Width(), 708);
    ASSERT_EQ(thumbnail->Height(), 531);
    EXPECT_TRUE(Near(thumbnail->Pixel(100, 400), clBlue));
    EXPECT_TRUE(Near(thumbnail->Pixel(600, 400), clLime));
    EXPECT_TRUE(Near(thumbnail->Pixel(350, 50), clWhite));
    EXPECT_TRUE(Near(thumbnail->Pixel(350, 200), clBlue));
}

TEST_F(ThumbnailTest, PortraitAndOtherFormats)
{
    const fs::path png = temp_.Path() / "tall.png";
    gfx::SavePng(TBitmap(30, 60, clYellow), png);
    const auto thumbnail = shell::ExtractThumbnail(png, kFrame);
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->Width(), 386);
    EXPECT_EQ(thumbnail->Height(), 771);
    EXPECT_EQ(thumbnail->Pixel(200, 400), clYellow);
}

TEST_F(ThumbnailTest, ExifOrientationStandsThePhotoUp)
{
    // A landscape photo whose EXIF block says "rotate 90 degrees clockwise"
    // (orientation 6): the thumbnail stands, its stored left half on top.
    TBitmap photo(200, 100, clBlue);
    for (int y = 0; y < 100; ++y) {
        for (int x = 100; x < 200; ++x) photo.SetPixel(x, y, clLime);
    }
    auto bytes = core::ReadFileBytes(Jpeg("plain.jpg", photo));
    ASSERT_TRUE(bytes);
    // APP1 "Exif", big-endian TIFF header, one IFD entry: 0x0112 SHORT 1 = 6.
    const std::string tiff = std::string("MM\0\x2A\0\0\0\x08", 8) + std::string("\0\x01", 2) +
                             std::string("\x01\x12\0\x03\0\0\0\x01\0\x06\0\0", 12) + std::string(4, '\0');
    const std::string payload = std::string("Exif\0\0", 6) + tiff;
    const size_t length = payload.size() + 2;
    const std::string app1 = std::string("\xFF\xE1", 2) + static_cast<char>(length >> 8) +
                             static_cast<char>(length & 0xFF) + payload;
    const fs::path rotated = temp_.Path() / "rotated.jpg";
    ASSERT_TRUE(core::WriteFileBytes(rotated, bytes->substr(0, 2) + app1 + bytes->substr(2)));

    const auto thumbnail = shell::ExtractThumbnail(rotated, kFrame);
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->Width(), 386);
    EXPECT_EQ(thumbnail->Height(), 771);
    EXPECT_TRUE(Near(thumbnail->Pixel(193, 190), clBlue));
    EXPECT_TRUE(Near(thumbnail->Pixel(193, 580), clLime));
}

TEST_F(ThumbnailTest, UndecodableFilesGiveTheIconNeverTheLastPicture)
{
    const fs::path good = Jpeg("good.jpg", TBitmap(64, 64, clRed));
    const fs::path text = temp_.Path() / "notes.jpg";
    ASSERT_TRUE(core::WriteFileBytes(text, "not a picture at all"));
    const fs::path cut = temp_.Path() / "cut.jpg";
    auto bytes = core::ReadFileBytes(good);
    ASSERT_TRUE(bytes);
    ASSERT_TRUE(core::WriteFileBytes(cut, bytes->substr(0, 40)));
    const fs::path empty = temp_.Path() / "empty.jpg";
    ASSERT_TRUE(core::WriteFileBytes(empty, ""));

    const TBitmap icon = shell::PictureIcon();
    for (const fs::path& bad : {text, cut, empty, temp_.Path() / "missing.jpg", temp_.Path()}) {
        ASSERT_FALSE(shell::ThumbnailOrIcon(good, kFrame).Empty());
        EXPECT_FALSE(shell::ExtractThumbnail(bad, kFrame)) << bad;
        EXPECT_TRUE(SamePixels(shell::ThumbnailOrIcon(bad, kFrame), icon)) << bad;
    }
}

TEST_F(ThumbnailTest, CutLyingAndHugeJpegsGiveNoThumbnailAndSayWhy)
{
    const auto photo = core::ReadFileBytes(Jpeg("photo.jpg", TBitmap(320, 240, clRed)));
    ASSERT_TRUE(photo);
    const gfx_test::JpegBytes good(photo->begin(), photo->end());
    struct Case {
        const char* name;
        gfx_test::JpegBytes data;
        shell::ThumbnailFault fault;
        TSize thumbnail;  // 0 x 0: none
    };
    using shell::ThumbnailFault;
    const std::vector<Case> cases = {
        {"whole", good, ThumbnailFault::None, {708, 531}},
        {"cut at 10 %", gfx_test::CutAt(good, 10), ThumbnailFault::Unreadable, {}},
        {"cut at 50 %", gfx_test::CutAt(good, 50), ThumbnailFault::Unreadable, {}},
        {"cut at 90 %", gfx_test::CutAt(good, 90), ThumbnailFault::Unreadable, {}},
        {"8192 x 8192 claimed", gfx_test::ClaimSize(good, 8192, 8192), ThumbnailFault::Unreadable, {}},
        {"30000 x 30000 claimed", gfx_test::ClaimSize(good, 30000, 30000), ThumbnailFault::TooLarge, {}},
        {"16500 x 1500 panorama", gfx_test::GreyJpeg(16500, 1500), ThumbnailFault::None, {708, 64}},
        {"20000 x 3000 panorama", gfx_test::GreyJpeg(20000, 3000), ThumbnailFault::None, {708, 106}},
        {"12000 x 9000", gfx_test::GreyJpeg(12000, 9000), ThumbnailFault::None, {708, 531}},
    };
    const TBitmap icon = shell::PictureIcon();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = temp_.Path() / "case.jpg";
        ASSERT_TRUE(core::WriteFileBytes(file, std::string(c.data.begin(), c.data.end())));
        ThumbnailFault fault = ThumbnailFault::None;
        const auto thumbnail = shell::ExtractThumbnail(file, kFrame, &fault);
        EXPECT_EQ(fault, c.fault);
        if (c.thumbnail.cx == 0) {
            EXPECT_FALSE(thumbnail);
            EXPECT_TRUE(SamePixels(shell::ThumbnailOrIcon(file, kFrame), icon));
            continue;
        }
        ASSERT_TRUE(thumbnail);
        EXPECT_EQ(TSize(thumbnail->Width(), thumbnail->Height()), c.thumbnail);
    }
}

TEST(PictureIcon, LandscapeInAMount)
{
    const TBitmap icon = shell::PictureIcon();
    ASSERT_EQ(icon.Width(), shell::kPictureIconSize);
    ASSERT_EQ(icon.Height(), shell::kPictureIconSize);
    EXPECT_EQ(icon.Pixel(0, 0), gfx::RGB(128, 128, 128));   // edge
    EXPECT_EQ(icon.Pixel(2, 24), gfx::RGB(250, 250, 250));  // mount
    const TColor sky = icon.Pixel(8, 8);
    EXPECT_GT(gfx::GetBValue(sky), gfx::GetRValue(sky));
    const TColor sun = icon.Pixel(31, 15);
    EXPECT_GT(gfx::GetRValue(sun), 200);
    EXPECT_GT(gfx::GetGValue(sun), 150);
    const TColor hill = icon.Pixel(36, 42);
    EXPECT_GT(gfx::GetGValue(hill), gfx::GetRValue(hill));
    EXPECT_EQ(shell::PictureIcon(96).Width(), 96);
}

}  // namespace
