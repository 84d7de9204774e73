// The shared drawing routines: strips cut into cells, slices, tiles,
// rotation, recolouring, frames and the geometry helpers.
#include <gtest/gtest.h>

#include "platform/core/application.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "skin/kiv_form.h"
#include "skin/kiv_public.h"
#include "tests/skin/pixel_rows.h"

namespace {

using skintest::Picture;
using skintest::Rows;
using Grid = std::vector<std::string>;

TEST(SkinDrawing, CutBitmapCellTakesEqualCellsAndTheRightmostLast)
{
    const TBitmap strip = Picture({"abcdefghij", "ABCDEFGHIJ"});
    struct Case {
        int count, index;
        Grid expected;
    } cases[] = {
        {3, 1, {"abc", "ABC"}},
        {3, 2, {"def", "DEF"}},
        {3, 3, {"hij", "HIJ"}},  // the remainder is dropped left of the last cell
        {1, 1, {"abcdefghij", "ABCDEFGHIJ"}},
        {10, 10, {"j", "J"}},
    };
    for (const Case& c : cases) {
        TBitmap cell;
        skin::CutBitmapCell(strip, cell, c.count, c.index);
        EXPECT_EQ(Rows(cell), c.expected) << c.count << " cells, cell " << c.index;
    }
}

TEST(SkinDrawing, CutBitmapCellOutOfRangeLeavesTheDestinationEmpty)
{
    const TBitmap strip = Picture({"abcdefghij"});
    for (auto [count, index] : {std::pair{0, 1}, {3, 0}, {3, 4}, {-2, 1}, {11, 1}}) {
        TBitmap cell(4, 4);
        skin::CutBitmapCell(strip, cell, count, index);
        EXPECT_TRUE(cell.Empty()) << count << " cells, cell " << index;
    }
    TBitmap cell(4, 4);
    skin::CutBitmapCell(TBitmap(), cell, 3, 1);
    EXPECT_TRUE(cell.Empty());
}

TEST(SkinDrawing, PointInRectCountsEveryEdgeAsInside)
{
    const TRect r{2, 3, 6, 8};
    for (TPoint p : {TPoint{2, 3}, TPoint{6, 8}, TPoint{6, 3}, TPoint{2, 8}, TPoint{4, 5}})
        EXPECT_TRUE(skin::PointInRect(p, r)) << p.X << "," << p.Y;
    for (TPoint p : {TPoint{1, 3}, TPoint{7, 8}, TPoint{4, 2}, TPoint{4, 9}})
        EXPECT_FALSE(skin::CoordInRect(p.X, p.Y, r)) << p.X << "," << p.Y;
}

TEST(SkinDrawing, TilePictureRepeatsFromTheOriginAndStaysInsideTheRect)
{
    const TBitmap tile = Picture({"ab", "cd"});
    TBitmap target(7, 5, clWhite);
    skin::TilePicture(target.Canvas(), tile, {1, 1, 6, 4});
    EXPECT_EQ(Rows(target), (Grid{
                                "wwwwwww",
                                "wdcdcdw",
                                "wbabab"
                                "w",
                                "wdcdcdw",
                                "wwwwwww",
                            }));
    // An empty picture draws nothing.
    skin::TilePicture(target.Canvas(), TBitmap(), {0, 0, 7, 5});
    EXPECT_EQ(Rows(target)[0], "wwwwwww");
}

TEST(SkinDrawing, ThreeSliceDrawsEndsAndStretchesTheMiddleOverTheFill)
{
    const TBitmap strip =
        Picture({"Mab"
                 "MMM"
                 "baM",
                 "aab"
                 "ccc"
                 "baa"});
    const TColor fill = skintest::ColourOf('f');
    struct Case {
        const char* what;
        int width;
        bool cornerFromTop, useCorner;
        Grid expected;
    } cases[] = {
        {"magenta mask",
         8,
         true,
         false,
         {"wab"
          "ff"
          "baw",
          "aab"
          "cc"
          "baa"}},
        {"top corner is magenta too",
         8,
         true,
         true,
         {"wab"
          "ff"
          "baw",
          "aab"
          "cc"
          "baa"}},
        {"bottom corner colour as mask",
         8,
         false,
         true,
         {"Mwb"
          "MM"
          "bwM",
          "wwb"
          "cc"
          "bww"}},
        {"narrower than a cell: the left end cut",
         2,
         true,
         false,
         {"wa"
          "wwwwww",
          "aa"
          "wwwwww"}},
    };
    for (const Case& c : cases) {
        TBitmap target(8, 2, clWhite);
        skin::DrawThreeSliceBitmap(strip, target.Canvas(), {0, 0, c.width, 2}, c.cornerFromTop, fill,
                                   c.useCorner);
        EXPECT_EQ(Rows(target), c.expected) << c.what;
    }
}

TEST(SkinDrawing, ThreeSliceMaskedKeepsTheStripHeightAndItsOwnMask)
{
    const TBitmap strip =
        Picture({"aMb"
                 "ccc"
                 "bMa"});
    TBitmap target(7, 2, clWhite);
    skin::DrawThreeSliceBitmapMasked(strip, target.Canvas(), {0, 0, 7, 2}, clMagenta, true);
    EXPECT_EQ(Rows(target), (Grid{"awb"
                                  "c"
                                  "bwa",
                                  "wwwwwww"}));
    skin::DrawThreeSliceBitmapMasked(strip, target.Canvas(), {0, 0, 7, 2}, clMagenta, false);
    EXPECT_EQ(Rows(target)[0], "aMbcbMa");
}

TEST(SkinDrawing, NineSliceKeepsCornersAndStretchesTheMiddleBands)
{
    // Corners 2x2 (a b / c d quadrants), edge bands e f g h, centre x.
    const TBitmap bitmap = Picture({
        "aaebb",
        "aMebb",
        "gg"
        "x"
        "hh",
        "ccfdd",
        "ccfdM",
    });
    TBitmap target(7, 6, clWhite);
    skin::DrawNineSliceBitmap(bitmap, target.Canvas(), {0, 0, 7, 6}, true);
    EXPECT_EQ(Rows(target), (Grid{
                                "aaeeebb",
                                "awe"
                                "ee"
                                "bb",
                                "ggxxxhh",
                                "ggxxxhh",
                                "ccfffdd",
                                "ccfffdw",
                            }));
    // Unmasked corners show their magenta; a rect smaller than the corners
    // shows their outer parts.
    TBitmap small(3, 3, clWhite);
    skin::DrawNineSliceBitmap(bitmap, small.Canvas(), {0, 0, 3, 3}, false);
    EXPECT_EQ(Rows(small), (Grid{"aeb", "gxh", "cfM"}));
    TBitmap tiny(2, 2, clWhite);
    skin::DrawNineSliceBitmap(bitmap, tiny.Canvas(), {0, 0, 2, 2}, false);
    EXPECT_EQ(Rows(tiny), (Grid{"ab", "cM"}));
}

TEST(SkinDrawing, NineSliceOfAnEvenBitmapUsesTheTwoMiddleColumns)
{
    const TBitmap bitmap = Picture({
        "abcd",
        "efgh",
        "ijkl",
        "mnop",
    });
    TBitmap target(6, 4, clWhite);
    skin::DrawNineSliceBitmap(bitmap, target.Canvas(), {0, 0, 6, 4}, false);
    const Grid rows = Rows(target);
    EXPECT_EQ(rows[0].substr(0, 2), "ab");
    EXPECT_EQ(rows[0].substr(4), "cd");
    EXPECT_EQ(rows[3].substr(0, 2), "mn");
    EXPECT_EQ(rows[3].substr(4), "op");
    for (char c : rows[0].substr(2, 2)) EXPECT_TRUE(c == 'b' || c == 'c') << rows[0];
}

TEST(SkinDrawing, RotationsTurnTheWholeBitmap)
{
    const TBitmap source = Picture({"abc", "def"});
    TBitmap left = source, right = source, half = source;
    skin::RotateBitmapLeft(left);
    skin::RotateBitmapRight(right);
    skin::RotateBitmap180(half);
    EXPECT_EQ(Rows(left), (Grid{"cf", "be", "ad"}));
    EXPECT_EQ(Rows(right), (Grid{"da", "eb", "fc"}));
    EXPECT_EQ(Rows(half), (Grid{"fed", "cba"}));
    skin::RotateBitmapRight(left);
    EXPECT_EQ(Rows(left), Rows(source));
}

TEST(SkinDrawing, ReplaceBitmapColorChangesOnlyThatColour)
{
    TBitmap b = Picture({"aMb", "MMa"});
    skin::ReplaceBitmapColor(b, clMagenta, clWhite);
    EXPECT_EQ(Rows(b), (Grid{"awb", "wwa"}));
    EXPECT_EQ(b.PixelFormat(), pf24bit);
}

TEST(SkinDrawing, ControlBorderFramesTheWholeControl)
{
    core::TestApplication app;
    ui::Headless();
    TControl control;
    control.SetBounds(0, 0, 5, 4);
    TBitmap target(5, 4, clWhite);
    skin::DrawControlBorder(target.Canvas(), control, skintest::ColourOf('a'), skintest::ColourOf('b'), true);
    EXPECT_EQ(Rows(target), (Grid{"aaaaa", "abbba", "abbba", "aaaaa"}));
    skin::DrawControlBorder(target.Canvas(), control, skintest::ColourOf('c'), clBlack, false);
    EXPECT_EQ(Rows(target), (Grid{"ccccc", "cbbbc", "cbbbc", "ccccc"}));
}

TEST(SkinDrawing, ParentBackgroundLandsBehindTheControl)
{
    core::TestApplication app;
    ui::Headless();
    TkivForm parent;  // fills itself with its colour below its caption strip
    parent.SetBounds(0, 0, 40, 40);
    parent.SetColor(skintest::ColourOf('p'));
    TCustomControl child;
    child.SetParent(&parent);
    child.SetBounds(5, TkivForm::kCaptionHeight + 2, 4, 3);
    TBitmap target(4, 3, clWhite);
    skin::DrawParentBackground(target.Canvas(), child);
    EXPECT_EQ(Rows(target), (Grid{"pppp", "pppp", "pppp"}));
    TCustomControl orphan;
    orphan.SetBounds(0, 0, 4, 3);
    TBitmap untouched(4, 3, clWhite);
    skin::DrawParentBackground(untouched.Canvas(), orphan);
    EXPECT_EQ(Rows(untouched)[0], "wwww");
    child.SetParent(nullptr);
}

TEST(SkinDrawing, GeometryHelpersSetBoundsFromRects)
{
    core::TestApplication app;
    ui::Headless();
    TControl control;
    skin::SetControlBounds(control, {10, 20, 40, 35});
    EXPECT_EQ(control.BoundsRect(), (TRect{10, 20, 40, 35}));
    skin::SetControlPos(control, {1, 2});
    EXPECT_EQ(control.BoundsRect(), (TRect{1, 2, 31, 17}));
    EXPECT_EQ(skin::GetWorkAreaRect(), Screen().WorkAreaRect());
}

TEST(SkinDrawing, WinXPVersionRule)
{
    struct Case {
        int major, minor;
        bool nt, expected;
    } cases[] = {
        {5, 1, true, true},  {5, 2, true, true},   {6, 1, true, true},   {5, 0, true, false},
        {6, 0, true, false}, {4, 10, true, false}, {5, 1, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(skin::IsWinXPVersion(c.major, c.minor, c.nt), c.expected) << c.major << "." << c.minor;
}

}  // namespace
