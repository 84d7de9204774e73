// The skinned frame's geometry: the border-width answer, the client
// proposal and the window regions, without a window.
#include <gtest/gtest.h>

#include "skin/kiv_form_border.h"
#include "tests/skin/pixel_rows.h"

namespace {

using skintest::Picture;

TEST(FormBorder, TheBorderWidthAnswerIsAtLeastFourOnceThereIsASkinBorder)
{
    const struct {
        int left, answer;
    } cases[] = {{0, 0}, {1, 4}, {2, 4}, {4, 4}, {7, 7}};
    for (const auto& c : cases) EXPECT_EQ(skin::SkinBorderWidthAnswer(c.left), c.answer) << c.left;
}

TEST(FormBorder, ClientProposalFollowsTheBordersAndTheBorderWidth)
{
    const TRect window{10, 20, 310, 220};
    const struct {
        int left, right, bottom, borderWidth;
        TRect expected;
    } cases[] = {
        // Built-in styles: no side borders; a border of 1 leaves a row
        // under the window, 3 reaches the bottom exactly.
        {0, 0, 0, 1, {10, 20, 310, 221}},
        {0, 0, 0, 3, {10, 20, 310, 220}},
        {0, 0, 0, 5, {10, 20, 310, 217}},
        // Skin borders: each at least 4 wide, 3 of it the host's frame.
        {2, 2, 2, 1, {11, 20, 309, 219}},
        {6, 5, 8, 1, {13, 20, 308, 215}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(skin::SkinClientProposal(window, c.left, c.right, c.bottom, c.borderWidth), c.expected)
            << c.left << " " << c.right << " " << c.bottom << " " << c.borderWidth;
    // With the host's dialog frame taken off, never a negative inset.
    EXPECT_EQ(skin::SkinFrameInsets(300, 200, 0, 0, 0, 1), (TRect{3, 3, 3, 2}));
    EXPECT_EQ(skin::SkinFrameInsets(300, 200, 3, 3, 3, 1), (TRect{4, 3, 4, 4}));
}

TEST(FormBorder, ScannedRowsKeepOnlyTheirOpaqueRuns)
{
    // Row 0 is outside the scan (min 1) and whole; row 1 is all
    // transparent; row 2 has two runs; row 3 none transparent; row 4 lies
    // below the scan (max 3) and is whole.
    const TBitmap title = Picture({
        "MMMMMMMM",
        "MMMMMMMM",
        "M..MM.MM",
        "aaaaaaaa",
        "MMMMMMMM",
    });
    skin::RegionScan scan;
    scan.title = &title;
    scan.titleNeedsRegion = true;
    scan.titleMinY = 1;
    scan.titleMaxY = 3;
    const gfx::Region r = skin::CreateRegionFromBitmaps(scan, 12, 8);
    EXPECT_EQ(r.Intersect(gfx::Region(TRect{0, 0, 8, 1})), gfx::Region(TRect{0, 0, 8, 1}));
    EXPECT_TRUE(r.Intersect(gfx::Region(TRect{0, 1, 8, 2})).IsEmpty());
    gfx::Region row2(TRect{1, 2, 3, 3});
    row2 |= gfx::Region(TRect{5, 2, 6, 3});
    EXPECT_EQ(r.Intersect(gfx::Region(TRect{0, 2, 8, 3})), row2);
    EXPECT_EQ(r.Intersect(gfx::Region(TRect{0, 3, 8, 4})), gfx::Region(TRect{0, 3, 8, 4}));
    // Below the strip the middle of the window is whole to the bottom.
    EXPECT_EQ(r.Intersect(gfx::Region(TRect{0, 4, 8, 12})), gfx::Region(TRect{0, 4, 8, 12}));
}

TEST(FormBorder, TheBottomEdgeIsScannedAtTheWindowsBottom)
{
    const TBitmap bottom = Picture({
        "..MM",
        "M..M",
    });
    skin::RegionScan scan;
    scan.bottom = &bottom;
    scan.bottomNeedsRegion = true;
    scan.bottomMinY = -1;  // counts as 0
    scan.bottomMaxY = -1;  // min >= max: to the bitmap's end
    const gfx::Region r = skin::CreateRegionFromBitmaps(scan, 10, 4);
    gfx::Region expected(TRect{0, 0, 4, 8});
    expected |= gfx::Region(TRect{0, 8, 2, 9});
    expected |= gfx::Region(TRect{1, 9, 3, 10});
    EXPECT_EQ(r, expected);
}

TEST(FormBorder, ScanBoundsPastTheBitmapStayInsideIt)
{
    // A skin's bounds may name rows the strip does not have.
    const TBitmap title = Picture({"M..M", "MMMM"});
    skin::RegionScan scan;
    scan.title = &title;
    scan.titleNeedsRegion = true;
    scan.titleMinY = 0;
    scan.titleMaxY = 40;
    gfx::Region expected(TRect{1, 0, 3, 1});
    expected |= gfx::Region(TRect{0, 2, 4, 6});
    EXPECT_EQ(skin::CreateRegionFromBitmaps(scan, 6, 4), expected);
    // Rows above a minimum past the end are all whole.
    scan.titleMinY = 30;
    EXPECT_EQ(skin::CreateRegionFromBitmaps(scan, 6, 4), gfx::Region(TRect{0, 0, 4, 6}));
    // A window narrower than the strip scans only its own width.
    scan.titleMinY = 0;
    EXPECT_EQ(skin::CreateRegionFromBitmaps(scan, 6, 2),
              gfx::Region(TRect{1, 0, 2, 1}).Union(gfx::Region(TRect{0, 2, 2, 6})));
}

TEST(FormBorder, WithoutRegionSwitchesTheWindowIsARectangle)
{
    const TBitmap title = Picture({"MMMM", "MMMM"});
    skin::RegionScan scan;
    scan.title = &title;
    scan.bottom = &title;
    EXPECT_EQ(skin::CreateRegionFromBitmaps(scan, 30, 4), gfx::Region(TRect{0, 0, 4, 30}));
}

TEST(FormBorder, BuiltInRegionRoundsTheCornersAsAsked)
{
    const gfx::Region round = skin::BuiltInWindowRegion(200, 100, 11, 0);
    EXPECT_FALSE(round.Contains(0, 0));
    EXPECT_FALSE(round.Contains(199, 0));
    EXPECT_TRUE(round.Contains(100, 0));
    // The lower corners stay square.
    EXPECT_TRUE(round.Contains(0, 99));
    EXPECT_TRUE(round.Contains(199, 99));
    EXPECT_EQ(round.Bounds(), (TRect{0, 0, 200, 100}));

    const gfx::Region both = skin::BuiltInWindowRegion(200, 100, 11, 11);
    EXPECT_FALSE(both.Contains(0, 99));
    EXPECT_TRUE(both.Contains(0, 50));

    // No corners (or -1 at the bottom): the plain rectangle.
    EXPECT_EQ(skin::BuiltInWindowRegion(200, 100, 0, -1), gfx::Region(TRect{0, 0, 200, 100}));
}

}  // namespace
