#pragma once
// Blits with alpha for composing layers: a scaled bilinear blit and an
// affine (rotate, scale, translate) one. Both work on bitmap pixels
// directly (no canvas origin), and blend "source over destination".
#include <optional>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/types.h"

namespace gfx {

struct BlendOptions {
    // Overall opacity, 0 (invisible) to 255 (opaque).
    int alpha = 255;
    // Use the source's per-pixel alpha (its top byte, straight alpha).
    // Defaults to the source's HasAlpha().
    std::optional<bool> sourceAlpha;
    // Destination pixels outside this rectangle stay untouched.
    std::optional<TRect> clip;
    // Nearest is cheaper; Bilinear is smooth.
    bool bilinear = true;
};

// srcRect of src scaled into dstRect of dst. The written pixels keep dst's
// top byte convention: when dst HasAlpha() the alphas combine ("over").
void DrawScaled(TBitmap& dst, const TRect& dstRect, const TBitmap& src, const TRect& srcRect,
                const BlendOptions& options = {});

// A 2-D affine map: (x, y) -> (a*x + c*y + tx, b*x + d*y + ty).
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    static Affine Translate(double dx, double dy) { return {1, 0, 0, 1, dx, dy}; }
    static Affine Scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    // Rotation by the angle in radians, counter-clockwise on screen (y down):
    // positive angles turn from +x towards -y.
    static Affine Rotate(double radians);
    // this after first: (this * first)(p) = this(first(p)).
    Affine operator*(const Affine& first) const;
    std::optional<Affine> Inverse() const;
    void Apply(double x, double y, double& ox, double& oy) const
    {
        ox = a * x + c * y + tx;
        oy = b * x + d * y + ty;
    }
};

// Draws src through srcToDst (source pixel coordinates, pixel centres at
// +0.5, to destination coordinates), bilinear, with anti-aliased edges.
// A singular map draws nothing.
void DrawTransformed(TBitmap& dst, const TBitmap& src, const Affine& srcToDst,
                     const BlendOptions& options = {});

}  // namespace gfx
