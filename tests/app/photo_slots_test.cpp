#include "app/photo_slots.h"

#include <gtest/gtest.h>

#include "app/work_folder.h"
#include "temp_folder.h"

namespace app {
namespace {

using app_test::ReadFile;
using app_test::TempFolder;
using app_test::WriteFile;

TEST(ParseSlotRequest, ServesExactlyTheFifteenCommands)
{
    for (int n = 1; n <= 15; ++n) EXPECT_EQ(ParseSlotRequest("tupian=" + std::to_string(n)), n);
    for (const char* ignored :
         {"Tupian=3", "TUPIAN=3", "tupian=16", "tupian=03", "tupian=0", "tupian=", "tupian", "tupian=3 ",
          " tupian=3", "tupian=+3", "tupian=-1", "tupian=1x", "tupian=100"}) {
        EXPECT_FALSE(ParseSlotRequest(ignored)) << ignored;
    }
    EXPECT_FALSE(ParseSlotRequest(std::string_view("tupian=3\0", 9)));
}

TEST(PlanNextPhotos, UsesPhotosInOrderAndCyclically)
{
    struct Case {
        int cursor, slots, photos;
        std::vector<int> expected;
        int cursor_after;
    };
    const Case cases[] = {
        {0, 5, 3, {1, 2, 3, 1, 2}, 2},
        {2, 3, 3, {3, 1, 2}, 2},
        {0, 2, 7, {1, 2}, 2},
        {9, 2, 3, {1, 2}, 2},  // a cursor past the last photo starts again
        {0, 0, 3, {}, 0},
        {0, 2, 0, {1, 1}, 1},  // no photos: the copies will find nothing
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlanNextPhotos(c.cursor, c.slots, c.photos), (SlotFill{c.expected, c.cursor_after}))
            << c.cursor << " " << c.slots << " " << c.photos;
    }
}

class PhotoSlotFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(work_ / "zhzp");
        for (int k = 1; k <= 3; ++k) WriteFile(PhotoFile(work_, k), "photo" + std::to_string(k));
    }
    std::string Slot(int i) const
    {
        return std::filesystem::exists(SlotFile(work_, i)) ? ReadFile(SlotFile(work_, i)) : "";
    }

    TempFolder temp_;
    std::filesystem::path work_ = temp_.Path() / "brenholt_1" / "";
};

TEST_F(PhotoSlotFolder, CopyNextPhotosFillsSlotsAndCursor)
{
    int cursor = 0;
    CopyNextPhotos(work_, cursor, 5);
    EXPECT_EQ(cursor, 2);
    EXPECT_EQ(Slot(1), "photo1");
    EXPECT_EQ(Slot(3), "photo3");
    EXPECT_EQ(Slot(4), "photo1");
    EXPECT_EQ(Slot(5), "photo2");

    FillPhotoSlots(work_, cursor, 2);
    EXPECT_EQ(cursor, 2);
    EXPECT_EQ(Slot(1), "photo1");
}

TEST_F(PhotoSlotFolder, RequestReplacesAllSlots)
{
    WriteFile(SlotFile(work_, 9), "stale");
    WriteFile(work_ / "zhzp" / "OTHER.JPG", "stale");
    int cursor = 0;
    std::string slot_count = "1";
    int pumps = 0;
    ASSERT_TRUE(ServeSlotRequest(
        work_, "tupian=5", [] { return 7; }, cursor, slot_count, [&] { ++pumps; }));
    EXPECT_EQ(slot_count, "5");
    EXPECT_EQ(cursor, 2);
    EXPECT_EQ(Slot(4), "photo1");
    EXPECT_FALSE(std::filesystem::exists(SlotFile(work_, 9)));
    EXPECT_FALSE(std::filesystem::exists(work_ / "zhzp" / "OTHER.JPG"));
    EXPECT_EQ(pumps, 2 + 5);
}

TEST_F(PhotoSlotFolder, RequestAtFrameZeroOrNotARequestTouchesNothing)
{
    WriteFile(SlotFile(work_, 1), "kept");
    int cursor = 1;
    std::string slot_count = "1";
    EXPECT_FALSE(ServeSlotRequest(
        work_, "tupian=3", [] { return 0; }, cursor, slot_count));
    EXPECT_FALSE(ServeSlotRequest(
        work_, "Tupian=3", [] { return 7; }, cursor, slot_count));
    EXPECT_EQ(cursor, 1);
    EXPECT_EQ(slot_count, "1");
    EXPECT_EQ(Slot(1), "kept");
}

TEST_F(PhotoSlotFolder, MovieBackAtFrameZeroMidwaySkipsCopiesButAdvancesCursor)
{
    int reads = 0;
    // Frame 0 from the third read on: the request check and slot 1 see frame 5.
    const auto frame_num = [&reads] { return ++reads <= 2 ? 5 : 0; };
    int cursor = 0;
    std::string slot_count;
    ASSERT_TRUE(ServeSlotRequest(work_, "tupian=3", frame_num, cursor, slot_count));
    EXPECT_EQ(cursor, 3);
    EXPECT_EQ(Slot(1), "photo1");
    EXPECT_EQ(Slot(2), "");
    EXPECT_EQ(Slot(3), "");
}

}  // namespace
}  // namespace app
