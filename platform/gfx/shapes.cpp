#include "platform/gfx/internal/shapes.h"

#include <algorithm>
#include <cmath>

namespace gfx::internal {

std::vector<RowSpan> RoundRectSpans(const TRect& r, int w, int h)
{
    const int width = r.Width(), height = r.Height();
    std::vector<RowSpan> rows;
    if (width <= 0 || height <= 0) return rows;
    w = std::clamp(w, 0, width);
    h = std::clamp(h, 0, height);
    rows.assign(height, RowSpan{r.Left, r.Right});
    if (w < 2 || h < 2) return rows;
    const double rx = w / 2.0, ry = h / 2.0;
    // Only the top half is computed; the bottom half mirrors it.
    const int cornerRows = (h + 1) / 2;
    for (int i = 0; i < cornerRows && i < (height + 1) / 2; ++i) {
        const double dy = ry - (i + 0.5);  // distance of the row centre from the corner centre
        const double t = std::max(0.0, 1.0 - (dy * dy) / (ry * ry));
        const double inset = rx - rx * std::sqrt(t);
        int in = static_cast<int>(std::ceil(inset - 0.5));
        in = std::clamp(in, 0, (width - 1) / 2);
        rows[i] = {r.Left + in, r.Right - in};
        rows[height - 1 - i] = rows[i];
    }
    return rows;
}

}  // namespace gfx::internal
