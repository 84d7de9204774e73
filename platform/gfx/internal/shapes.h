#pragma once
// Scanline geometry shared by the canvas and regions, so that a drawn
// round rectangle and a round-rectangle region cover the same pixels.
#include <vector>

#include "platform/gfx/types.h"

namespace gfx::internal {

// For each row of r (top to bottom), the span [left, right) that the
// rectangle with elliptic corners of w x h covers. Rows and columns mirror
// exactly: row i and row (height-1-i) have the same span, and each span is
// centred in r.
struct RowSpan {
    int left, right;
};
std::vector<RowSpan> RoundRectSpans(const TRect& r, int w, int h);

}  // namespace gfx::internal
