#include "platform/gfx/canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/gfx/internal/shapes.h"
#include "platform/gfx/internal/text_engine.h"
#include "platform/gfx/internal/text_layout.h"
#include "platform/gfx/region.h"

namespace {

using gfx::internal::RowSpan;

// On/off run lengths of the dashed pen styles, in pixels.
std::span<const int> DashPattern(TPenStyle style)
{
    static constexpr int dash[] = {18, 6};
    static constexpr int dot[] = {3, 3};
    static constexpr int dashDot[] = {9, 6, 3, 6};
    static constexpr int dashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (style) {
    case psDash: return dash;
    case psDot: return dot;
    case psDashDot: return dashDot;
    case psDashDotDot: return dashDotDot;
    default: return {};
    }
}

// Writes pen pixels onto a bitmap inside a device clip, with the pen's mode,
// width and dash pattern. The pattern runs on across consecutive segments.
class PenPlotter {
public:
    PenPlotter(TBitmap& bmp, const TRect& clip, const TPen& pen)
        : bmp_(bmp),
          clip_(clip),
          pen_(pen),
          pattern_(DashPattern(pen.Style())),
          color_(gfx::ColorRGB(pen.Color()) | bmp.AlphaBits())
    {}

    bool Visible() const { return pen_.Style() != psClear && !clip_.IsEmpty(); }

    void Plot(int x, int y)
    {
        if (!pattern_.empty()) {
            const bool on = (phase_index_ % 2) == 0;
            if (++phase_count_ >= pattern_[phase_index_]) {
                phase_count_ = 0;
                phase_index_ = (phase_index_ + 1) % pattern_.size();
            }
            if (!on) return;
        }
        const int w = pattern_.empty() ? pen_.Width() : 1;
        if (w == 1) {
            Put(x, y);
            return;
        }
        const int lo = -(w - 1) / 2, hi = w / 2;
        for (int yy = y + lo; yy <= y + hi; ++yy)
            for (int xx = x + lo; xx <= x + hi; ++xx) Put(xx, yy);
    }

    // Bresenham from (x0, y0) towards (x1, y1), leaving out (x1, y1).
    void Line(int x0, int y0, int x1, int y1)
    {
        const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        // Skip long stretches that lie wholly outside the clip quickly.
        while (x0 != x1 || y0 != y1) {
            Plot(x0, y0);
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    }

private:
    void Put(int x, int y)
    {
        if (!clip_.Contains(x, y)) return;
        std::uint32_t& p = bmp_.ScanLine(y)[x];
        switch (pen_.Mode()) {
        case pmCopy: p = color_; break;
        case pmXor: p ^= gfx::ColorRGB(pen_.Color()); break;
        case pmNot: p ^= 0x00FFFFFFu; break;
        }
    }

    TBitmap& bmp_;
    TRect clip_;
    const TPen& pen_;
    std::span<const int> pattern_;
    std::uint32_t color_;
    std::size_t phase_index_ = 0;
    int phase_count_ = 0;
};

// Fills device spans with the brush: its colour, or its pattern bitmap tiled
// from the logical origin.
class BrushFiller {
public:
    BrushFiller(TBitmap& bmp, const TRect& clip, const TBrush& brush, TPoint origin)
        : bmp_(bmp),
          clip_(clip),
          brush_(brush),
          origin_(origin),
          color_(gfx::ColorRGB(brush.Color()) | bmp.AlphaBits())
    {}

    bool Visible() const
    {
        if (brush_.Style() == bsClear || clip_.IsEmpty()) return false;
        return true;
    }

