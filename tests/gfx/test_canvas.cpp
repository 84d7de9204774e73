#include <gtest/gtest.h>

#include "platform/gfx/gfx.h"
#include "tests/gfx/gfx_test_util.h"

using gfx_test::Count;
using gfx_test::Map;
using Rows = std::vector<std::string>;

TEST(CanvasClip, OriginAndClipStackGovernEveryFill)
{
    TBitmap b(6, 6, clBlack);
    TCanvas& c = b.Canvas();
    c.Brush().SetColor(clRed);
    c.SaveState();
    c.SetOrigin({1, 1});
    c.IntersectClipRect({0, 0, 3, 3});
    EXPECT_EQ(c.ClipRect(), TRect(0, 0, 3, 3));
    c.SaveState();
    c.IntersectClipRect({1, 1, 10, 10});  // narrows, never widens
    EXPECT_EQ(c.ClipRect(), TRect(1, 1, 3, 3));
    c.RestoreState();
    c.FillRect({-5, -5, 10, 10});
    EXPECT_EQ(Map(b, clRed), (Rows{"......", ".###..", ".###..", ".###..", "......", "......"}));
    c.RestoreState();
    EXPECT_EQ(c.Origin(), TPoint(0, 0));
    EXPECT_EQ(c.ClipRect(), TRect(0, 0, 6, 6));
    c.RestoreState();  // unbalanced: ignored
    c.FillRect({4, 4, 6, 6});
    EXPECT_EQ(b.Pixel(5, 5), clRed);
}

TEST(CanvasClip, ReadsAndWritesOutsideTheClipAreIgnored)
{
    TBitmap b(3, 3, clBlack);
    TCanvas& c = b.Canvas();
    c.IntersectClipRect({1, 1, 2, 2});
    c.SetPixel(0, 0, clWhite);
    c.SetPixel(1, 1, clWhite);
    EXPECT_EQ(b.Pixel(0, 0), clBlack);
    EXPECT_EQ(c.Pixel(1, 1), clWhite);
    EXPECT_EQ(c.Pixel(0, 0), clNone);
    EXPECT_EQ(c.Pixel(-100, 100000), clNone);
}

TEST(CanvasShapes, RectanglesExcludeRightAndBottom)
{
    TBitmap b(6, 5, clBlack);
    TCanvas& c = b.Canvas();
    c.Brush().SetColor(clWhite);
    c.FrameRect({1, 1, 5, 4});
    EXPECT_EQ(Map(b, clWhite), (Rows{"......", ".####.", ".#..#.", ".####.", "......"}));
    b.Fill(clBlack);
    c.Pen().SetColor(clRed);
    c.Brush().SetColor(clWhite);
    c.Rectangle(0, 0, 4, 4);
    EXPECT_EQ(Map(b, clRed), (Rows{"####..", "#oo#..", "#oo#..", "####..", "......"}));
    EXPECT_EQ(b.Pixel(1, 1), clWhite);
}

struct LineCase {
    TPoint from, to;
    int pixels;
};

TEST(CanvasShapes, LineToLeavesOutTheEndPoint)
{
    const LineCase cases[] = {
        {{0, 0}, {5, 0}, 5}, {{5, 2}, {0, 2}, 5}, {{1, 0}, {1, 6}, 6}, {{0, 0}, {5, 5}, 5},
        {{6, 6}, {1, 1}, 5}, {{0, 6}, {6, 3}, 6}, {{2, 2}, {2, 2}, 0},
    };
    for (const auto& lc : cases) {
        TBitmap b(8, 8, clBlack);
        TCanvas& c = b.Canvas();
        c.Pen().SetColor(clWhite);
        c.MoveTo(lc.from.X, lc.from.Y);
        c.LineTo(lc.to.X, lc.to.Y);
        SCOPED_TRACE(testing::Message()
                     << lc.from.X << "," << lc.from.Y << " -> " << lc.to.X << "," << lc.to.Y);
        EXPECT_EQ(Count(b, clWhite), lc.pixels);
        EXPECT_EQ(b.Pixel(lc.to.X, lc.to.Y), clBlack);
        if (lc.pixels) {
            EXPECT_EQ(b.Pixel(lc.from.X, lc.from.Y), clWhite);
        }
        EXPECT_EQ(c.PenPos(), lc.to);
    }
}

