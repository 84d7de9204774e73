#include "app/image_routines.h"

#include <gtest/gtest.h>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/image_io.h"
#include "temp_folder.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using app_test::TempFolder;

TBitmap TwoColourPicture()
{
    TBitmap picture;
    picture.SetSize(64, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) picture.SetPixel(x, y, x < 32 ? clRed : clBlue);
    return picture;
}

void ExpectRoughlyTwoColours(const TBitmap& picture)
{
    ASSERT_EQ(picture.Width(), 64);
    ASSERT_EQ(picture.Height(), 48);
    const TColor left = picture.Pixel(8, 24), right = picture.Pixel(56, 24);
    EXPECT_GT(left & 0xFF, 200u);           // red
    EXPECT_GT((right >> 16) & 0xFF, 200u);  // blue
}

TEST(ImageRoutines, SaveBitmapAsJpegWritesAJpegReplacingTheFile)
{
    TempFolder folder;
    const fs::path file = folder.Path() / "zpyjj1.jpg";
    app_test::WriteFile(file, "an older, longer file that must be replaced entirely");
    SaveBitmapAsJpeg(TwoColourPicture(), file);
    const std::vector<std::uint8_t> bytes = gfx::ReadFileBytes(file);
    EXPECT_EQ(gfx::DetectImageFormat(bytes), gfx::ImageFormat::Jpeg);
    ExpectRoughlyTwoColours(gfx::DecodeJpeg(bytes));
}

TEST(ImageRoutines, ConvertImageToJpegFromBmpAndFailures)
{
    TempFolder folder;
    const fs::path bmp = folder.Path() / "zpyjj.bmp";
    const fs::path jpg = folder.Path() / "zpyjj1.jpg";
    gfx::SaveBmp(TwoColourPicture(), bmp);
    ConvertImageToJpeg(bmp, jpg);
    ExpectRoughlyTwoColours(gfx::LoadJpeg(jpg));

    // A source that cannot be read throws and leaves the destination.
    app_test::WriteFile(folder.Path() / "broken.bmp", "BM not really");
    EXPECT_THROW(ConvertImageToJpeg(folder.Path() / "broken.bmp", jpg), gfx::ImageError);
    EXPECT_THROW(ConvertImageToJpeg(folder.Path() / "missing.bmp", jpg), gfx::ImageError);
    ExpectRoughlyTwoColours(gfx::LoadJpeg(jpg));
    // A destination that cannot be written throws too.
    EXPECT_THROW(ConvertImageToJpeg(bmp, folder.Path() / "no_folder" / "x.jpg"), gfx::ImageError);
}

}  // namespace
}  // namespace app
