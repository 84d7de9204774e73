#include "platform/media/frame_scaler.h"

namespace media {

bool FrameScaler::Scale(const AVFrame& frame, uint32_t* pixels, int width, int height, int stride)
{
    if (width <= 0 || height <= 0 || frame.width <= 0 || frame.height <= 0) return false;
    (void)owner_.release();  // sws_getCachedContext frees or reuses the old one
    context_ =
        sws_getCachedContext(context_, frame.width, frame.height, static_cast<AVPixelFormat>(frame.format),
                             width, height, AV_PIX_FMT_RGB0, SWS_BILINEAR, nullptr, nullptr, nullptr);
    owner_.reset(context_);
    if (!context_) return false;
    // RGB0 in memory is R, G, B, pad: on a little-endian machine that is
    // the value 0x00BBGGRR once the pad byte is cleared.
    const int padded = (width + 63) / 64 * 64 + 64;
    scratch_.resize(static_cast<size_t>(padded) * (height + 2));
    uint8_t* planes[4] = {reinterpret_cast<uint8_t*>(scratch_.data()), nullptr, nullptr, nullptr};
    int strides[4] = {padded * 4, 0, 0, 0};
    if (sws_scale(context_, frame.data, frame.linesize, 0, frame.height, planes, strides) <= 0) return false;
    for (int y = 0; y < height; ++y) {
        const uint32_t* from = scratch_.data() + static_cast<size_t>(y) * padded;
        uint32_t* row = pixels + static_cast<size_t>(y) * stride;
        for (int x = 0; x < width; ++x) row[x] = from[x] & 0x00FFFFFFu;
    }
    return true;
}

}  // namespace media