    void Span(int y, int x0, int x1)
    {
        if (y < clip_.Top || y >= clip_.Bottom) return;
        x0 = std::max(x0, clip_.Left);
        x1 = std::min(x1, clip_.Right);
        if (x0 >= x1) return;
        std::uint32_t* row = bmp_.ScanLine(y);
        const TBitmap* pat = brush_.Bitmap();
        if (!pat || pat->Empty()) {
            std::fill(row + x0, row + x1, color_);
            return;
        }
        const int pw = pat->Width(), ph = pat->Height();
        const int py = (((y - origin_.Y) % ph) + ph) % ph;
        const std::uint32_t* src = pat->ScanLine(py);
        const std::uint32_t alpha = bmp_.AlphaBits();
        int px = (((x0 - origin_.X) % pw) + pw) % pw;
        for (int x = x0; x < x1; ++x) {
            row[x] = gfx::ColorRGB(src[px]) | alpha;
            if (++px == pw) px = 0;
        }
    }

private:
    TBitmap& bmp_;
    TRect clip_;
    const TBrush& brush_;
    TPoint origin_;
    std::uint32_t color_;
};

// The outline of a shape given by row spans: the pixels of the shape with a
// 4-neighbour outside it.
template <class Fn>
void ForEachOutlinePixel(const std::vector<RowSpan>& rows, int top, Fn&& fn)
{
    const int n = static_cast<int>(rows.size());
    auto inside = [&](int i, int x) { return i >= 0 && i < n && x >= rows[i].left && x < rows[i].right; };
    for (int i = 0; i < n; ++i) {
        const RowSpan s = rows[i];
        for (int x = s.left; x < s.right; ++x) {
            if (x == s.left || x == s.right - 1 || !inside(i - 1, x) || !inside(i + 1, x)) fn(x, top + i);
        }
    }
}

}  // namespace

// Lets the free functions of this file reach the canvas internals.
class CanvasAccess {
public:
    static TRect Clip(const TCanvas& c) { return c.DeviceClip(); }
};

TCanvas::TCanvas(TBitmap& target) : target_(&target) {}

TRect TCanvas::DeviceClip() const
{
    TRect all = target_->BoundsRect();
    return clip_ ? clip_->Intersect(all) : all;
}

TRect TCanvas::ClipRect() const { return DeviceClip().Offset(-origin_.X, -origin_.Y); }

void TCanvas::IntersectClipRect(const TRect& r)
{
    clip_ = DeviceClip().Intersect(r.Offset(origin_.X, origin_.Y));
}

void TCanvas::SaveState() { saved_.push_back({origin_, clip_, pen_pos_}); }

void TCanvas::RestoreState()
{
    if (saved_.empty()) return;
    origin_ = saved_.back().origin;
    clip_ = saved_.back().clip;
    pen_pos_ = saved_.back().pen_pos;
    saved_.pop_back();
}

TColor TCanvas::Pixel(int x, int y) const
{
    const int dx = x + origin_.X, dy = y + origin_.Y;
    return DeviceClip().Contains(dx, dy) ? gfx::ColorRGB(target_->Pixel(dx, dy)) : clNone;
}

void TCanvas::SetPixel(int x, int y, TColor c)
{
    const int dx = x + origin_.X, dy = y + origin_.Y;
    if (DeviceClip().Contains(dx, dy)) target_->SetPixel(dx, dy, gfx::ColorRGB(c) | target_->AlphaBits());
}

void TCanvas::FillRect(const TRect& r)
{
    BrushFiller fill(*target_, DeviceClip(), brush_, origin_);
    if (!fill.Visible()) return;
    const TRect d = r.Offset(origin_.X, origin_.Y).Intersect(DeviceClip());
    for (int y = d.Top; y < d.Bottom; ++y) fill.Span(y, d.Left, d.Right);
}

void TCanvas::FrameRect(const TRect& r)
{
    if (r.IsEmpty()) return;
    const TRect clip = DeviceClip();
    const TRect d = r.Offset(origin_.X, origin_.Y);
    const std::uint32_t c = gfx::ColorRGB(brush_.Color()) | target_->AlphaBits();
    auto span = [&](int y, int x0, int x1) {
        if (y < clip.Top || y >= clip.Bottom) return;
        x0 = std::max(x0, clip.Left);
        x1 = std::min(x1, clip.Right);
        if (x0 < x1) std::fill(target_->ScanLine(y) + x0, target_->ScanLine(y) + x1, c);
    };
    span(d.Top, d.Left, d.Right);
    span(d.Bottom - 1, d.Left, d.Right);
    for (int y = d.Top + 1; y < d.Bottom - 1; ++y) {
        span(y, d.Left, d.Left + 1);
        span(y, d.Right - 1, d.Right);
    }
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (pen_.Style() == psClear) {
        // Without a pen the platform's rectangle is one pixel smaller.
        FillRect({x1, y1, x2 - 1, y2 - 1});
        return;
    }
    FillRect({x1, y1, x2, y2});
    PenPlotter pen(*target_, DeviceClip(), pen_);
    if (!pen.Visible() || x2 - x1 < 1 || y2 - y1 < 1) return;
    const int l = x1 + origin_.X, t = y1 + origin_.Y, r = x2 - 1 + origin_.X, b = y2 - 1 + origin_.Y;
    if (l == r || t == b) {
        // A degenerate rectangle is a single line of pixels.
        if (t == b)
            pen.Line(l, t, r + 1, t);
        else
            pen.Line(l, t, l, b + 1);
        return;
    }
    pen.Line(l, t, r, t);
    pen.Line(r, t, r, b);
    pen.Line(r, b, l, b);
    pen.Line(l, b, l, t);
}

void TCanvas::LineTo(int x, int y)
{
    PenPlotter pen(*target_, DeviceClip(), pen_);
    if (pen.Visible()) pen.Line(pen_pos_.X + origin_.X, pen_pos_.Y + origin_.Y, x + origin_.X, y + origin_.Y);
    pen_pos_ = {x, y};
}

void TCanvas::Polyline(std::span<const TPoint> points)
{
    if (points.empty()) return;
    PenPlotter pen(*target_, DeviceClip(), pen_);
    if (pen.Visible()) {
        for (std::size_t i = 1; i < points.size(); ++i)
            pen.Line(points[i - 1].X + origin_.X, points[i - 1].Y + origin_.Y, points[i].X + origin_.X,
                     points[i].Y + origin_.Y);
    }
    pen_pos_ = points.back();
}

void TCanvas::Polygon(std::span<const TPoint> points)
{
    if (points.size() < 2) return;
    const TRect clip = DeviceClip();
    BrushFiller fill(*target_, clip, brush_, origin_);
    if (fill.Visible() && points.size() >= 3) {
        int minY = points[0].Y, maxY = points[0].Y;
        for (const TPoint& p : points) {
            minY = std::min(minY, p.Y);
            maxY = std::max(maxY, p.Y);
        }
        minY = std::max(minY + origin_.Y, clip.Top) - origin_.Y;
        maxY = std::min(maxY + origin_.Y, clip.Bottom) - origin_.Y;
        std::vector<double> xs;
        // Even-odd fill sampled at pixel centres; a pixel is in when its
        // centre is, which leaves out the right and bottom edges.
        for (int y = minY; y < maxY; ++y) {
            const double cy = y + 0.5;
            xs.clear();
            for (std::size_t i = 0; i < points.size(); ++i) {
                const TPoint& a = points[i];
                const TPoint& b = points[(i + 1) % points.size()];
                if ((a.Y <= cy) == (b.Y <= cy)) continue;
                xs.push_back(a.X + (cy - a.Y) * (b.X - a.X) / static_cast<double>(b.Y - a.Y));
            }
            std::sort(xs.begin(), xs.end());
            for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
                const int x0 = static_cast<int>(std::ceil(xs[i] - 0.5));
                const int x1 = static_cast<int>(std::ceil(xs[i + 1] - 0.5));
                fill.Span(y + origin_.Y, x0 + origin_.X, x1 + origin_.X);
            }
        }
    }
    PenPlotter pen(*target_, clip, pen_);
    if (pen.Visible()) {
        for (std::size_t i = 0; i < points.size(); ++i) {
            const TPoint& a = points[i];
            const TPoint& b = points[(i + 1) % points.size()];
            pen.Line(a.X + origin_.X, a.Y + origin_.Y, b.X + origin_.X, b.Y + origin_.Y);
        }
    }
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int w, int h)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    const TRect d = TRect{x1, y1, x2, y2}.Offset(origin_.X, origin_.Y);
    const auto rows = gfx::internal::RoundRectSpans(d, w, h);
    const TRect clip = DeviceClip();
    BrushFiller fill(*target_, clip, brush_, origin_);
    if (fill.Visible())
        for (std::size_t i = 0; i < rows.size(); ++i)
            fill.Span(d.Top + static_cast<int>(i), rows[i].left, rows[i].right);
    PenPlotter pen(*target_, clip, pen_);
    if (pen.Visible()) ForEachOutlinePixel(rows, d.Top, [&](int x, int y) { pen.Plot(x, y); });
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    RoundRect(x1, y1, x2, y2, std::abs(x2 - x1), std::abs(y2 - y1));
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    const TRect d = TRect{x1, y1, x2, y2}.Offset(origin_.X, origin_.Y);
    const auto rows = gfx::internal::RoundRectSpans(d, d.Width(), d.Height());
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    // Angles counter-clockwise on screen (y grows downwards).
    auto angle = [&](double x, double y) {
        double a = std::atan2(-(y - cy), x - cx);
        return a < 0 ? a + 2 * std::numbers::pi : a;
    };
    const double a0 = angle(x3, y3), a1 = angle(x4, y4);
    const double sweep = a1 > a0 ? a1 - a0 : a1 - a0 + 2 * std::numbers::pi;
    PenPlotter pen(*target_, DeviceClip(), pen_);
    if (!pen.Visible()) return;
    ForEachOutlinePixel(rows, d.Top, [&](int x, int y) {
        const double a = angle(x - origin_.X + 0.5, y - origin_.Y + 0.5);
        double rel = a - a0;
        if (rel < 0) rel += 2 * std::numbers::pi;
        if (rel <= sweep) pen.Plot(x, y);
    });
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    if (r.IsEmpty()) return;
    const TRect clip = DeviceClip();
    const TRect d = r.Offset(origin_.X, origin_.Y);
    auto flip = [&](int x, int y) {
        if (((x - d.Left) + (y - d.Top)) % 2 != 0 || !clip.Contains(x, y)) return;
        target_->ScanLine(y)[x] ^= 0x00FFFFFFu;
    };
    for (int x = d.Left; x < d.Right; ++x) flip(x, d.Top);
    if (d.Height() > 1)
        for (int x = d.Left; x < d.Right; ++x) flip(x, d.Bottom - 1);
    for (int y = d.Top + 1; y < d.Bottom - 1; ++y) {
        flip(d.Left, y);
        if (d.Width() > 1) flip(d.Right - 1, y);
    }
}

