#pragma once
// The movie renderer's inner loop: draws prepared operations (pictures
// through an affine map, gradient boxes) into a band of target rows, with
// bilinear sampling, anti-aliased edges, opacity and a clip rectangle.
#include <cstdint>
#include <vector>

#include "platform/flash/picture.h"
#include "platform/gfx/blend.h"

namespace flash {

struct DrawOp {
    enum class Kind { Picture, Fill };
    Kind kind = Kind::Fill;
    // Picture: the level sampled, and the part of it drawn, in level pixels
    // (edges). Fill: a box 0..u1 x 0..v1 in its own units.
    const PictureLevel* level = nullptr;
    float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
    // Target pixel -> source coordinates.
    gfx::Affine target_to_source;
    int opacity = 256;  // 0..256
    // Target pixels outside [x0, x1) x [y0, y1) stay untouched.
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    // Fill: premultiplied colours along the gradient, 256 entries by
    // position (by squared distance from the centre for Radial, 1024 then),
    // one entry for Solid.
    enum class Gradient { Solid, Vertical, Horizontal, Radial };
    Gradient gradient = Gradient::Solid;
    std::vector<std::uint32_t> ramp;
};

// Draws the operations, in order, on target rows [row_begin, row_end).
// target holds premultiplied opaque pixels; stride is in pixels.
void Composite(const std::vector<DrawOp>& ops, std::uint32_t* target, int stride, int row_begin,
               int row_end);

}  // namespace flash
