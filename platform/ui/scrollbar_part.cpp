#include "platform/ui/scrollbar_part.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/ui/draw.h"

namespace ui {

void ScrollBarPart::SetRange(int min, int max, int page)
{
    min_ = min;
    max_ = std::max(min, max);
    page_ = std::max(1, page);
    SetPos(pos_);
}

int ScrollBarPart::MaxPos() const { return std::max(min_, max_ - page_ + 1); }

void ScrollBarPart::SetPos(int pos) { pos_ = std::clamp(pos, min_, MaxPos()); }

int ScrollBarPart::TrackLength() const
{
    int len = kind_ == sbVertical ? rect_.Height() : rect_.Width();
    return std::max(0, len - 2 * kSize);
}

TRect ScrollBarPart::ThumbRect() const
{
    int track = TrackLength();
    int range = max_ - min_ + 1;
    int thumb = range > 0 ? std::max(8, track * std::min(page_, range) / range) : track;
    thumb = std::min(thumb, track);
    int span = MaxPos() - min_;
    int offset = span > 0 ? (track - thumb) * (pos_ - min_) / span : 0;
    if (kind_ == sbVertical)
        return {rect_.Left, rect_.Top + kSize + offset, rect_.Right, rect_.Top + kSize + offset + thumb};
    return {rect_.Left + kSize + offset, rect_.Top, rect_.Left + kSize + offset + thumb, rect_.Bottom};
}

void ScrollBarPart::Paint(TCanvas& c) const
{
    if (rect_.IsEmpty()) return;
    c.Brush().SetColor(clScrollBar);
    c.FillRect(rect_);
    TRect a1, a2;
    if (kind_ == sbVertical) {
        a1 = {rect_.Left, rect_.Top, rect_.Right, rect_.Top + kSize};
        a2 = {rect_.Left, rect_.Bottom - kSize, rect_.Right, rect_.Bottom};
    } else {
        a1 = {rect_.Left, rect_.Top, rect_.Left + kSize, rect_.Bottom};
        a2 = {rect_.Right - kSize, rect_.Top, rect_.Right, rect_.Bottom};
    }
    DrawButtonFace(c, a1, false, false);
    DrawButtonFace(c, a2, false, false);
    // The arrows are grey while there is nothing to scroll.
    const bool scrolls = MaxPos() > min_;
    const TColor glyph = scrolls ? clBtnText : clGrayText;
    const bool vertical = kind_ == sbVertical;
    DrawArrow(c, a1, vertical ? ArrowDirection::Up : ArrowDirection::Left, glyph);
    DrawArrow(c, a2, vertical ? ArrowDirection::Down : ArrowDirection::Right, glyph);
    if (scrolls) DrawButtonFace(c, ThumbRect(), false, false);
}

bool ScrollBarPart::MouseDown(TPoint p, int line)
{
    if (!rect_.Contains(p)) return false;
    int old = pos_;
    int along = kind_ == sbVertical ? p.Y - rect_.Top : p.X - rect_.Left;
    int len = kind_ == sbVertical ? rect_.Height() : rect_.Width();
    TRect thumb = ThumbRect();
    if (along < kSize) {
        SetPos(pos_ - line);
    } else if (along >= len - kSize) {
        SetPos(pos_ + line);
    } else if (thumb.Contains(p)) {
        dragging_ = true;
        drag_offset_ = kind_ == sbVertical ? p.Y - thumb.Top : p.X - thumb.Left;
    } else {
        bool before = kind_ == sbVertical ? p.Y < thumb.Top : p.X < thumb.Left;
        SetPos(pos_ + (before ? -page_ : page_));
    }
    return pos_ != old;
}

bool ScrollBarPart::MouseMove(TPoint p)
{
    if (!dragging_) return false;
    int old = pos_;
    TRect thumb = ThumbRect();
    int thumb_len = kind_ == sbVertical ? thumb.Height() : thumb.Width();
    int free = TrackLength() - thumb_len;
    int at = (kind_ == sbVertical ? p.Y - rect_.Top : p.X - rect_.Left) - kSize - drag_offset_;
    int span = MaxPos() - min_;
    if (free > 0) SetPos(min_ + (at * span + free / 2) / free);
    return pos_ != old;
}

}  // namespace ui