void TCanvas::FillRegion(const gfx::Region& region)
{
    BrushFiller fill(*target_, DeviceClip(), brush_, origin_);
    if (!fill.Visible()) return;
    for (const auto& band : region.Bands())
        for (int y = band.top; y < band.bottom; ++y)
            for (const auto& s : band.spans)
                fill.Span(y + origin_.Y, s.left + origin_.X, s.right + origin_.X);
}

void TCanvas::Draw(int x, int y, const TBitmap& b)
{
    gfx::DrawOptions o;
    if (b.Transparent()) o.key = b.TransparentColor();
    DrawBitmap(Bounds(x, y, b.Width(), b.Height()), b, b.BoundsRect(), o);
}

void TCanvas::Draw(int x, int y, const TBitmap& b, TColor key)
{
    DrawBitmap(Bounds(x, y, b.Width(), b.Height()), b, b.BoundsRect(), {gfx::StretchFilter::Nearest, key});
}

void TCanvas::StretchDraw(const TRect& r, const TBitmap& b) { StretchDraw(r, b, stretch_mode_); }

void TCanvas::StretchDraw(const TRect& r, const TBitmap& b, gfx::StretchFilter f)
{
    gfx::DrawOptions o{f, {}};
    if (b.Transparent()) o.key = b.TransparentColor();
    DrawBitmap(r, b, b.BoundsRect(), o);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& srcRect)
{
    CopyRect(dest, *source.target_, srcRect.Offset(source.origin_.X, source.origin_.Y));
}

