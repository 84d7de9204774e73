#pragma once
// The thumbnail strip's page arithmetic: seven photos to a page, page p
// (from 0) showing photos p * 7 + 1 to p * 7 + 7. The page buttons may
// leave the page index past the last page; PageInView says which page the
// strip actually shows then.
#include <array>

#include "platform/gfx/types.h"

namespace app {

inline constexpr int kPhotosPerPage = 7;

// The photo that slot `slot` (1 to 7) of page `page` shows.
constexpr int PhotoOnPage(int page, int slot) { return page * kPhotosPerPage + slot; }

// The last page that holds a photo; 0 without photos.
int LastPhotoPage(int photo_count);

// The page the strip shows for a page index: the index itself while it
// names a page with photos, otherwise the nearest such page (the last one
// after an overshoot, the first for an index below 0).
int PageInView(int page_index, int photo_count);

// What a page button does.
struct PageMove {
    bool acts = false;              // false without photos: nothing happens at all
    int page_index = 0;             // the page index afterwards
    bool shows_page = false;        // the strip loads page page_index
    const char* message = nullptr;  // "最后一页." or "第一页.", else none
};

// "下一页": the next page, or "最后一页." with the index left one past the
// last full page count (photo_count / 7 + 1) when there is none.
PageMove NextPage(int page_index, int photo_count);
// "上一页": an index past the end comes back to the last page first; below
// page 0 the index stays 0 with "第一页.". Exactly seven photos always
// count as being on the first page.
PageMove PreviousPage(int page_index, int photo_count);

// The bands that mark the selected slot's frame, in the strip's
// coordinates: above, below, left and right of it. They lie outside the
// frame, in the strip's margins and the gaps between frames, so that the
// thumbnail stays whole.
std::array<TRect, 4> SelectedSlotMarks(const TRect& frame);

}  // namespace app
