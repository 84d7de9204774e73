#pragma once
// gfx::Region: a set of pixels kept as y-x banded rectangles (bands of equal
// rows, each a sorted list of disjoint spans). Window shapes use it.
#include <vector>

#include "platform/gfx/types.h"

namespace gfx {

class Region {
public:
    Region() = default;
    explicit Region(const TRect& r);
    // A rectangle with elliptic corners of w x h, as the platform builds
    // round-rectangle regions: symmetric left/right and top/bottom.
    static Region RoundRect(const TRect& r, int w, int h);
    static Region Ellipse(const TRect& r);

    bool IsEmpty() const { return bands_.empty(); }
    bool Contains(int x, int y) const;
    bool Contains(TPoint p) const { return Contains(p.X, p.Y); }
    TRect Bounds() const;
    // The region as disjoint rectangles, top to bottom, left to right.
    std::vector<TRect> Rects() const;

    Region Union(const Region& o) const;
    Region Intersect(const Region& o) const;
    Region Subtract(const Region& o) const;
    Region Offset(int dx, int dy) const;
    Region& operator|=(const Region& o) { return *this = Union(o); }

    // Same pixel sets (the banded form is canonical).
    friend bool operator==(const Region&, const Region&) = default;

    struct Span {
        int left, right;
        friend bool operator==(const Span&, const Span&) = default;
    };
    struct Band {
        int top, bottom;
        std::vector<Span> spans;
        friend bool operator==(const Band&, const Band&) = default;
    };
    const std::vector<Band>& Bands() const { return bands_; }

private:
    std::vector<Band> bands_;
};

}  // namespace gfx
