#include "platform/flash/compositor.h"

#include <algorithm>
#include <cmath>

namespace flash {

namespace {

inline std::uint32_t Scale(std::uint32_t p, std::uint32_t w) {  // w in 0..256
    std::uint32_t rb = (((p & 0x00FF00FFu) * w) >> 8) & 0x00FF00FFu;
    std::uint32_t ag = (((p >> 8) & 0x00FF00FFu) * w) & 0xFF00FF00u;
    return rb | ag;
}

inline std::uint32_t Lerp(std::uint32_t a, std::uint32_t b, std::uint32_t t) {  // t in 0..256
    std::uint32_t rb = (((a & 0x00FF00FFu) * (256 - t) + (b & 0x00FF00FFu) * t) >> 8) & 0x00FF00FFu;
    std::uint32_t ag = (((a >> 8) & 0x00FF00FFu) * (256 - t) + ((b >> 8) & 0x00FF00FFu) * t) & 0xFF00FF00u;
    return rb | ag;
}

inline void Over(std::uint32_t& dst, std::uint32_t src) {
    std::uint32_t a = src >> 24;
    dst = src + Scale(dst, 256 - (a + (a >> 7)));
}

inline std::uint32_t Sample(const PictureLevel& level, float u, float v) {
    float fu = std::clamp(u - 0.5f, 0.0f, static_cast<float>(level.width - 1));
    float fv = std::clamp(v - 0.5f, 0.0f, static_cast<float>(level.height - 1));
    int ix = static_cast<int>(fu), iy = static_cast<int>(fv);
    std::uint32_t tx = static_cast<std::uint32_t>((fu - static_cast<float>(ix)) * 256.0f);
    std::uint32_t ty = static_cast<std::uint32_t>((fv - static_cast<float>(iy)) * 256.0f);
    int ix1 = std::min(ix + 1, level.width - 1);
    const std::uint32_t* r0 = level.pixels.data() + static_cast<std::size_t>(iy) * level.width;
    const std::uint32_t* r1 = iy + 1 < level.height ? r0 + level.width : r0;
    return Lerp(Lerp(r0[ix], r0[ix1], tx), Lerp(r1[ix], r1[ix1], tx), ty);
}

// The open interval of x (pixel centres x + 0.5) where lo < k * (x + 0.5) + c0 < hi.
bool SolveSpan(double k, double c0, double lo, double hi, double& xlo, double& xhi) {
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

void DrawRow(const DrawOp& op, std::uint32_t* row, int y) {
    const gfx::Affine& m = op.target_to_source;
    const double py = y + 0.5;
    const double gu = std::hypot(m.a, m.c), gv = std::hypot(m.b, m.d);
    if (gu <= 0 || gv <= 0) return;
    const double u_row = m.c * py + m.tx, v_row = m.d * py + m.ty;
    double ulo, uhi, vlo, vhi;
    if (!SolveSpan(m.a, u_row, op.u0 - 0.5 * gu, op.u1 + 0.5 * gu, ulo, uhi)) return;
    if (!SolveSpan(m.b, v_row, op.v0 - 0.5 * gv, op.v1 + 0.5 * gv, vlo, vhi)) return;
    double lo = std::max({ulo, vlo, static_cast<double>(op.x0)});
    double hi = std::min({uhi, vhi, static_cast<double>(op.x1)});
    if (!(lo < hi)) return;
    const int xs = std::max(op.x0, static_cast<int>(std::floor(lo)));
    const int xe = std::min(op.x1, static_cast<int>(std::ceil(hi)) + 1);

    const float du = static_cast<float>(m.a), dv = static_cast<float>(m.b);
    float u = static_cast<float>(m.a * (xs + 0.5) + u_row);
    float v = static_cast<float>(m.b * (xs + 0.5) + v_row);
    const float inv_gu = static_cast<float>(1 / gu), inv_gv = static_cast<float>(1 / gv);
    const float u0 = op.u0, u1 = op.u1, v0 = op.v0, v1 = op.v1;
    const float opacity = static_cast<float>(op.opacity);
    const float inv_w = u1 > 0 ? 1 / u1 : 0, inv_h = v1 > 0 ? 1 / v1 : 0;

    for (int x = xs; x < xe; ++x, u += du, v += dv) {
        float edge = std::min(std::min(u - u0, u1 - u) * inv_gu, std::min(v - v0, v1 - v) * inv_gv) + 0.5f;
        if (edge <= 0) continue;
        std::uint32_t weight = edge >= 1 ? op.opacity : static_cast<std::uint32_t>(edge * opacity);
        if (weight == 0) continue;
        std::uint32_t colour;
        if (op.kind == DrawOp::Kind::Picture) {
            colour = Sample(*op.level, u, v);
        } else {
            float t = 0;
            switch (op.gradient) {
                case DrawOp::Gradient::Solid: break;
                case DrawOp::Gradient::Vertical: t = v * inv_h; break;
                case DrawOp::Gradient::Horizontal: t = u * inv_w; break;
                case DrawOp::Gradient::Radial: {
                    float dx = u * inv_w * 2 - 1, dy = v * inv_h * 2 - 1;
                    t = std::sqrt(dx * dx + dy * dy);
                    break;
                }
            }
            int index = static_cast<int>(std::clamp(t, 0.0f, 1.0f) * 255.0f + 0.5f);
            colour = op.ramp[op.ramp.size() == 1 ? 0 : static_cast<std::size_t>(index)];
        }
        if (weight < 256) colour = Scale(colour, weight);
        Over(row[x], colour);
    }
}

}  // namespace

void Composite(const std::vector<DrawOp>& ops, std::uint32_t* target, int stride, int row_begin,
               int row_end) {
    for (const DrawOp& op : ops) {
        if (op.opacity <= 0 || op.x0 >= op.x1) continue;
        if (op.kind == DrawOp::Kind::Picture && (!op.level || op.level->pixels.empty())) continue;
        if (op.kind == DrawOp::Kind::Fill && op.ramp.empty()) continue;
        int y0 = std::max(row_begin, op.y0), y1 = std::min(row_end, op.y1);
        for (int y = y0; y < y1; ++y) DrawRow(op, target + static_cast<std::size_t>(y) * stride, y);
    }
}

}  // namespace flash
