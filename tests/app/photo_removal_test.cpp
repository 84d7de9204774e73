#include "app/photo_removal.h"

#include <gtest/gtest.h>

#include "app/work_folder.h"
#include "platform/core/files.h"
#include "temp_folder.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using app_test::ReadFile;
using app_test::TempFolder;
using app_test::WriteFile;

// A store of photos whose pictures hold their own names, "p1" ... .
class PictureStore : public ::testing::Test {
protected:
    void Fill(std::initializer_list<int> numbers)
    {
        for (int k : numbers) {
            std::string name = std::to_string(k);
            name.insert(0, 1, 'p');
            WriteFile(PhotoFile(work_.Path(), k), name);
        }
    }
    // The picture content by number 1 to 9; "-" for none.
    std::string Layout() const
    {
        std::string text;
        for (int k = 1; k <= 9; ++k) {
            if (!text.empty()) text += " ";
            const fs::path picture = PhotoFile(work_.Path(), k);
            text += fs::exists(picture) ? ReadFile(picture) : "-";
        }
        return text;
    }
    // core::RenameFile, failing at the call numbered fail_at (from 1).
    PictureRename FailingAt(int fail_at)
    {
        return [this, fail_at](const fs::path& from, const fs::path& to) {
            ++renames_;
            if (renames_ == fail_at) return false;
            return core::RenameFile(from, to);
        };
    }

    TempFolder work_;
    int renames_ = 0;
};

TEST_F(PictureStore, RemovingAPhotoMovesTheLaterOnesDown)
{
    struct Case {
        int number;
        const char* layout;
        std::vector<int> steps;
    };
    const Case cases[] = {
        {3, "p1 p2 p4 p5 - - - - -", {4, 5}},
        {5, "p1 p2 p3 p4 - - - - -", {}},
        {1, "p2 p3 p4 p5 - - - - -", {2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        fs::remove_all(work_.Path() / "zpyjj");
        Fill({1, 2, 3, 4, 5});
        std::vector<int> steps;
        EXPECT_EQ(RemovePhotoPicture(work_.Path(), c.number, 5, core::RenameFile,
                                     [&](int j) { steps.push_back(j); }),
                  PictureRemoval::kRemoved);
        EXPECT_EQ(Layout(), c.layout) << c.number;
        EXPECT_EQ(steps, c.steps) << c.number;
        EXPECT_FALSE(fs::exists(RemovedPicture(work_.Path())));
    }
}

TEST_F(PictureStore, AMissingPictureStillLetsTheRowGoWithoutShiftingTheOthers)
{
    // Photo 2 has no picture, photo 4 neither: numbers keep meaning rows.
    Fill({1, 3, 5});
    EXPECT_EQ(RemovePhotoPicture(work_.Path(), 2, 5, core::RenameFile), PictureRemoval::kRemoved);
    EXPECT_EQ(Layout(), "p1 p3 - p5 - - - - -");
}

TEST_F(PictureStore, NumbersOutsideThePhotosRemoveNothing)
{
    Fill({1, 2});
    for (int number : {0, -1, 3, 12})
        EXPECT_EQ(RemovePhotoPicture(work_.Path(), number, 2, core::RenameFile), PictureRemoval::kNone)
            << number;
    EXPECT_EQ(Layout(), "p1 p2 - - - - - - -");
}

TEST_F(PictureStore, AFailedMoveAtAnyStepPutsEveryPictureBack)
{
    // Removing photo 2 of 5 renames four times: aside, 3, 4, 5.
    for (int fail_at = 1; fail_at <= 4; ++fail_at) {
        fs::remove_all(work_.Path() / "zpyjj");
        Fill({1, 2, 3, 4, 5});
        renames_ = 0;
        EXPECT_EQ(RemovePhotoPicture(work_.Path(), 2, 5, FailingAt(fail_at)), PictureRemoval::kFailed)
            << fail_at;
        EXPECT_EQ(Layout(), "p1 p2 p3 p4 p5 - - - -") << fail_at;
        EXPECT_FALSE(fs::exists(RemovedPicture(work_.Path()))) << fail_at;
    }
}

TEST_F(PictureStore, AFolderInTheWayFailsTheRemovalAndChangesNothing)
{
    // A real failure, no injected one: something that is not a picture
    // holds the number that photo 4 must move to.
    Fill({1, 2, 4});
    fs::create_directories(PhotoFile(work_.Path(), 3) / "x");
    EXPECT_EQ(RemovePhotoPicture(work_.Path(), 1, 4, core::RenameFile), PictureRemoval::kFailed);
    EXPECT_EQ(ReadFile(PhotoFile(work_.Path(), 1)), "p1");
    EXPECT_EQ(ReadFile(PhotoFile(work_.Path(), 2)), "p2");
    EXPECT_EQ(ReadFile(PhotoFile(work_.Path(), 4)), "p4");
}

TEST_F(PictureStore, CompactingKeepsTheLeftPicturesInOrder)
{
    Fill({2, 5, 6});
    EXPECT_EQ(CompactPhotoPictures(work_.Path(), 6, core::RenameFile), (std::vector<int>{2, 5, 6}));
    EXPECT_EQ(Layout(), "p2 p5 p6 - - - - - -");

    fs::remove_all(work_.Path() / "zpyjj");
    EXPECT_EQ(CompactPhotoPictures(work_.Path(), 4, core::RenameFile), std::vector<int>{});

    Fill({2, 5, 6});
    renames_ = 0;
    EXPECT_EQ(CompactPhotoPictures(work_.Path(), 6, FailingAt(3)), std::nullopt);
    EXPECT_EQ(Layout(), "- p2 - - p5 p6 - - -");
}

}  // namespace
}  // namespace app