TEST(CanvasShapes, ClosedOutlinesTouchEveryPixelOnceSoXorTwiceRestores)
{
    TBitmap b(9, 9, clBlack);
    b.Canvas().Brush().SetColor(clGreen);
    b.Canvas().FillRect({2, 2, 6, 6});
    const TBitmap before = b;
    TCanvas& c = b.Canvas();
    c.Pen().SetMode(pmXor);
    c.Pen().SetColor(clWhite);
    c.Brush().SetStyle(bsClear);
    const TPoint tri[] = {{1, 1}, {7, 2}, {3, 7}};
    c.Polygon(tri);
    c.Polygon(tri);
    EXPECT_EQ(Map(b, clGreen), Map(before, clGreen));
    c.DrawFocusRect({0, 0, 9, 9});
    EXPECT_EQ(b.Pixel(0, 0), clWhite);
    EXPECT_EQ(b.Pixel(1, 0), clBlack);  // dotted: every other pixel
    EXPECT_EQ(b.Pixel(2, 0), clWhite);
    c.DrawFocusRect({0, 0, 9, 9});
    EXPECT_EQ(Map(b, clGreen), Map(before, clGreen));
}

TEST(CanvasShapes, PolygonFillCoversPixelCentresInside)
{
    TBitmap b(7, 6, clBlack);
    TCanvas& c = b.Canvas();
    c.Pen().SetStyle(psClear);
    c.Brush().SetColor(clWhite);
    const TPoint square[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
    c.Polygon(square);
    EXPECT_EQ(Map(b, clWhite), (Rows{".......", ".####..", ".####..", ".####..", ".......", "......."}));
}

struct RoundCase {
    TRect r;
    int w, h;
};

TEST(CanvasShapes, RoundRectIsSymmetricWithRoundedCorners)
{
    const RoundCase cases[] = {
        {{0, 0, 10, 8}, 4, 4}, {{0, 0, 11, 9}, 5, 5},    {{0, 0, 12, 12}, 12, 12},
        {{0, 0, 9, 7}, 6, 3},  {{0, 0, 16, 10}, 20, 20},
    };
    for (const auto& rc : cases) {
        SCOPED_TRACE(testing::Message()
                     << rc.r.Right << "x" << rc.r.Bottom << " corner " << rc.w << "x" << rc.h);
        TBitmap b(rc.r.Right, rc.r.Bottom, clBlack);
        TCanvas& c = b.Canvas();
        c.Pen().SetColor(clWhite);
        c.Brush().SetColor(clBlue);
        c.RoundRect(rc.r, rc.w, rc.h);
        const Rows m = Map(b, clWhite);
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) {
                EXPECT_EQ(m[y][x], m[y][b.Width() - 1 - x]) << x << "," << y;
                EXPECT_EQ(m[y][x], m[b.Height() - 1 - y][x]) << x << "," << y;
            }
        EXPECT_EQ(m[0][0], '.');              // the corner is cut
        EXPECT_EQ(m[0][b.Width() / 2], '#');  // edges touch the rectangle
        EXPECT_EQ(m[b.Height() / 2][0], '#');
        EXPECT_EQ(b.Pixel(b.Width() / 2, b.Height() / 2), clBlue);  // brush inside
        EXPECT_EQ(Count(b, clBlack) + Count(b, clWhite) + Count(b, clBlue), b.Width() * b.Height());
    }
}

TEST(CanvasShapes, SmallRoundRectCornersAsExpected)
{
    TBitmap b(6, 5, clBlack);
    TCanvas& c = b.Canvas();
    c.Pen().SetColor(clWhite);
    c.Brush().SetStyle(bsClear);
    c.RoundRect(0, 0, 6, 5, 4, 4);
    EXPECT_EQ(Map(b, clWhite), (Rows{".####.", "#....#", "#....#", "#....#", ".####."}));
}

TEST(CanvasShapes, ArcDrawsOnlyTheCounterClockwiseSweep)
{
    TBitmap b(11, 11, clBlack);
    TCanvas& c = b.Canvas();
    c.Pen().SetColor(clWhite);
    // From the ray to the right (east) to the ray up (north): the upper-right quarter.
    c.Arc(0, 0, 11, 11, 11, 5, 5, 0);
    int upperRight = 0, elsewhere = 0;
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 11; ++x)
            if (b.Pixel(x, y) == clWhite) (x >= 5 && y <= 5 ? upperRight : elsewhere)++;
    EXPECT_GT(upperRight, 4);
    EXPECT_EQ(elsewhere, 0);
    // Equal start and end rays: the whole ellipse, same as its outline.
    TBitmap full(11, 11, clBlack), ellipse(11, 11, clBlack);
    full.Canvas().Pen().SetColor(clWhite);
    full.Canvas().Arc(0, 0, 11, 11, 11, 5, 11, 5);
    ellipse.Canvas().Pen().SetColor(clWhite);
    ellipse.Canvas().Brush().SetStyle(bsClear);
    ellipse.Canvas().Ellipse(0, 0, 11, 11);
    EXPECT_EQ(Map(full, clWhite), Map(ellipse, clWhite));
}