void TCanvas::CopyRect(const TRect& dest, const TBitmap& source, const TRect& srcRect)
{
    DrawBitmap(dest, source, srcRect, {stretch_mode_, {}});
}

namespace {

struct Tap {
    int index;
    int weight;  // of 1 << 16 (box) or 256 (bilinear)
};

// Area weights of the source columns (or rows) under each destination one.
std::vector<std::vector<Tap>> BoxTaps(int srcStart, int srcLen, int dstLen, int dstFrom, int dstTo)
{
    std::vector<std::vector<Tap>> taps(dstTo - dstFrom);
    const double scale = static_cast<double>(srcLen) / dstLen;
    for (int i = dstFrom; i < dstTo; ++i) {
        const double a = i * scale, b = (i + 1) * scale;
        auto& t = taps[i - dstFrom];
        const int first = static_cast<int>(std::floor(a)), last = static_cast<int>(std::ceil(b));
        int total = 0;
        for (int s = first; s < last && s < srcLen; ++s) {
            const double cover = std::min(b, s + 1.0) - std::max(a, static_cast<double>(s));
            const int w = static_cast<int>(std::lround(cover / scale * 65536.0));
            if (w <= 0) continue;
            t.push_back({srcStart + s, w});
            total += w;
        }
        if (t.empty())
            t.push_back({srcStart + std::min(first, srcLen - 1), 65536});
        else
            t.back().weight += 65536 - total;  // exact sum, so flat areas stay exact
    }
    return taps;
}

}  // namespace

