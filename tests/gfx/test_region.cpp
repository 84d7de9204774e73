#include <gtest/gtest.h>

#include "platform/gfx/gfx.h"

using gfx::Region;

TEST(Region, UnionIsBandedAndCanonical)
{
    const Region a = Region({0, 0, 4, 4}).Union(Region({2, 2, 6, 6}));
    const Region b = Region({2, 2, 6, 6}).Union(Region({0, 0, 4, 4}));
    EXPECT_EQ(a, b);
    EXPECT_TRUE(a.Contains(0, 0));
    EXPECT_TRUE(a.Contains(5, 5));
    EXPECT_FALSE(a.Contains(5, 0));
    EXPECT_FALSE(a.Contains(6, 6));  // right and bottom exclusive
    EXPECT_EQ(a.Bounds(), TRect(0, 0, 6, 6));
    // Bands: rows 0-1, 2-3 and 4-5.
    EXPECT_EQ(a.Bands().size(), 3u);
    EXPECT_EQ(a.Rects(), (std::vector<TRect>{{0, 0, 4, 2}, {0, 2, 6, 4}, {2, 4, 6, 6}}));
    // Two halves make the same region as the whole.
    EXPECT_EQ(Region({0, 0, 3, 5}).Union(Region({3, 0, 6, 5})), Region({0, 0, 6, 5}));
    EXPECT_EQ(Region({0, 0, 6, 2}).Union(Region({0, 2, 6, 5})), Region({0, 0, 6, 5}));
}

TEST(Region, IntersectSubtractOffset)
{
    const Region a({0, 0, 4, 4});
    EXPECT_EQ(a.Intersect(Region({2, 2, 6, 6})), Region({2, 2, 4, 4}));
    EXPECT_TRUE(a.Intersect(Region({5, 5, 6, 6})).IsEmpty());
    const Region ring = Region({0, 0, 5, 5}).Subtract(Region({1, 1, 4, 4}));
    EXPECT_FALSE(ring.Contains(2, 2));
    EXPECT_TRUE(ring.Contains(0, 2));
    EXPECT_TRUE(ring.Contains(4, 4));
    EXPECT_EQ(ring.Offset(10, 20).Bounds(), TRect(10, 20, 15, 25));
    EXPECT_TRUE(Region(TRect{3, 3, 3, 9}).IsEmpty());
    EXPECT_EQ(Region(), Region(TRect{}));
}

TEST(Region, RoundRectMatchesTheDrawnShapeAndIsSymmetric)
{
    const TRect r{0, 0, 21, 15};
    const Region rr = Region::RoundRect(r, 8, 8);
    TBitmap b(21, 15, clBlack);
    b.Canvas().Pen().SetColor(clWhite);
    b.Canvas().Brush().SetColor(clWhite);
    b.Canvas().RoundRect(r, 8, 8);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 21; ++x) {
            EXPECT_EQ(rr.Contains(x, y), b.Pixel(x, y) == clWhite) << x << "," << y;
            EXPECT_EQ(rr.Contains(x, y), rr.Contains(20 - x, y));
            EXPECT_EQ(rr.Contains(x, y), rr.Contains(x, 14 - y));
        }
    EXPECT_FALSE(rr.Contains(0, 0));
    EXPECT_TRUE(rr.Contains(10, 0));
    EXPECT_EQ(rr.Bounds(), r);
    // Filling the region paints exactly its pixels.
    TBitmap f(21, 15, clBlack);
    f.Canvas().Brush().SetColor(clRed);
    f.Canvas().FillRegion(rr);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 21; ++x) EXPECT_EQ(f.Pixel(x, y) == clRed, rr.Contains(x, y));
}
