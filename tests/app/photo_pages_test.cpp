#include "app/photo_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace app {
namespace {

std::string Text(const char* message) { return message ? message : ""; }

TEST(PageInView, StaysOnAPageThatHoldsPhotos)
{
    struct Case {
        int index, photos, expected;
    };
    const Case cases[] = {
        {0, 10, 0}, {1, 10, 1}, {2, 10, 1},  // overshoot past photos 8 to 10
        {1, 14, 1}, {2, 14, 1}, {3, 14, 1},  // 14 photos: pages 0 and 1 only
        {0, 7, 0},  {2, 7, 0},  {4, 15, 2}, {-1, 10, 0}, {3, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PageInView(c.index, c.photos), c.expected) << c.index << " of " << c.photos;
    EXPECT_EQ(PhotoOnPage(PageInView(3, 14), 2), 9);
}

TEST(PageButtons, WalkThePagesAndStopAtBothEnds)
{
    struct Step {
        bool next;  // "下一页", else "上一页"
        int index_after;
        bool shows;
        const char* message;
    };
    struct Walk {
        int photos, start;
        std::vector<Step> steps;
    };
    const Walk walks[] = {
        // 10 photos: page 1, then past it, then back to page 0.
        {10, 0, {{true, 1, true, nullptr}, {true, 2, false, "最后一页."}, {false, 0, true, nullptr}}},
        // 14 photos on page 1: the overshoot to 3, then pages 1 and 0.
        {14,
         1,
         {{true, 3, false, "最后一页."},
          {false, 1, true, nullptr},
          {false, 0, true, nullptr},
          {false, 0, false, "第一页."}}},
        // Exactly seven photos always count as the first page.
        {7, 0, {{true, 2, false, "最后一页."}, {false, 0, false, "第一页."}}},
        {3, 0, {{true, 1, false, "最后一页."}, {false, 0, false, "第一页."}}},
        {15,
         0,
         {{true, 1, true, nullptr},
          {true, 2, true, nullptr},
          {true, 3, false, "最后一页."},
          {false, 1, true, nullptr}}},
    };
    for (const Walk& walk : walks) {
        int index = walk.start;
        for (size_t i = 0; i < walk.steps.size(); ++i) {
            const Step& step = walk.steps[i];
            const PageMove move = step.next ? NextPage(index, walk.photos) : PreviousPage(index, walk.photos);
            EXPECT_TRUE(move.acts);
            EXPECT_EQ(move.page_index, step.index_after) << walk.photos << " photos, step " << i;
            EXPECT_EQ(move.shows_page, step.shows) << walk.photos << " photos, step " << i;
            EXPECT_EQ(Text(move.message), Text(step.message)) << walk.photos << " photos, step " << i;
            // Whatever page is loaded holds photos.
            if (move.shows_page) {
                EXPECT_EQ(PageInView(move.page_index, walk.photos), move.page_index);
            }
            index = move.page_index;
        }
    }
}

TEST(PageButtons, DoNothingWithoutPhotos)
{
    for (int index : {0, 3}) {
        for (const PageMove& move : {NextPage(index, 0), PreviousPage(index, 0)}) {
            EXPECT_FALSE(move.acts);
            EXPECT_EQ(move.page_index, index);
            EXPECT_FALSE(move.shows_page);
            EXPECT_EQ(move.message, nullptr);
        }
    }
}

TEST(SelectedSlotMarks, SurroundTheFrameWithoutTouchingAnyThumbnail)
{
    // The strip's seven frames, 92 x 67, one pixel apart, 20 from the top.
    std::vector<TRect> frames;
    for (int i = 0; i < 7; ++i) frames.push_back(TRect(2 + i * 93, 20, 2 + i * 93 + 92, 87));
    EXPECT_EQ(SelectedSlotMarks(frames[1]),
              (std::array<TRect, 4>{TRect(94, 17, 188, 20), TRect(94, 87, 188, 89), TRect(94, 20, 95, 87),
                                    TRect(187, 20, 188, 87)}));
    auto overlaps = [](const TRect& a, const TRect& b) {
        return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
    };
    for (const TRect& marked : frames) {
        int around = 0;
        for (const TRect& band : SelectedSlotMarks(marked)) {
            EXPECT_FALSE(band.IsEmpty());
            for (const TRect& frame : frames)
                EXPECT_FALSE(overlaps(band, frame)) << marked.Left << " " << frame.Left;
            around += overlaps(band, marked.Inflate(1, 3));
        }
        EXPECT_EQ(around, 4) << "every band touches the frame it marks";
    }
}

}  // namespace
}  // namespace app
