#pragma once
// The movie renderer's inner loop: draws prepared operations (pictures
// through an affine map, gradient boxes) into a band of target rows, with
// bilinear sampling, anti-aliased edges, opacity and a clip rectangle.
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/flash/picture.h"
#include "platform/gfx/blend.h"

namespace flash {

// An operation drawn once into colours over nothing, to be laid over the
// target again ("over" of these colours gives the same bytes as drawing it).
struct OpRaster {
    int top = 0, stride = 0;                 // rows from top, stride pixels each
    std::vector<std::uint32_t> pixels;       // premultiplied; 0 where untouched
    std::vector<std::pair<int, int>> spans;  // per row, the touched [begin, end)
};

struct DrawOp {
    enum class Kind { Picture, Fill, Raster };
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
    // Raster: the colours to lay over, within [x0, x1) x [y0, y1).
    const OpRaster* raster = nullptr;
};

// Draws the operations, in order, on target rows [row_begin, row_end).
// target holds premultiplied opaque pixels; stride is in pixels.
void Composite(const std::vector<DrawOp>& ops, std::uint32_t* target, int stride, int row_begin, int row_end);

// Draws op over nothing into out's rows [row_begin, row_end) (of
// op.y0 .. op.y1, which out must already hold, zeroed), and notes the spans.
void RasteriseRows(const DrawOp& op, OpRaster& out, int row_begin, int row_end);

}  // namespace flash
