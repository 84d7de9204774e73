#include "platform/flash/picture_ahead.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/image_io.h"
#include "tests/gfx/exif_jpeg.h"

namespace {

namespace fs = std::filesystem;

constexpr flash::PictureCover kCover{1408, 1152};

class PictureAheadTest : public testing::Test {
public:
    fs::path dir =
        fs::temp_directory_path() /
        ("velmora_ahead_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::path photo = dir / "photo.jpg";  // stored on its side, EXIF orientation 6
    fs::path other = dir / "other.jpg";
    fs::path slot = dir / "slot.jpg";

    PictureAheadTest()
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
        MakePhotos();
    }
    ~PictureAheadTest() override { fs::remove_all(dir); }

    void MakePhotos()
    {
        fs::remove(slot);
        gfx::WriteFileBytes(
            photo, gfx_test::WithSegments(gfx::EncodeJpeg(gfx_test::Quadrants(40, 20)),
                                          gfx_test::ExifSegment(gfx_test::OrientationTiff(false, 6))));
        gfx::SaveJpeg(TBitmap(30, 20, clBlue), other);
    }

    void CopyToSlot(const fs::path& from, flash::PictureAhead& ahead)
    {
        fs::copy_file(from, slot, fs::copy_options::overwrite_existing);
        ahead.NoteCopy(from, slot);
    }

