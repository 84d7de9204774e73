#include <gtest/gtest.h>

#include <numbers>

#include "platform/gfx/gfx.h"
#include "tests/gfx/gfx_test_util.h"

using gfx::BlendOptions;

namespace {

TBitmap Gradient(int w, int h)
{
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.ScanLine(y)[x] = gfx::RGB(x * 255 / std::max(1, w - 1), y * 255 / std::max(1, h - 1), 77);
    return b;
}

int MaxDiff(TColor a, TColor b)
{
    return std::max({std::abs(gfx::GetRValue(a) - gfx::GetRValue(b)),
                     std::abs(gfx::GetGValue(a) - gfx::GetGValue(b)),
                     std::abs(gfx::GetBValue(a) - gfx::GetBValue(b))});
}

}  // namespace

TEST(DrawScaled, SameSizeOpaqueIsAnExactCopy)
{
    const TBitmap src = Gradient(13, 7);
    TBitmap dst(20, 10, clBlack);
    gfx::DrawScaled(dst, Bounds(3, 2, 13, 7), src, src.BoundsRect());
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) ASSERT_EQ(dst.Pixel(x + 3, y + 2), src.Pixel(x, y)) << x << "," << y;
    EXPECT_EQ(dst.Pixel(2, 2), clBlack);
    EXPECT_EQ(dst.Pixel(16, 2), clBlack);
}

TEST(DrawScaled, GlobalAndPerPixelAlphaBlend)
{
    TBitmap src(4, 4, clWhite);
    TBitmap dst(4, 4, clBlack);
    BlendOptions half;
    half.alpha = 128;
    gfx::DrawScaled(dst, dst.BoundsRect(), src, src.BoundsRect(), half);
    EXPECT_NEAR(gfx::GetRValue(dst.Pixel(1, 1)), 128, 1);
    BlendOptions none;
    none.alpha = 0;
    dst.Fill(clBlack);
    gfx::DrawScaled(dst, dst.BoundsRect(), src, src.BoundsRect(), none);
    EXPECT_EQ(dst.Pixel(1, 1), clBlack);

    // Per-pixel alpha: the left half transparent, the right half opaque red.
    TBitmap layer(4, 4, 0);
    layer.SetHasAlpha(true);
    for (int y = 0; y < 4; ++y)
        for (int x = 2; x < 4; ++x) layer.ScanLine(y)[x] = 0xFF000000u | clRed;
    dst.Fill(clBlue);
    gfx::DrawScaled(dst, dst.BoundsRect(), layer, layer.BoundsRect());
    EXPECT_EQ(dst.Pixel(0, 0), clBlue);
    EXPECT_EQ(dst.Pixel(3, 3), clRed);
    // Scaled up, the transparent pixels' colour (black) never darkens the edge:
    // premultiplied sampling gives only mixes of red and blue.
    TBitmap big(16, 4, clBlue);
    gfx::DrawScaled(big, big.BoundsRect(), layer, layer.BoundsRect());
    for (int x = 0; x < 16; ++x) {
        const TColor p = big.Pixel(x, 1);
        EXPECT_EQ(gfx::GetGValue(p), 0);
        EXPECT_NEAR(gfx::GetRValue(p) + gfx::GetBValue(p), 255, 2) << x;
    }
    // The source alpha can be ignored on request.
    BlendOptions opaque;
    opaque.sourceAlpha = false;
    dst.Fill(clBlue);
    gfx::DrawScaled(dst, dst.BoundsRect(), layer, layer.BoundsRect(), opaque);
    EXPECT_EQ(dst.Pixel(0, 0), clBlack);
}

TEST(DrawScaled, ClipAndScaleKeepEdgesClean)
{
    const TBitmap src = Gradient(10, 10);
    TBitmap dst(30, 30, clMagenta);
    BlendOptions o;
    o.clip = TRect{5, 5, 25, 25};
    gfx::DrawScaled(dst, dst.BoundsRect(), src, src.BoundsRect(), o);
    EXPECT_EQ(dst.Pixel(4, 10), clMagenta);
    EXPECT_EQ(dst.Pixel(25, 10), clMagenta);
    EXPECT_NE(dst.Pixel(5, 10), clMagenta);
    // Samples stay inside srcRect: a sub-rectangle scaled up shows only its own colours.
    TBitmap two(2, 1, clRed);
    two.SetPixel(1, 0, clGreen);
    TBitmap out(8, 1, clBlack);
    gfx::DrawScaled(out, out.BoundsRect(), two, {0, 0, 1, 1});
    for (int x = 0; x < 8; ++x) EXPECT_EQ(out.Pixel(x, 0), clRed);
}

TEST(DrawTransformed, IdentityAndTranslationCopy)
{
    const TBitmap src = Gradient(8, 6);
    TBitmap dst(12, 10, clBlack);
    gfx::DrawTransformed(dst, src, gfx::Affine::Translate(2, 3));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(dst.Pixel(x + 2, y + 3), src.Pixel(x, y));
    EXPECT_EQ(dst.Pixel(1, 3), clBlack);
    EXPECT_EQ(dst.Pixel(10, 3), clBlack);
}

TEST(DrawTransformed, RotationMapsCornersAndRespectsClip)
{
    // A quarter turn about the centre of a 9x9 square: the top-left marker
    // (red) goes to the bottom-left when turning counter-clockwise on screen.
    TBitmap src(9, 9, clWhite);
    src.Canvas().Brush().SetColor(clRed);
    src.Canvas().FillRect({0, 0, 3, 3});
    TBitmap dst(9, 9, clBlack);
    const gfx::Affine m = gfx::Affine::Translate(4.5, 4.5) * gfx::Affine::Rotate(std::numbers::pi / 2) *
                          gfx::Affine::Translate(-4.5, -4.5);
    gfx::DrawTransformed(dst, src, m);
    EXPECT_LE(MaxDiff(dst.Pixel(1, 7), clRed), 2);
    EXPECT_LE(MaxDiff(dst.Pixel(7, 1), clWhite), 2);
    EXPECT_LE(MaxDiff(dst.Pixel(1, 1), clWhite), 2);
    // Clipped, with half alpha.
    TBitmap clipped(9, 9, clBlack);
    BlendOptions o;
    o.clip = TRect{0, 0, 4, 9};
    o.alpha = 128;
    gfx::DrawTransformed(clipped, src, m, o);
    EXPECT_EQ(clipped.Pixel(6, 4), clBlack);
    EXPECT_NEAR(gfx::GetGValue(clipped.Pixel(3, 1)), 128, 2);
    // A singular map draws nothing.
    TBitmap flat(9, 9, clBlack);
    gfx::DrawTransformed(flat, src, gfx::Affine::Scale(0, 1));
    EXPECT_EQ(gfx_test::Count(flat, clBlack), 81);
}

TEST(DrawTransformed, EdgesAreAntiAliasedAgainstTheDestination)
{
    TBitmap src(4, 4, clWhite);
    TBitmap dst(10, 10, clBlack);
    gfx::DrawTransformed(dst, src, gfx::Affine::Translate(3.5, 3));
    // Half a pixel off: the edge columns are half covered.
    EXPECT_NEAR(gfx::GetRValue(dst.Pixel(3, 4)), 128, 3);
    EXPECT_EQ(dst.Pixel(4, 4), clWhite);
    EXPECT_NEAR(gfx::GetRValue(dst.Pixel(7, 4)), 128, 3);
    EXPECT_EQ(dst.Pixel(2, 4), clBlack);
}
