#pragma once
// Turns a decoded picture into 32-bit pixels laid out 0x00BBGGRR (the
// bitmaps' layout), scaled by libswscale to the size of the pane.
#include <cstdint>
#include <vector>

#include "platform/media/av_handles.h"

namespace media {

class FrameScaler {
public:
    // `stride` is in pixels. Returns false when the picture cannot be converted.
    bool Scale(const AVFrame& frame, uint32_t* pixels, int width, int height, int stride);

private:
    SwsContext* context_ = nullptr;  // cached by sws_getCachedContext
    ScalerPtr owner_;
    // swscale's vector code writes past the end of a row, so it scales
    // into this padded buffer and the rows are copied out.
    std::vector<uint32_t> scratch_;
};

}  // namespace media
