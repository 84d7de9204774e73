#include "platform/gfx/region.h"

#include <algorithm>

#include "platform/gfx/internal/shapes.h"

namespace gfx {
namespace {

using Spans = std::vector<Region::Span>;

// The spans of a band at row y, or none.
const Spans* SpansAt(const std::vector<Region::Band>& bands, int y)
{
    for (const auto& b : bands) {
        if (y < b.top) return nullptr;
        if (y < b.bottom) return &b.spans;
    }
    return nullptr;
}

template <class Op>
Spans Combine(const Spans* a, const Spans* b, Op op)
{
    static const Spans kNone;
    if (!a) a = &kNone;
    if (!b) b = &kNone;
    std::vector<int> xs;
    for (const auto& s : *a) {
        xs.push_back(s.left);
        xs.push_back(s.right);
    }
    for (const auto& s : *b) {
        xs.push_back(s.left);
        xs.push_back(s.right);
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    auto in = [](const Spans& spans, int x) {
        for (const auto& s : spans)
            if (x >= s.left && x < s.right) return true;
        return false;
    };
    Spans out;
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        if (!op(in(*a, xs[i]), in(*b, xs[i]))) continue;
        if (!out.empty() && out.back().right == xs[i])
            out.back().right = xs[i + 1];
        else
            out.push_back({xs[i], xs[i + 1]});
    }
    return out;
}

template <class Op>
std::vector<Region::Band> CombineBands(const std::vector<Region::Band>& a, const std::vector<Region::Band>& b,
                                       Op op)
{
    std::vector<int> ys;
    for (const auto& band : a) {
        ys.push_back(band.top);
        ys.push_back(band.bottom);
    }
    for (const auto& band : b) {
        ys.push_back(band.top);
        ys.push_back(band.bottom);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    std::vector<Region::Band> out;
    for (std::size_t i = 0; i + 1 < ys.size(); ++i) {
        Spans spans = Combine(SpansAt(a, ys[i]), SpansAt(b, ys[i]), op);
        if (spans.empty()) continue;
        // Merge with the band above when it touches and has the same spans:
        // this keeps the banded form canonical, so equality is structural.
        if (!out.empty() && out.back().bottom == ys[i] && out.back().spans == spans)
            out.back().bottom = ys[i + 1];
        else
            out.push_back({ys[i], ys[i + 1], std::move(spans)});
    }
    return out;
}

}  // namespace

Region::Region(const TRect& r)
{
    if (!r.IsEmpty()) bands_.push_back({r.Top, r.Bottom, {{r.Left, r.Right}}});
}

Region Region::RoundRect(const TRect& r, int w, int h)
{
    Region out;
    const auto rows = internal::RoundRectSpans(r, w, h);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int y = r.Top + static_cast<int>(i);
        Spans spans{{rows[i].left, rows[i].right}};
        if (rows[i].left >= rows[i].right) continue;
        if (!out.bands_.empty() && out.bands_.back().bottom == y && out.bands_.back().spans == spans)
            out.bands_.back().bottom = y + 1;
        else
            out.bands_.push_back({y, y + 1, std::move(spans)});
    }
    return out;
}

Region Region::Ellipse(const TRect& r) { return RoundRect(r, r.Width(), r.Height()); }

bool Region::Contains(int x, int y) const
{
    const Spans* spans = SpansAt(bands_, y);
    if (!spans) return false;
    for (const auto& s : *spans)
        if (x >= s.left && x < s.right) return true;
    return false;
}

TRect Region::Bounds() const
{
    if (bands_.empty()) return {};
    TRect r{bands_.front().spans.front().left, bands_.front().top, bands_.front().spans.back().right,
            bands_.back().bottom};
    for (const auto& b : bands_) {
        r.Left = std::min(r.Left, b.spans.front().left);
        r.Right = std::max(r.Right, b.spans.back().right);
    }
    return r;
}

std::vector<TRect> Region::Rects() const
{
    std::vector<TRect> out;
    for (const auto& b : bands_)
        for (const auto& s : b.spans) out.push_back({s.left, b.top, s.right, b.bottom});
    return out;
}

Region Region::Union(const Region& o) const
{
    Region r;
    r.bands_ = CombineBands(bands_, o.bands_, [](bool a, bool b) { return a || b; });
    return r;
}

Region Region::Intersect(const Region& o) const
{
    Region r;
    r.bands_ = CombineBands(bands_, o.bands_, [](bool a, bool b) { return a && b; });
    return r;
}

Region Region::Subtract(const Region& o) const
{
    Region r;
    r.bands_ = CombineBands(bands_, o.bands_, [](bool a, bool b) { return a && !b; });
    return r;
}

Region Region::Offset(int dx, int dy) const
{
    Region r = *this;
    for (auto& b : r.bands_) {
        b.top += dy;
        b.bottom += dy;
        for (auto& s : b.spans) {
            s.left += dx;
            s.right += dx;
        }
    }
    return r;
}

}  // namespace gfx
