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
    // Per row, a run within the span where every pixel is opaque (laying
    // those over anything is a copy); empty when there is none.
    std::vector<std::pair<int, int>> opaque;
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

// What each target row gets before and after the operations, within
// columns [left, right).
struct RowFrame {
    int left = 0, right = 0;
    // Before: these rows copied in (same stride as the target), or else the
    // premultiplied background: filled when opaque, laid over the target's
    // pixels (taken as opaque) when not.
    const std::uint32_t* base = nullptr;
    std::uint32_t background = 0xFF000000u;
    // After: the top byte of every pixel set to top_byte.
    bool set_top = false;
    std::uint32_t top_byte = 0;
};

// An operation that draws something, with what every row of it shares.
struct PreparedOp {
    const DrawOp* op = nullptr;
    double gu = 0, gv = 0;    // source units per target pixel along u and v
    int first = 0, last = 0;  // the rows it can touch
};

// ops[first_op..] that draw anything, in order, ready for Composite (which
// keeps pointers to ops).
std::vector<PreparedOp> PrepareOps(const std::vector<DrawOp>& ops, std::size_t first_op);

// Draws the prepared operations in order on target rows [row_begin,
// row_end), each row framed by row_frame. target holds premultiplied opaque
// pixels; stride is in pixels.
void Composite(const std::vector<PreparedOp>& ops, const RowFrame& row_frame, std::uint32_t* target,
               int stride, int row_begin, int row_end);

// Draws op over nothing into out's rows [row_begin, row_end) (of
// op.y0 .. op.y1, which out must already hold, zeroed), and notes the spans.
void RasteriseRows(const DrawOp& op, OpRaster& out, int row_begin, int row_end);

}  // namespace flash
