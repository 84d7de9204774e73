#pragma once
// The geometry of a skinned form's frame: the client rectangle it proposes,
// the border width it reports (WM_SKIN_GETBORDERWIDTH), and the window
// regions (rounded corners for the built-in styles, or scanned from the
// skin's title strip and bottom edge). Pure functions, no window.
#include "platform/gfx/bitmap.h"
#include "platform/gfx/region.h"
#include "platform/gfx/types.h"

namespace skin {

// The frame the platform keeps round a skinned host after its caption is
// gone: a dialog frame of this width on every side.
inline constexpr int kHostDialogFrame = 3;

// The answer to WM_SKIN_GETBORDERWIDTH for a left skin border of `left`
// pixels: 0 without a skin border, else at least 4.
int SkinBorderWidthAnswer(int left);

// The client rectangle a skinned host proposes for the window rectangle
// `window` (before the host's own frame is taken off): side borders left /
// right, bottom border height `bottom` (0 in the built-in styles) and
// BorderWidth `borderWidth`.
TRect SkinClientProposal(const TRect& window, int left, int right, int bottom, int borderWidth);

// The frame insets of a skinned host window: the proposal above, then the
// host's dialog frame taken off each side.
TRect SkinFrameInsets(int width, int height, int left, int right, int bottom, int borderWidth);

// The built-in styles' window shape: the upper half a round rectangle with
// corners of `roundCorner`, the lower half one with `roundCornerBottom`
// (-1 counts as 0), the corners where the halves meet squared.
gfx::Region BuiltInWindowRegion(int width, int height, int roundCorner, int roundCornerBottom);

// The region of a skin-file window. Rows of the title strip from minY (-1
// counts as 0) to maxY (or to the strip's end when minY >= maxY) keep only
// their runs of non-transparent pixels; the rows around them are whole.
// The bottom bitmap is scanned the same way at the window's bottom. A part
// that needs no region (or has no bitmap) takes no rows of its own.
struct RegionScan {
    const TBitmap* title = nullptr;
    const TBitmap* bottom = nullptr;
    bool titleNeedsRegion = false;
    bool bottomNeedsRegion = false;
    int titleMinY = 0, titleMaxY = 0;
    int bottomMinY = 0, bottomMaxY = 0;
    TColor transparent = clMagenta;
};
gfx::Region CreateRegionFromBitmaps(const RegionScan& scan, int height, int width);

}  // namespace skin
