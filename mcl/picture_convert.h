// The colour conversion at the output size without the scaler's generic
// path: 32-bit RGB to 4:2:0 when the picture is the output's size or exactly
// twice it (each output pixel then the mean of a 2 x 2 block, the filter the
// scaler uses there), in one pass over the pixels. The coefficients are the
// scaler's own (BT.601, limited range), so the result differs from its output
// by at most one step.
#pragma once

#include <cstddef>
#include <cstdint>

#include "mcl/ff.h"

namespace mcl {

// 32-bit pixels as they lie in memory; stride may be negative (bottom-up).
struct RgbPicture {
    const std::uint8_t* data = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0, height = 0;
    AVPixelFormat format = AV_PIX_FMT_NONE;
};

// The pixel formats the conversion takes: every byte order of 32-bit RGB
// with or without alpha (alpha is left out, as the scaler does for 4:2:0).
bool IsRgb32(AVPixelFormat format);

// True when in converts to a width x height 4:2:0 picture here: a 32-bit
// RGB picture of that size or of exactly twice it, width and height even.
bool ConvertsFast(const RgbPicture& in, int width, int height);

// Writes the 4:2:0 planes of out (allocated, out->width x out->height);
// false, with out untouched, when ConvertsFast doesn't hold.
bool ConvertToYuv420(const RgbPicture& in, AVFrame* out);

// The picture of a decoded frame, when it is 32-bit RGB.
RgbPicture RgbOf(const AVFrame* frame);

// 4:2:0 pictures of one size whose buffers are reused once the encoder lets
// them go: a frame of fresh memory costs the page faults of clearing it.
class PicturePool {
public:
    PicturePool(int width, int height);
    PicturePool(const PicturePool&) = delete;
    PicturePool& operator=(const PicturePool&) = delete;
    ~PicturePool();

    int Width() const { return width_; }
    int Height() const { return height_; }
    // A frame laid out as av_frame_get_buffer lays it out; empty when out of memory.
    Frame Get();

private:
    int width_, height_;
    int linesize_[3] = {};
    std::size_t offset_[3] = {};
    AVBufferPool* pool_ = nullptr;
};

}  // namespace mcl