    // The same pixels, level by level, as the file decoded in place.
    static void ExpectAsDecodedInPlace(const flash::PicturePtr& picture, const fs::path& file)
    {
        ASSERT_TRUE(picture);
        const flash::PicturePtr in_place = flash::ReadPictureFile(file, kCover);
        ASSERT_EQ(picture->levels.size(), in_place->levels.size());
        for (std::size_t i = 0; i < picture->levels.size(); ++i) {
            EXPECT_EQ(picture->levels[i].width, in_place->levels[i].width) << "level " << i;
            EXPECT_EQ(picture->levels[i].height, in_place->levels[i].height) << "level " << i;
            EXPECT_EQ(picture->levels[i].pixels, in_place->levels[i].pixels) << "level " << i;
        }
    }
};

TEST_F(PictureAheadTest, ARightGuessHandsOverTheCopyTurnedAsItsOrientationSays)
{
    flash::PictureAhead ahead;
    ahead.Guess({photo, other}, kCover);
    CopyToSlot(photo, ahead);
    const flash::PicturePtr picture = ahead.Take(slot, kCover);
    ExpectAsDecodedInPlace(picture, slot);
    EXPECT_EQ(picture->Width(), 20) << "stood up";
    EXPECT_EQ(picture->Height(), 40);
    EXPECT_FALSE(ahead.Take(slot, kCover)) << "handed over once";
    // The other guess is the file itself.
    ExpectAsDecodedInPlace(ahead.Take(other, kCover), other);
}

TEST_F(PictureAheadTest, NothingIsHandedOverThatIsNotWhatWasGuessed)
{
    struct Case {
        const char* what;
        std::function<void(PictureAheadTest&, flash::PictureAhead&)> after_guess;
        flash::PictureCover cover = kCover;
    };
    const Case cases[] = {
        {"another photo copied",
         [](PictureAheadTest& t, flash::PictureAhead& a) { t.CopyToSlot(t.other, a); }},
        {"the photo rewritten before the copy",
         [](PictureAheadTest& t, flash::PictureAhead& a) {
             gfx::SaveJpeg(TBitmap(50, 20, clRed), t.photo);
             t.CopyToSlot(t.photo, a);
         }},
        {"the copy rewritten after it was noted",
         [](PictureAheadTest& t, flash::PictureAhead& a) {
             t.CopyToSlot(t.photo, a);
             gfx::SaveJpeg(TBitmap(50, 20, clRed), t.slot);
         }},
        {"the copies gone",
         [](PictureAheadTest& t, flash::PictureAhead& a) {
             t.CopyToSlot(t.photo, a);
             a.ForgetCopies();
         }},
        {"another size asked for",
         [](PictureAheadTest& t, flash::PictureAhead& a) { t.CopyToSlot(t.photo, a); },
         flash::PictureCover{704, 576}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MakePhotos();
        flash::PictureAhead ahead;
        ahead.Guess({photo}, kCover);
        c.after_guess(*this, ahead);
        EXPECT_FALSE(ahead.Take(slot, c.cover));
        // Decoded now instead, from the file as it is.
        ExpectAsDecodedInPlace(ahead.Decode(slot, kCover), slot);
    }
}

TEST_F(PictureAheadTest, AFileChangedAfterTheGuessIsNotHandedOver)
{
    flash::PictureAhead ahead;
    ahead.Guess({photo}, kCover);
    // Bigger, and written later than the guess saw it.
    gfx::SaveJpeg(TBitmap(60, 40, clGreen), photo);
    EXPECT_FALSE(ahead.Take(photo, kCover));
}

TEST_F(PictureAheadTest, ADamagedPhotoIsLeftToTheDecodeInPlace)
{
    std::ofstream(photo, std::ios::binary | std::ios::trunc) << "\xFF\xD8\xFF\xE0 not really a photo";
    flash::PictureAhead ahead;
    ahead.Guess({photo}, kCover);
    CopyToSlot(photo, ahead);
    EXPECT_FALSE(ahead.Take(slot, kCover));
    EXPECT_FALSE(ahead.Decode(slot, kCover));
    EXPECT_THROW(flash::ReadPictureFile(slot, kCover), gfx::ImageError) << "where its error shows";
}

TEST_F(PictureAheadTest, StopsMidDecodeAndHandsOverNothingThatWasToCome)
{
    // Big enough that the stop comes while the first is being decoded.
    std::vector<fs::path> files;
    for (int k = 0; k < 6; ++k) {
        files.push_back(dir / ("big" + std::to_string(k) + ".jpg"));
        gfx::SaveJpeg(TBitmap(1600, 1200, static_cast<TColor>(0x102030u * (k + 1))), files.back());
    }
    for (bool destroyed : {false, true}) {
        SCOPED_TRACE(destroyed);
        auto ahead = std::make_unique<flash::PictureAhead>();
        ahead->Guess(files, kCover);
        if (destroyed) {
            ahead.reset();  // joins the worker
            continue;
        }
        ahead->Stop();
        EXPECT_FALSE(ahead->Take(files.back(), kCover)) << "never decoded";
        EXPECT_FALSE(ahead->Decode(files.back(), kCover)) << "no worker left";
        ahead->Guess(files, kCover);
        EXPECT_FALSE(ahead->Take(files.front(), kCover)) << "a guess after the stop starts nothing";
    }
}

TEST_F(PictureAheadTest, ACopyStillToBeReadOutlivesTheNextGuess)
{
    const fs::path second = dir / "second.jpg";
    for (bool second_first : {false, true}) {
        SCOPED_TRACE(second_first);
        MakePhotos();
        flash::PictureAhead ahead;
        ahead.Guess({photo}, kCover);
        CopyToSlot(photo, ahead);
        ahead.Guess({other}, kCover);
        fs::copy_file(other, second, fs::copy_options::overwrite_existing);
        ahead.NoteCopy(other, second);
        // Either is handed over, whichever the movie reads first.
        if (second_first) ExpectAsDecodedInPlace(ahead.Take(second, kCover), second);
        ExpectAsDecodedInPlace(ahead.Take(slot, kCover), slot);
        if (!second_first) ExpectAsDecodedInPlace(ahead.Take(second, kCover), second);
    }
}

TEST_F(PictureAheadTest, ADecodeNowIsHandedOverOnceMoreWhileTheFileStays)
{
    flash::PictureAhead ahead;
    const flash::PicturePtr now = ahead.Decode(photo, kCover);
    ExpectAsDecodedInPlace(now, photo);
    EXPECT_EQ(ahead.Take(photo, kCover), now);
    EXPECT_FALSE(ahead.Take(photo, kCover));
    ahead.Decode(other, kCover);
    gfx::SaveJpeg(TBitmap(60, 40, clGreen), other);
    EXPECT_FALSE(ahead.Take(other, kCover));
}

TEST_F(PictureAheadTest, ANewGuessDropsTheOldSet)
{
    flash::PictureAhead ahead;
    ahead.Guess({photo}, kCover);
    ahead.Guess({other}, kCover);
    EXPECT_FALSE(ahead.Take(photo, kCover));
    ExpectAsDecodedInPlace(ahead.Take(other, kCover), other);
    ahead.Clear();
    EXPECT_FALSE(ahead.Take(other, kCover));
}

}  // namespace