void TCanvas::DrawBitmap(const TRect& dest, const TBitmap& source, const TRect& srcRect,
                         const gfx::DrawOptions& options)
{
    const TRect d = dest.Offset(origin_.X, origin_.Y);
    const int dw = d.Width(), dh = d.Height(), sw = srcRect.Width(), sh = srcRect.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || source.Empty()) return;
    const TRect vis = d.Intersect(DeviceClip());
    if (vis.IsEmpty()) return;
    const bool keyed = options.key.has_value();
    const std::uint32_t key = keyed ? gfx::ColorRGB(*options.key) : 0;
    const std::uint32_t alphaBits = target_->AlphaBits();
    const TRect srcBounds = source.BoundsRect();
    // Copying within one bitmap: work from a copy of the source part.
    const TBitmap* src = &source;
    TBitmap scratch;
    if (&source == target_) {
        scratch = source;
        src = &scratch;
    }

    // Nearest source column/row of each destination one (pixel centres).
    std::vector<int> colMap(vis.Width()), rowMap(vis.Height());
    for (int x = vis.Left; x < vis.Right; ++x)
        colMap[x - vis.Left] = srcRect.Left + static_cast<int>(((2LL * (x - d.Left) + 1) * sw) / (2LL * dw));
    for (int y = vis.Top; y < vis.Bottom; ++y)
        rowMap[y - vis.Top] = srcRect.Top + static_cast<int>(((2LL * (y - d.Top) + 1) * sh) / (2LL * dh));
    auto inSource = [&](int sx, int sy) { return srcBounds.Contains(sx, sy); };

    const bool sameSize = dw == sw && dh == sh;
    const gfx::StretchFilter filter = sameSize ? gfx::StretchFilter::Nearest : options.filter;

    if (filter == gfx::StretchFilter::Nearest) {
        for (int y = vis.Top; y < vis.Bottom; ++y) {
            const int sy = rowMap[y - vis.Top];
            if (sy < 0 || sy >= src->Height()) continue;
            const std::uint32_t* srow = src->ScanLine(sy);
            std::uint32_t* drow = target_->ScanLine(y);
            for (int x = vis.Left; x < vis.Right; ++x) {
                const int sx = colMap[x - vis.Left];
                if (sx < 0 || sx >= src->Width()) continue;
                const std::uint32_t p = gfx::ColorRGB(srow[sx]);
                if (keyed && p == key) continue;
                drow[x] = p | alphaBits;
            }
        }
        return;
    }

    // Smoothing filters: weighted sums over the taps, key pixels weighing
    // nothing; a destination pixel is a hole exactly when its nearest source
    // pixel is the key.
    std::vector<std::vector<Tap>> xt, yt;
    if (filter == gfx::StretchFilter::Box) {
        xt = BoxTaps(srcRect.Left, sw, dw, vis.Left - d.Left, vis.Right - d.Left);
        yt = BoxTaps(srcRect.Top, sh, dh, vis.Top - d.Top, vis.Bottom - d.Top);
    } else {
        auto bil = [](int srcStart, int srcLen, int dstLen, int from, int to) {
            std::vector<std::vector<Tap>> taps(to - from);
            for (int i = from; i < to; ++i) {
                double u = (i + 0.5) * srcLen / dstLen - 0.5;
                u = std::clamp(u, 0.0, srcLen - 1.0);
                const int i0 = static_cast<int>(u);
                const int f = static_cast<int>(std::lround((u - i0) * 65536.0));
                auto& t = taps[i - from];
                if (f == 0 || i0 + 1 >= srcLen)
                    t.push_back({srcStart + i0, 65536});
                else
                    t = {{srcStart + i0, 65536 - f}, {srcStart + i0 + 1, f}};
            }
            return taps;
        };
        xt = bil(srcRect.Left, sw, dw, vis.Left - d.Left, vis.Right - d.Left);
        yt = bil(srcRect.Top, sh, dh, vis.Top - d.Top, vis.Bottom - d.Top);
    }

    for (int y = vis.Top; y < vis.Bottom; ++y) {
        std::uint32_t* drow = target_->ScanLine(y);
        const auto& ys = yt[y - vis.Top];
        for (int x = vis.Left; x < vis.Right; ++x) {
            const int nx = colMap[x - vis.Left], ny = rowMap[y - vis.Top];
            if (!inSource(nx, ny)) continue;
            if (keyed && gfx::ColorRGB(src->ScanLine(ny)[nx]) == key) continue;
            const auto& xs = xt[x - vis.Left];
            double r = 0, g = 0, b = 0, wsum = 0;
            for (const Tap& ty : ys) {
                if (ty.index < 0 || ty.index >= src->Height()) continue;
                const std::uint32_t* srow = src->ScanLine(ty.index);
                for (const Tap& tx : xs) {
                    if (tx.index < 0 || tx.index >= src->Width()) continue;
                    const std::uint32_t p = gfx::ColorRGB(srow[tx.index]);
                    if (keyed && p == key) continue;
                    const double w = static_cast<double>(tx.weight) * ty.weight;
                    r += w * gfx::GetRValue(p);
                    g += w * gfx::GetGValue(p);
                    b += w * gfx::GetBValue(p);
                    wsum += w;
                }
            }
            if (wsum <= 0) continue;
            drow[x] = gfx::RGB(static_cast<int>(r / wsum + 0.5), static_cast<int>(g / wsum + 0.5),
                               static_cast<int>(b / wsum + 0.5)) |
                      alphaBits;
        }
    }
}

