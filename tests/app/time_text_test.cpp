#include "app/time_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace app {
namespace {

struct FramesCase {
    double frames;
    TimeText expected;
};

TEST(FramesToTimeText, TruncatesToWholeSecondsAndCarriesHours)
{
    const FramesCase cases[] = {
        {0, {"00", "00", "00"}},     {24, {"00", "00", "00"}},
        {25, {"00", "00", "01"}},    {75, {"00", "00", "03"}},  // a whole multiple of 25 is exact
        {89999, {"00", "59", "59"}},                            // 3599.96 s truncates
        {90000, {"01", "00", "00"}}, {250.0 * 3600 * 25, {"250", "00", "00"}},
        {-5, {"00", "00", "00"}},    {std::nan(""), {"00", "00", "00"}},
    };
    for (const FramesCase& c : cases) EXPECT_EQ(FramesToTimeText(c.frames), c.expected) << c.frames;
}

TEST(FramesToTimeText, EveryWholeSecondOfAnHourIsExact)
{
    for (int s = 0; s <= 3600; ++s) {
        const TimeText text = FramesToTimeText(s * 25.0);
        ASSERT_EQ(std::stoi(text.hours) * 3600 + std::stoi(text.minutes) * 60 + std::stoi(text.seconds), s);
    }
}

TEST(SecondsToTimeText, Table)
{
    EXPECT_EQ(SecondsToTimeText(7261.9), (TimeText{"02", "01", "01"}));
    EXPECT_EQ(SecondsToTimeText(59.999), (TimeText{"00", "00", "59"}));
    EXPECT_EQ(SecondsToTimeText(3600), (TimeText{"01", "00", "00"}));
    EXPECT_EQ(SecondsToTimeText(0), (TimeText{"00", "00", "00"}));
    EXPECT_EQ(SecondsToTimeText(std::numeric_limits<double>::infinity()).minutes.size(), 2u);
}

TEST(TimeText, Joins)
{
    const TimeText text = FramesToTimeText(3 * 60 * 25 + 7 * 25);
    EXPECT_EQ(text.HhMmSs(), "00:03:07");
    EXPECT_EQ(text.MmSs(), "03:07");
}

}  // namespace
}  // namespace app
