#include "platform/gfx/blend.h"

#include <cmath>

namespace gfx {
Affine Affine::Rotate(double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    return {c, -s, s, c, 0, 0};
}
Affine Affine::operator*(const Affine& f) const {
    return {a * f.a + c * f.b, b * f.a + d * f.b, a * f.c + c * f.d, b * f.c + d * f.d,
            a * f.tx + c * f.ty + tx, b * f.tx + d * f.ty + ty};
}
std::optional<Affine> Affine::Inverse() const {
    const double det = a * d - b * c;
    if (std::abs(det) < 1e-12) return std::nullopt;
    const double ia = d / det, ib = -b / det, ic = -c / det, id = a / det;
    return Affine{ia, ib, ic, id, -(ia * tx + ic * ty), -(ib * tx + id * ty)};
}
void DrawScaled(TBitmap&, const TRect&, const TBitmap&, const TRect&, const BlendOptions&) {}
void DrawTransformed(TBitmap&, const TBitmap&, const Affine&, const BlendOptions&) {}
}  // namespace gfx