void TCanvas::TileDraw(const TRect& r, const TBitmap& tile)
{
    if (tile.Empty() || r.IsEmpty()) return;
    TBrush pattern;
    pattern.SetBitmap(&tile);
    BrushFiller fill(*target_, DeviceClip(), pattern, origin_);
    const TRect d = r.Offset(origin_.X, origin_.Y).Intersect(DeviceClip());
    for (int y = d.Top; y < d.Bottom; ++y) fill.Span(y, d.Left, d.Right);
}

// --- text ----------------------------------------------------------------

namespace {

void DrawTextLine(TBitmap& bmp, const TRect& clip, gfx::internal::FontInstance& fi, const TFont& font, int x,
                  int top, const std::u32string& text, int underlineIndex)
{
    const auto& m = fi.Metrics();
    const int baseline = top + m.ascent;
    fi.Draw(bmp, clip, x, baseline, text, font.Color());
    const std::uint32_t c = gfx::ColorRGB(font.Color()) | bmp.AlphaBits();
    auto hline = [&](int y, int x0, int x1) {
        for (int t = 0; t < m.lineThickness; ++t, ++y) {
            if (y < clip.Top || y >= clip.Bottom) continue;
            const int a = std::max(x0, clip.Left), b = std::min(x1, clip.Right);
            if (a < b) std::fill(bmp.ScanLine(y) + a, bmp.ScanLine(y) + b, c);
        }
    };
    const int width = fi.Measure(text);
    if (font.Underline()) hline(baseline + m.underlineOffset, x, x + width);
    if (font.StrikeOut()) hline(baseline - m.ascent / 3, x, x + width);
    if (underlineIndex >= 0 && underlineIndex < static_cast<int>(text.size()) && !font.Underline()) {
        const int ux = x + fi.Measure(std::u32string_view(text).substr(0, underlineIndex));
        hline(baseline + m.underlineOffset, ux, ux + fi.Advance(text[underlineIndex]));
    }
}

}  // namespace

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    TextRect(TRect{-(1 << 29), -(1 << 29), 1 << 29, 1 << 29}, x, y, text);
    pen_pos_ = {x + TextWidth(text), y};
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text)
{
    auto fi = gfx::internal::GetFontInstance(font_);
    const std::u32string u = gfx::internal::DecodeUtf8(text);
    const TRect clip = DeviceClip().Intersect(r.Offset(origin_.X, origin_.Y));
    if (clip.IsEmpty()) return;
    const int dx = x + origin_.X, dy = y + origin_.Y;
    if (brush_.Style() != bsClear) {
        BrushFiller fill(*target_, clip, brush_, origin_);
        const int w = fi->Measure(u), h = fi->Metrics().height;
        for (int yy = dy; yy < dy + h; ++yy) fill.Span(yy, dx, dx + w);
    }
    DrawTextLine(*target_, clip, *fi, font_, dx, dy, u, -1);
}

