#include "platform/gfx/region.h"

namespace gfx {
Region::Region(const TRect& r) { if (!r.IsEmpty()) bands_.push_back({r.Top, r.Bottom, {{r.Left, r.Right}}}); }
Region Region::RoundRect(const TRect& r, int, int) { return Region(r); }
Region Region::Ellipse(const TRect& r) { return Region(r); }
bool Region::Contains(int, int) const { return false; }
TRect Region::Bounds() const { return {}; }
std::vector<TRect> Region::Rects() const { return {}; }
Region Region::Union(const Region& o) const { return o; }
Region Region::Intersect(const Region& o) const { return o; }
Region Region::Subtract(const Region&) const { return *this; }
Region Region::Offset(int, int) const { return *this; }
}  // namespace gfx
