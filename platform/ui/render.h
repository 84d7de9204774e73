#pragma once
// Composition of a control tree into one picture.
#include "platform/gfx/bitmap.h"

class TControl;

namespace ui {
// Renders the control and its visible children into `picture` (the
// control's size), which holds what lies behind the control. Only the
// pixels inside clip change, and only what reaches into it is painted.
void RenderControl(TControl& control, TBitmap& picture, const TRect& clip);
// Copies src's rectangle r to dst at (dx, dy), clipped to both bitmaps.
void CopyBitmapRect(const TBitmap& src, const TRect& r, TBitmap& dst, int dx, int dy);
}  // namespace ui
