#include <gtest/gtest.h>

#include "platform/gfx/gfx.h"

TEST(Canvas, FillRectHonoursOriginAndClip) {
    TBitmap b(6, 6, clBlack);
    TCanvas& c = b.Canvas();
    c.SetOrigin({1, 1});
    c.IntersectClipRect({0, 0, 3, 3});
    c.Brush().SetColor(clRed);
    c.FillRect({-5, -5, 10, 10});
    EXPECT_EQ(b.Pixel(0, 0), clBlack);
    EXPECT_EQ(b.Pixel(1, 1), clRed);
    EXPECT_EQ(b.Pixel(3, 3), clRed);
    EXPECT_EQ(b.Pixel(4, 4), clBlack);
}