TSize TCanvas::TextExtent(const std::string& text) const { return gfx::TextExtent(font_, text); }
int TCanvas::TextWidth(const std::string& text) const { return TextExtent(text).cx; }
int TCanvas::TextHeight(const std::string& text) const { return TextExtent(text).cy; }

int TCanvas::DrawText(const std::string& text, TRect& r, unsigned flags)
{
    auto fi = gfx::internal::GetFontInstance(font_);
    gfx::internal::TextMeasure measure;
    measure.advance = [&fi](char32_t ch) { return fi->Advance(ch); };
    measure.lineHeight = fi->Metrics().height;
    measure.avgCharWidth = fi->Metrics().avgCharWidth;
    const auto layout =
        gfx::internal::LayOutText(gfx::internal::DecodeUtf8(text), r.Width(), r.Height(), flags, measure);
    if (flags & DT_CALCRECT) {
        r.Right = r.Left + layout.width;
        r.Bottom = r.Top + layout.height;
        return layout.height;
    }
    const TRect d = r.Offset(origin_.X, origin_.Y);
    const TRect clip = (flags & DT_NOCLIP) ? DeviceClip() : DeviceClip().Intersect(d);
    int top = d.Top + layout.top;
    for (const auto& line : layout.lines) {
        const int x = d.Left + line.x;
        if (brush_.Style() != bsClear && !clip.IsEmpty()) {
            BrushFiller fill(*target_, clip, brush_, origin_);
            for (int yy = top; yy < top + layout.lineHeight; ++yy) fill.Span(yy, x, x + line.width);
        }
        if (!clip.IsEmpty())
            DrawTextLine(*target_, clip, *fi, font_, x, top, line.text,
                         (flags & DT_HIDEPREFIX) ? -1 : line.underline);
        top += layout.lineHeight;
    }
    if (flags & (DT_VCENTER | DT_BOTTOM)) return layout.top + layout.height;
    return layout.height;
}

namespace gfx {

void DrawMasked(TCanvas& canvas, int x, int y, const TBitmap& bitmap, TColor maskColor)
{
    canvas.Draw(x, y, bitmap, maskColor);
}

void DrawGreyed(TCanvas& canvas, int x, int y, const TBitmap& bitmap, TColor maskColor, TColor highlight,
                TColor shadow)
{
    // The shape: kept pixels darker than mid-grey, as the platform's
    // disabled image-list look makes it (light pixels vanish into the face).
    const std::uint32_t key = ColorRGB(maskColor);
    auto inShape = [&](std::uint32_t p) {
        p = ColorRGB(p);
        if (p == key) return false;
        const int lum = (GetRValue(p) * 30 + GetGValue(p) * 59 + GetBValue(p) * 11) / 100;
        return lum < 192;
    };
    for (int pass = 0; pass < 2; ++pass) {
        const int off = pass == 0 ? 1 : 0;
        const TColor c = pass == 0 ? highlight : shadow;
        for (int sy = 0; sy < bitmap.Height(); ++sy) {
            const std::uint32_t* row = bitmap.ScanLine(sy);
            for (int sx = 0; sx < bitmap.Width(); ++sx)
                if (inShape(row[sx])) canvas.SetPixel(x + sx + off, y + sy + off, c);
        }
    }
}

TSize TextExtent(const TFont& font, const std::string& text)
{
    auto fi = internal::GetFontInstance(font);
    return {fi->Measure(internal::DecodeUtf8(text)), fi->Metrics().height};
}

}  // namespace gfx