TEST(CanvasShapes, DashedPenLeavesGaps)
{
    TBitmap b(40, 1, clBlack);
    TCanvas& c = b.Canvas();
    c.Pen().SetColor(clWhite);
    c.Pen().SetStyle(psDot);
    c.MoveTo(0, 0);
    c.LineTo(40, 0);
    EXPECT_EQ(Map(b, clWhite)[0].substr(0, 12), "###...###...");
}

// A 4x2 strip: red cells with magenta holes.
TBitmap KeyedSource()
{
    TBitmap s(4, 2, clRed);
    s.SetPixel(1, 0, clMagenta);
    s.SetPixel(2, 1, clMagenta);
    return s;
}

TEST(CanvasBitmaps, DrawLeavesKeyPixelsAndHonoursTransparentFlag)
{
    TBitmap dst(6, 3, clBlack);
    TBitmap src = KeyedSource();
    dst.Canvas().Draw(1, 1, src, clMagenta);
    EXPECT_EQ(Map(dst, clRed), (Rows{"......", ".#.##.", ".##.#."}));
    dst.Fill(clBlack);
    dst.Canvas().Draw(0, 0, src);  // opaque
    EXPECT_EQ(dst.Pixel(1, 0), clMagenta);
    src.SetTransparent(true);
    dst.Fill(clBlack);
    dst.Canvas().Draw(0, 0, src);
    EXPECT_EQ(dst.Pixel(1, 0), clBlack);
}

TEST(CanvasBitmaps, KeyedStretchKeepsHolesExactWithEveryFilter)
{
    const TBitmap src = KeyedSource();
    TBitmap nearest(12, 6, clBlack);
    nearest.Canvas().DrawBitmap({0, 0, 12, 6}, src, src.BoundsRect(),
                                {gfx::StretchFilter::Nearest, clMagenta});
    EXPECT_EQ(Map(nearest, clRed), (Rows{"###...######", "###...######", "###...######", "######...###",
                                         "######...###", "######...###"}));
    for (auto f : {gfx::StretchFilter::Box, gfx::StretchFilter::Bilinear}) {
        TBitmap d(12, 6, clBlack);
        d.Canvas().DrawBitmap({0, 0, 12, 6}, src, src.BoundsRect(), {f, clMagenta});
        EXPECT_EQ(Map(d, clRed), Map(nearest, clRed)) << static_cast<int>(f);
    }
    // Shrinking: holes follow nearest sampling and no magenta bleeds in.
    TBitmap big(9, 9, clRed);
    for (int i = 0; i < 9; ++i) big.SetPixel(i, 4, clMagenta);
    for (auto f : {gfx::StretchFilter::Box, gfx::StretchFilter::Bilinear}) {
        TBitmap d(3, 3, clBlack);
        d.Canvas().DrawBitmap({0, 0, 3, 3}, big, big.BoundsRect(), {f, clMagenta});
        EXPECT_EQ(Map(d, clRed), (Rows{"###", "...", "###"})) << static_cast<int>(f);
    }
}

TEST(CanvasBitmaps, BoxFilterAveragesAreas)
{
    TBitmap src(4, 2, clBlack);
    src.SetPixel(0, 0, clWhite);
    src.SetPixel(1, 0, clWhite);  // left 2x2: half white
    TBitmap d(2, 1, clRed);
    d.Canvas().StretchDraw({0, 0, 2, 1}, src, gfx::StretchFilter::Box);
    EXPECT_EQ(d.Pixel(0, 0), gfx::RGB(128, 128, 128));
    EXPECT_EQ(d.Pixel(1, 0), clBlack);
    // A flat colour stays exact at any ratio.
    TBitmap flat(7, 5, gfx::RGB(10, 200, 33));
    TBitmap d2(3, 4, clBlack);
    d2.Canvas().StretchDraw({0, 0, 3, 4}, flat, gfx::StretchFilter::Box);
    EXPECT_EQ(Count(d2, gfx::RGB(10, 200, 33)), 12);
}

