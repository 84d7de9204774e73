#include "app/photo_pages.h"

#include <algorithm>

namespace app {

int LastPhotoPage(int photo_count)
{
    if (photo_count <= 0) return 0;
    return (photo_count - 1) / kPhotosPerPage;
}

int PageInView(int page_index, int photo_count)
{
    return std::clamp(page_index, 0, LastPhotoPage(photo_count));
}

PageMove NextPage(int page_index, int photo_count)
{
    PageMove move;
    if (photo_count <= 0) {
        move.page_index = page_index;
        return move;
    }
    move.acts = true;
    const int full = photo_count / kPhotosPerPage;
    const int rest = photo_count % kPhotosPerPage;
    const int next = page_index + 1;
    if (next < full || (next == full && rest != 0)) {
        move.page_index = next;
        move.shows_page = true;
    } else {
        move.page_index = full + 1;
        move.message = "最后一页.";
    }
    return move;
}

PageMove PreviousPage(int page_index, int photo_count)
{
    PageMove move;
    if (photo_count <= 0) {
        move.page_index = page_index;
        return move;
    }
    move.acts = true;
    const int full = photo_count / kPhotosPerPage;
    const int rest = photo_count % kPhotosPerPage;
    int index = page_index;
    if (full == 1 && rest == 0) index = 0;
    if (full < index) index = full;
    --index;
    if (index < 0) {
        move.page_index = 0;
        move.message = "第一页.";
    } else {
        move.page_index = index;
        move.shows_page = true;
    }
    return move;
}

std::array<TRect, 4> SelectedSlotMarks(const TRect& f)
{
    // The frames stand one pixel apart with more room above and below.
    return {TRect(f.Left - 1, f.Top - 3, f.Right + 1, f.Top),
            TRect(f.Left - 1, f.Bottom, f.Right + 1, f.Bottom + 2),
            TRect(f.Left - 1, f.Top, f.Left, f.Bottom), TRect(f.Right, f.Top, f.Right + 1, f.Bottom)};
}

}  // namespace app
