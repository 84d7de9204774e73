// The pixel row loops: the fast paths give the same bytes as the plain
// loops, and float steps the same values as a running sum.
#include "platform/flash/pixel_rows.h"

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <cstdint>
#include <vector>

namespace {

struct PlainPath {
    PlainPath() { flash::UsePlainPixelRows(true); }
    ~PlainPath() { flash::UsePlainPixelRows(false); }
};

TEST(PixelRows, FloatStepsMatchARunningSum)
{
    struct Case {
        float u, step;
        int count;
    };
    const Case cases[] = {
        {-3.27f, 0.5f, 700},    // across zero and several powers of two
        {31.9137f, 0.5f, 300},  // from just under a power of two
        {-0.01f, 1.0f, 400},     {0.123456f, 0.25f, 1500},     {70.1f, -0.5f, 300},  // down through zero
        {5.5f, 0.4537281f, 600},  // a step with a long mantissa
        {1e-30f, 0.5f, 50},      {1000.77f, 1.0f / 1024, 900}, {-1e6f, 0.125f, 200}, {2.0f, 0.0f, 40},
        {0.0f, 0.75f, 100},      {8388000.0f, 1.0f, 1000},  // where a float stops holding halves
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.u << " by " << c.step);
        std::vector<float> got(static_cast<std::size_t>(c.count));
        flash::FloatSteps(got.data(), c.count, c.u, c.step);
        float u = c.u;
        for (int i = 0; i < c.count; ++i, u += c.step)
            ASSERT_EQ(std::bit_cast<std::uint32_t>(got[i]), std::bit_cast<std::uint32_t>(u)) << "at " << i;
    }
}

TEST(PixelRows, FastPathsMatchThePlainLoops)
{
    // Premultiplied colours of every alpha, with odd counts for the tails.
    std::vector<std::uint32_t> pixels(517), ramp(1024);
    std::uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    auto premultiplied = [&] {
        std::uint32_t a = next() >> 24, c = next();
        auto ch = [&](int shift) { return (((c >> shift) & 0xFF) * a / 255) << shift; };
        return ch(0) | ch(8) | ch(16) | a << 24;
    };
    for (auto& p : pixels) p = premultiplied() | 0xFF000000u;
    for (auto& p : ramp) p = premultiplied();
    std::vector<float> us(pixels.size());
    flash::FloatSteps(us.data(), static_cast<int>(us.size()), -7.3f, 0.5f);

    struct Run {
        const char* name;
        std::function<void(std::vector<std::uint32_t>&)> run;
    };
    const Run runs[] = {
        {"solid over, half clear",
         [](auto& row) {
             flash::OverSolidRow(row.data() + 1, 0x80402010u, static_cast<int>(row.size()) - 1);
         }},
        {"solid over, opaque", [](auto& row) { flash::OverSolidRow(row.data(), 0xFF102030u, 13); }},
        {"solid over, nearly clear",
         [](auto& row) {
             flash::OverSolidRow(row.data() + 3, 0x01010000u, static_cast<int>(row.size()) - 3);
         }},
        {"radial",
         [&](auto& row) {
             flash::RadialRow(row.data(), us.data(), static_cast<int>(row.size()), 1 / 240.0f, 0.0625f,
                              ramp.data(), 1023);
         }},
        {"radial outside the circle",
         [&](auto& row) {
             flash::RadialRow(row.data(), us.data(), static_cast<int>(row.size()) - 5, 1 / 70.0f, 0.9f,
                              ramp.data(), 1023);
         }},
    };
    for (const Run& r : runs) {
        SCOPED_TRACE(r.name);
        std::vector<std::uint32_t> fast = pixels, plain = pixels;
        r.run(fast);
        {
            PlainPath use_plain;
            r.run(plain);
        }
        EXPECT_EQ(fast, plain) << "on the " << flash::PixelRowsPath() << " path";
    }
}

}  // namespace