TEST(CanvasBitmaps, BilinearUpscaleKeepsCornersAndIsMonotonic)
{
    TBitmap src(2, 1, clBlack);
    src.SetPixel(1, 0, clWhite);
    TBitmap d(8, 1, clRed);
    d.Canvas().StretchDraw({0, 0, 8, 1}, src, gfx::StretchFilter::Bilinear);
    EXPECT_EQ(d.Pixel(0, 0), clBlack);
    EXPECT_EQ(d.Pixel(7, 0), clWhite);
    for (int x = 1; x < 8; ++x) EXPECT_GE(gfx::GetRValue(d.Pixel(x, 0)), gfx::GetRValue(d.Pixel(x - 1, 0)));
}

TEST(CanvasBitmaps, CopyRectUsesSourceDevicePixelsAndDestinationOrigin)
{
    TBitmap src(4, 4, clBlack);
    src.SetPixel(2, 2, clWhite);
    src.Canvas().SetOrigin({1, 1});
    TBitmap dst(4, 4, clRed);
    dst.Canvas().SetOrigin({1, 0});
    dst.Canvas().CopyRect({0, 0, 2, 2}, src.Canvas(), {1, 1, 3, 3});  // source logical (1,1) = device (2,2)
    EXPECT_EQ(dst.Pixel(1, 0), clWhite);
    EXPECT_EQ(dst.Pixel(2, 1), clBlack);
    EXPECT_EQ(dst.Pixel(0, 0), clRed);
    // Copying within one bitmap reads the pixels as they were.
    TBitmap self(4, 1, clBlack);
    self.SetPixel(0, 0, clWhite);
    self.Canvas().CopyRect({1, 0, 4, 1}, self, {0, 0, 3, 1});
    EXPECT_EQ(Map(self, clWhite), (Rows{"##.."}));
}

TEST(CanvasBitmaps, TilesAndPatternBrushAlignToTheOrigin)
{
    TBitmap tile(2, 2, clBlack);
    tile.SetPixel(0, 0, clWhite);
    TBitmap d(5, 4, clRed);
    d.Canvas().TileDraw({1, 1, 5, 4}, tile);
    EXPECT_EQ(Map(d, clWhite), (Rows{"ooooo", "o....", "o.#.#", "o...."}));
    d.Fill(clRed);
    d.Canvas().SetOrigin({1, 0});
    d.Canvas().Brush().SetBitmap(&tile);
    d.Canvas().FillRect({0, 0, 4, 2});
    EXPECT_EQ(Map(d, clWhite), (Rows{"o#.#.", "o....", "ooooo", "ooooo"}));
}

TEST(CanvasBitmaps, GreyedDrawingEmbossesTheShape)
{
    TBitmap icon(2, 1, clMagenta);
    icon.SetPixel(0, 0, clBlack);
    TBitmap d(4, 3, clBtnFace);
    gfx::DrawGreyed(d.Canvas(), 1, 1, icon);
    EXPECT_EQ(d.Pixel(1, 1), clBtnShadow);
    EXPECT_EQ(d.Pixel(2, 2), clBtnHighlight);
    EXPECT_EQ(d.Pixel(2, 1), clBtnFace);  // the mask pixel stays out
    gfx::DrawMasked(d.Canvas(), 0, 0, icon);
    EXPECT_EQ(d.Pixel(0, 0), clBlack);
    EXPECT_EQ(d.Pixel(1, 0), clBtnFace);
}

TEST(CanvasBitmaps, AlphaBitmapsGetOpaquePixels)
{
    TBitmap layer(2, 1, 0);
    layer.SetHasAlpha(true);
    layer.Canvas().Brush().SetColor(clRed);
    layer.Canvas().FillRect({0, 0, 1, 1});
    EXPECT_EQ(layer.Pixel(0, 0), 0xFF000000u | clRed);
    EXPECT_EQ(layer.Canvas().Pixel(0, 0), clRed);
    EXPECT_EQ(layer.Pixel(1, 0), 0u);
}

TEST(Bitmap, ResizeKeepsCommonAreaAndCopiesAreIndependent)
{
    TBitmap b(2, 2, clWhite);
    b.SetSize(3, 1);
    EXPECT_EQ(Map(b, clWhite), (Rows{"##."}));
    TBitmap copy = b;
    copy.Canvas().Brush().SetColor(clRed);
    copy.Canvas().FillRect({0, 0, 3, 1});
    EXPECT_EQ(b.Pixel(0, 0), clWhite);
    TBitmap moved = std::move(copy);
    EXPECT_EQ(moved.Pixel(2, 0), clRed);
    moved.Canvas().FillRect({0, 0, 1, 1});  // its own canvas draws on it
    EXPECT_EQ(moved.Width(), 3);
}
