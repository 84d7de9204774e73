#include <gtest/gtest.h>

#include "mcl/thread_share.h"

namespace {

TEST(MclThreadShare, EncoderTakesAQuarterOfTheCoresAndAtLeastOne)
{
    struct Case {
        int cores, encoder;
    };
    const Case cases[] = {{0, 1}, {1, 1}, {2, 1}, {4, 1}, {6, 1}, {8, 2}, {12, 3}, {16, 4}, {64, 16}};
    for (const Case& c : cases) EXPECT_EQ(mcl::EncoderThreads(c.cores), c.encoder) << c.cores << " cores";
}

}  // namespace
