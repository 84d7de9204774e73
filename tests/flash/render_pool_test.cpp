#include "platform/flash/render_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

TEST(RenderPool, RendererTakesEveryCoreUpToEight)
{
    struct Case {
        int cores, width;
    };
    const Case cases[] = {{0, 1}, {1, 1}, {2, 2}, {4, 4}, {8, 8}, {16, 8}};
    for (const Case& c : cases) EXPECT_EQ(flash::RenderWidth(c.cores), c.width) << c.cores << " cores";
}

TEST(RenderPool, EveryPartRunsOnce)
{
    for (int parts : {0, 1, 3, 2 * flash::ParallelWidth() + 1}) {
        std::vector<std::atomic<int>> runs(static_cast<size_t>(parts));
        flash::RunParallel(parts, [&](int part) { ++runs[static_cast<size_t>(part)]; });
        for (int part = 0; part < parts; ++part)
            EXPECT_EQ(runs[static_cast<size_t>(part)], 1) << part << " of " << parts;
    }
}

}  // namespace
