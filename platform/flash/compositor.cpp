#include "platform/flash/compositor.h"

#include <algorithm>
#include <cmath>

#include "platform/flash/pixel_rows.h"

namespace flash {

namespace {

inline std::uint32_t Scale(std::uint32_t p, std::uint32_t w)
{  // w in 0..256
    std::uint32_t rb = (((p & 0x00FF00FFu) * w) >> 8) & 0x00FF00FFu;
    std::uint32_t ag = (((p >> 8) & 0x00FF00FFu) * w) & 0xFF00FF00u;
    return rb | ag;
}

inline std::uint32_t Lerp(std::uint32_t a, std::uint32_t b, std::uint32_t t)
{  // t in 0..256
    std::uint32_t rb = (((a & 0x00FF00FFu) * (256 - t) + (b & 0x00FF00FFu) * t) >> 8) & 0x00FF00FFu;
    std::uint32_t ag = (((a >> 8) & 0x00FF00FFu) * (256 - t) + ((b >> 8) & 0x00FF00FFu) * t) & 0xFF00FF00u;
    return rb | ag;
}

inline void Over(std::uint32_t& dst, std::uint32_t src)
{
    std::uint32_t a = src >> 24;
    dst = src + Scale(dst, 256 - (a + (a >> 7)));
}

// Clamps, taking NaN to lo.
inline float Clamp(float v, float lo, float hi) { return v > lo ? (v < hi ? v : hi) : lo; }

inline std::uint32_t Sample(const PictureLevel& level, float u, float v)
{
    float fu = Clamp(u - 0.5f, 0.0f, static_cast<float>(level.width - 1));
    float fv = Clamp(v - 0.5f, 0.0f, static_cast<float>(level.height - 1));
    int ix = static_cast<int>(fu), iy = static_cast<int>(fv);
    std::uint32_t tx = static_cast<std::uint32_t>((fu - static_cast<float>(ix)) * 256.0f);
    std::uint32_t ty = static_cast<std::uint32_t>((fv - static_cast<float>(iy)) * 256.0f);
    int ix1 = std::min(ix + 1, level.width - 1);
    const std::uint32_t* r0 = level.pixels.data() + static_cast<std::size_t>(iy) * level.width;
    const std::uint32_t* r1 = iy + 1 < level.height ? r0 + level.width : r0;
    return Lerp(Lerp(r0[ix], r0[ix1], tx), Lerp(r1[ix], r1[ix1], tx), ty);
}

// A row of colours for one operation, per thread.
std::uint32_t* Scratch(int count)
{
    thread_local std::vector<std::uint32_t> scratch;
    if (scratch.size() < static_cast<std::size_t>(count)) scratch.resize(static_cast<std::size_t>(count));
    return scratch.data();
}

// The open interval of x (pixel centres x + 0.5) where lo < k * (x + 0.5) + c0 < hi.
bool SolveSpan(double k, double c0, double lo, double hi, double& xlo, double& xhi)
{
    if (std::abs(k) < 1e-12) {
        if (c0 <= lo || c0 >= hi) return false;
        xlo = -1e18;
        xhi = 1e18;
        return true;
    }
    double a = (lo - c0) / k, b = (hi - c0) / k;
    if (a > b) std::swap(a, b);
    xlo = a - 0.5;
    xhi = b - 0.5;
    return true;
}

// A fill's colours by position: its ramp and its box, taken out of the
// pixel loops.
struct FillRamp {
    const std::uint32_t* ramp;
    float last;  // index of the ramp's last entry
    float inv_w, inv_h;
};

// Ramp indices are at most the ramp's size, so an int holds them exactly.
inline std::uint32_t VerticalColour(const FillRamp& f, float, float v)
{
    return f.ramp[static_cast<int>(Clamp(v * f.inv_h, 0.0f, 1.0f) * 255.0f + 0.5f)];
}

inline std::uint32_t HorizontalColour(const FillRamp& f, float u, float)
{
    return f.ramp[static_cast<int>(Clamp(u * f.inv_w, 0.0f, 1.0f) * 255.0f + 0.5f)];
}

// The ramp of a radial fill is indexed by the squared distance.
inline std::uint32_t RadialColour(const FillRamp& f, float u, float v)
{
    float dx = u * f.inv_w * 2 - 1, dy = v * f.inv_h * 2 - 1;
    float d2 = Clamp(dx * dx + dy * dy, 0.0f, 1.0f);
    return f.ramp[static_cast<int>(d2 * f.last + 0.5f)];
}

// The colour of a fill at box coordinates (u, v).
inline std::uint32_t FillColour(const DrawOp& op, const FillRamp& f, float u, float v)
{
    switch (op.gradient) {
    case DrawOp::Gradient::Solid: return f.ramp[0];
    case DrawOp::Gradient::Vertical: return VerticalColour(f, u, v);
    case DrawOp::Gradient::Horizontal: return HorizontalColour(f, u, v);
    case DrawOp::Gradient::Radial: return RadialColour(f, u, v);
    }
    return 0;
}

// Source units per target pixel along u and v: the same on every row.
struct Gauge {
    double gu, gv;
};

Gauge GaugeOf(const DrawOp& op)
{
    const gfx::Affine& m = op.target_to_source;
    return {std::hypot(m.a, m.c), std::hypot(m.b, m.d)};
}

void DrawRow(const DrawOp& op, Gauge gauge, std::uint32_t* row, int y)
{
    const gfx::Affine& m = op.target_to_source;
    const double py = y + 0.5;
    const double gu = gauge.gu, gv = gauge.gv;
    // Degenerate maps (a layer shrunk to nothing) draw nothing.
    if (!(gu > 1e-9 && gv > 1e-9 && gu < 1e9 && gv < 1e9) || !std::isfinite(m.tx) || !std::isfinite(m.ty))
        return;
    const double u_row = m.c * py + m.tx, v_row = m.d * py + m.ty;
    // Pixels touched at all: within half a pixel of the source rectangle.
    double ulo, uhi, vlo, vhi;
    if (!SolveSpan(m.a, u_row, op.u0 - 0.5 * gu, op.u1 + 0.5 * gu, ulo, uhi)) return;
    if (!SolveSpan(m.b, v_row, op.v0 - 0.5 * gv, op.v1 + 0.5 * gv, vlo, vhi)) return;
    double lo = std::max({ulo, vlo, static_cast<double>(op.x0)});
    double hi = std::min({uhi, vhi, static_cast<double>(op.x1)});
    if (!(lo < hi)) return;
    const int xs = std::max(op.x0, static_cast<int>(std::floor(lo)));
    const int xe = std::min(op.x1, static_cast<int>(std::ceil(hi)) + 1);
    // Pixels wholly inside: at least half a pixel in from every edge (with
    // a little slack so that rounding never puts an edge pixel here).
    int xi0 = xe, xi1 = xe;
    double ilo_u, ihi_u, ilo_v, ihi_v;
    if (SolveSpan(m.a, u_row, op.u0 + 0.51 * gu, op.u1 - 0.51 * gu, ilo_u, ihi_u) &&
        SolveSpan(m.b, v_row, op.v0 + 0.51 * gv, op.v1 - 0.51 * gv, ilo_v, ihi_v)) {
        double a = std::max({ilo_u, ilo_v, static_cast<double>(xs) - 2});
        double b = std::min({ihi_u, ihi_v, static_cast<double>(xe) + 2});
        if (a < b) {
            xi0 = std::clamp(static_cast<int>(std::ceil(a)) + 1, xs, xe);
            xi1 = std::clamp(static_cast<int>(std::floor(b)), xi0, xe);
        }
    }

    const float du = static_cast<float>(m.a), dv = static_cast<float>(m.b);
    const float inv_gu = static_cast<float>(1 / gu), inv_gv = static_cast<float>(1 / gv);
    const float u0 = op.u0, u1 = op.u1, v0 = op.v0, v1 = op.v1;
    const float opacity = static_cast<float>(op.opacity);
    const FillRamp fill{op.ramp.data(), static_cast<float>(op.ramp.size() - 1), u1 > 0 ? 1 / u1 : 0,
                        v1 > 0 ? 1 / v1 : 0};
    const bool picture = op.kind == DrawOp::Kind::Picture;

    // Edge pixels: coverage from the distance to the nearest edge.
    auto edge_pixels = [&](int from, int to) {
        float u = static_cast<float>(m.a * (from + 0.5) + u_row);
        float v = static_cast<float>(m.b * (from + 0.5) + v_row);
        for (int x = from; x < to; ++x, u += du, v += dv) {
            float edge =
                std::min(std::min(u - u0, u1 - u) * inv_gu, std::min(v - v0, v1 - v) * inv_gv) + 0.5f;
            if (edge <= 0) continue;
            std::uint32_t weight = edge >= 1 ? op.opacity : static_cast<std::uint32_t>(edge * opacity);
            if (weight == 0) continue;
            std::uint32_t colour = picture ? Sample(*op.level, u, v) : FillColour(op, fill, u, v);
            if (weight < 256) colour = Scale(colour, weight);
            Over(row[x], colour);
        }
    };
    edge_pixels(xs, xi0);
    if (xi0 < xi1) {
        const std::uint32_t weight = static_cast<std::uint32_t>(op.opacity);
        if (picture) {
            // Fixed point 16.16, pixel centres at whole numbers.
            const PictureLevel& level = *op.level;
            const std::int32_t max_u = (level.width - 1) << 16, max_v = (level.height - 1) << 16;
            std::int64_t fu = std::llround((m.a * (xi0 + 0.5) + u_row - 0.5) * 65536.0);
            std::int64_t fv = std::llround((m.b * (xi0 + 0.5) + v_row - 0.5) * 65536.0);
            const std::int64_t step_u = std::llround(m.a * 65536.0), step_v = std::llround(m.b * 65536.0);
            const std::uint32_t* pixels = level.pixels.data();
            const int width = level.width;
            const bool store = weight >= 256 && level.opaque;
            auto put_row = [&](const std::uint32_t* colours) {
                if (weight < 256)
                    OverRowWeighted(row + xi0, colours, xi1 - xi0, weight);
                else
                    OverRow(row + xi0, colours, xi1 - xi0);
            };
            if (step_v == 0) {
                // An upright picture: blend its two source rows once, then
                // only across.
                std::int32_t cv = static_cast<std::int32_t>(std::clamp<std::int64_t>(fv, 0, max_v));
                const int iy = cv >> 16;
                const std::uint32_t ty = (cv >> 8) & 0xFF;
                const std::uint32_t* r0 = pixels + static_cast<std::size_t>(iy) * width;
                const std::uint32_t* r1 = iy + 1 < level.height ? r0 + width : r0;
                const std::int64_t fu_last = fu + step_u * (xi1 - 1 - xi0);
                const int first =
                    static_cast<int>(std::clamp<std::int64_t>(std::min(fu, fu_last), 0, max_u) >> 16);
                const int last = std::min(
                    width - 1,
                    static_cast<int>(std::clamp<std::int64_t>(std::max(fu, fu_last), 0, max_u) >> 16) + 1);
                thread_local std::vector<std::uint32_t> blended;
                blended.resize(static_cast<std::size_t>(last - first + 1));
                LerpRow(blended.data(), r0 + first, r1 + first, last - first + 1, ty);
                std::uint32_t* out = store ? row + xi0 : Scratch(xi1 - xi0);
                SampleAcross(out, xi1 - xi0, blended.data(), first, last, fu, step_u, max_u);
                if (!store) put_row(out);
            } else {
                std::uint32_t* out = store ? row + xi0 : Scratch(xi1 - xi0);
                SampleAlong(out, xi1 - xi0, pixels, width, level.height, fu, fv, step_u, step_v);
                if (!store) put_row(out);
            }
        } else if (op.gradient == DrawOp::Gradient::Solid) {
            std::uint32_t colour = weight < 256 ? Scale(op.ramp[0], weight) : op.ramp[0];
            if ((colour >> 24) == 0xFF) {
                std::fill(row + xi0, row + xi1, colour);
            } else {
                OverSolidRow(row + xi0, colour, xi1 - xi0);
            }
        } else {
            float u = static_cast<float>(m.a * (xi0 + 0.5) + u_row);
            float v = static_cast<float>(m.b * (xi0 + 0.5) + v_row);
            std::uint32_t* out = Scratch(xi1 - xi0);
            const int count = xi1 - xi0;
            auto colours = [&](auto colour_of) {
                for (int x = 0; x < count; ++x, u += du, v += dv) out[x] = colour_of(fill, u, v);
            };
            if (op.gradient == DrawOp::Gradient::Radial && dv == 0) {
                // Level across the row: the same dy on every pixel.
                thread_local std::vector<float> us;
                us.resize(static_cast<std::size_t>(count));
                FloatSteps(us.data(), count, u, du);
                const float dy = v * fill.inv_h * 2 - 1;
                RadialRow(out, us.data(), count, fill.inv_w, dy * dy, fill.ramp, fill.last);
            } else if (op.gradient == DrawOp::Gradient::Radial)
                colours([](const FillRamp& f, float cu, float cv) { return RadialColour(f, cu, cv); });
            else if (op.gradient == DrawOp::Gradient::Vertical)
                colours([](const FillRamp& f, float cu, float cv) { return VerticalColour(f, cu, cv); });
            else
                colours([](const FillRamp& f, float cu, float cv) { return HorizontalColour(f, cu, cv); });
            if (weight < 256)
                OverRowWeighted(row + xi0, out, xi1 - xi0, weight);
            else
                OverRow(row + xi0, out, xi1 - xi0);
        }
    }
    edge_pixels(xi1, xe);
}

// Rows [first, last) of [op.y0, op.y1) whose pixels the operation can touch:
// the source rectangle grown by the half pixel DrawRow reaches past it,
// mapped to the target, with a row to spare on each side.
std::pair<int, int> RowsOf(const DrawOp& op, Gauge gauge)
{
    const std::pair<int, int> all{op.y0, op.y1};
    if (op.kind == DrawOp::Kind::Raster) {
        const OpRaster& raster = *op.raster;
        return {std::max(op.y0, raster.top),
                std::min(op.y1, raster.top + static_cast<int>(raster.spans.size()))};
    }
    auto to_target = op.target_to_source.Inverse();
    if (!to_target) return all;
    const double u[2] = {op.u0 - 0.5 * gauge.gu, op.u1 + 0.5 * gauge.gu};
    const double v[2] = {op.v0 - 0.5 * gauge.gv, op.v1 + 0.5 * gauge.gv};
    double lo = 1e300, hi = -1e300;
    for (double cu : u)
        for (double cv : v) {
            double x, y;
            to_target->Apply(cu, cv, x, y);
            lo = std::min(lo, y);
            hi = std::max(hi, y);
        }
    if (!(std::isfinite(lo) && std::isfinite(hi))) return all;
    // Row y has its centre at y + 0.5.
    const double first = std::floor(lo - 0.5) - 1, last = std::ceil(hi - 0.5) + 2;
    return {static_cast<int>(std::clamp<double>(first, op.y0, op.y1)),
            static_cast<int>(std::clamp<double>(last, op.y0, op.y1))};
}

void DrawRaster(const DrawOp& op, std::uint32_t* row, int y)
{
    const OpRaster& raster = *op.raster;
    const std::size_t r = static_cast<std::size_t>(y - raster.top);
    if (r >= raster.spans.size()) return;
    const int begin = std::max(raster.spans[r].first, op.x0), end = std::min(raster.spans[r].second, op.x1);
    if (begin >= end) return;
    const std::uint32_t* colours = raster.pixels.data() + r * raster.stride;
    const int solid_begin = std::clamp(raster.opaque[r].first, begin, end);
    const int solid_end = std::clamp(raster.opaque[r].second, solid_begin, end);
    OverRow(row + begin, colours + begin, solid_begin - begin);
    std::copy(colours + solid_begin, colours + solid_end, row + solid_begin);
    OverRow(row + solid_end, colours + solid_end, end - solid_end);
}

}  // namespace

void RasteriseRows(const DrawOp& op, OpRaster& out, int row_begin, int row_end)
{
    const Gauge gauge = GaugeOf(op);
    for (int y = row_begin; y < row_end; ++y) {
        const std::size_t r = static_cast<std::size_t>(y - out.top);
        std::uint32_t* row = out.pixels.data() + r * out.stride;
        DrawRow(op, gauge, row, y);
        int begin = op.x0, end = op.x1;
        while (begin < end && row[begin] == 0) ++begin;
        while (end > begin && row[end - 1] == 0) --end;
        out.spans[r] = {begin, end};
        // The longest run of opaque pixels.
        std::pair<int, int> best{begin, begin};
        for (int x = begin; x < end;) {
            if ((row[x] >> 24) != 0xFF) {
                ++x;
                continue;
            }
            int run_end = x;
            while (run_end < end && (row[run_end] >> 24) == 0xFF) ++run_end;
            if (run_end - x > best.second - best.first) best = {x, run_end};
            x = run_end;
        }
        out.opaque[r] = best;
    }
}

std::vector<PreparedOp> PrepareOps(const std::vector<DrawOp>& ops, std::size_t first_op)
{
    std::vector<PreparedOp> prepared;
    prepared.reserve(ops.size());
    for (std::size_t i = first_op; i < ops.size(); ++i) {
        const DrawOp& op = ops[i];
        if (op.opacity <= 0 || op.x0 >= op.x1 || op.y0 >= op.y1) continue;
        if (op.kind == DrawOp::Kind::Picture && (!op.level || op.level->pixels.empty())) continue;
        if (op.kind == DrawOp::Kind::Fill && op.ramp.empty()) continue;
        if (op.kind == DrawOp::Kind::Raster && !op.raster) continue;
        const Gauge gauge = op.kind == DrawOp::Kind::Raster ? Gauge{} : GaugeOf(op);
        const auto [first, last] = RowsOf(op, gauge);
        if (first < last) prepared.push_back({&op, gauge.gu, gauge.gv, first, last});
    }
    return prepared;
}

void Composite(const std::vector<PreparedOp>& ops, const RowFrame& row_frame, std::uint32_t* target,
               int stride, int row_begin, int row_end)
{
    // Row by row, every operation on the row while it is in the cache.
    const int left = row_frame.left, right = row_frame.right;
    const std::uint32_t background = row_frame.background;
    const std::uint32_t keep = 256 - ((background >> 24) + (background >> 31));
    for (int y = row_begin; y < row_end; ++y) {
        std::uint32_t* row = target + static_cast<std::size_t>(y) * stride;
        if (row_frame.base) {
            const std::uint32_t* base = row_frame.base + static_cast<std::size_t>(y) * stride;
            std::copy(base + left, base + right, row + left);
        } else if ((background >> 24) == 0xFF) {
            std::fill(row + left, row + right, background);
        } else {
            for (int x = left; x < right; ++x) row[x] = background + Scale(row[x] | 0xFF000000u, keep);
        }
        for (const PreparedOp& item : ops)
            if (y >= item.first && y < item.last) {
                if (item.op->kind == DrawOp::Kind::Raster)
                    DrawRaster(*item.op, row, y);
                else
                    DrawRow(*item.op, {item.gu, item.gv}, row, y);
            }
        if (row_frame.set_top)
            for (int x = left; x < right; ++x) row[x] = (row[x] & 0x00FFFFFFu) | row_frame.top_byte;
    }
}

}  // namespace flash
