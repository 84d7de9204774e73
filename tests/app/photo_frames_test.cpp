#include "app/photo_frames.h"

#include <gtest/gtest.h>

namespace app {
namespace {

// ListBox3 rows 2, 3 and ListBox2 rows 100, 250; one pass is 300 frames.
const SegmentTable kTwoSegments = {{0, 100, 2}, {0, 250, 3}};
constexpr int64_t kPass = 300;

TEST(CalcPhotoFrames, Table)
{
    struct Case {
        const char* what;
        SegmentTable table;
        int64_t photos;
        int64_t expected;
    };
    const Case cases[] = {
        {"no photos: row 0", kTwoSegments, 0, 100},
        {"fewer than a pass, first row", kTwoSegments, 2, 100},
        {"fewer than a pass, second row", kTwoSegments, 4, 250},
        {"one whole pass", kTwoSegments, 5, 300},
        {"two whole passes", kTwoSegments, 10, 600},
        {"remainder completed by row 0 takes row 1", kTwoSegments, 7, 550},
        {"remainder completed by the last row: one more pass", kTwoSegments, 9, 600},
        {"three rows, remainder in row 1 takes row 2", {{0, 10, 1}, {0, 20, 1}, {0, 30, 1}}, 5, 100 + 30},
        {"empty table", {}, 4, 0},
        {"photo counts sum to 0", {{0, 100, 0}, {0, 250, 0}}, 4, 0},
    };
    for (const Case& c : cases) {
        const int64_t total = c.table.size() == 3 ? 100 : kPass;
        EXPECT_EQ(CalcPhotoFrames(c.table, c.photos, total), c.expected) << c.what;
    }
}

TEST(CalcPhotoFrames, HugeValuesSaturateInsteadOfOverflowing)
{
    const SegmentTable table = {{0, INT64_MAX, 1}, {0, INT64_MAX, 1}};
    EXPECT_EQ(CalcPhotoFrames(table, 3, INT64_MAX), INT64_MAX);
}

}  // namespace
}  // namespace app
