// EXIF orientation reader: any input gives 1 to 8 without reading outside
// it, and the decoder's picture has the size the header reader promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/gfx/exif_orientation.h"
#include "platform/gfx/image_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    const int orientation = gfx::JpegOrientation(bytes);
    if (orientation < 1 || orientation > 8) std::abort();
    try {
        const TSize s = gfx::JpegSize(bytes);
        if (static_cast<long long>(s.cx) * s.cy > 1'000'000) return 0;
        const TBitmap b = gfx::DecodeJpeg(bytes, 8);
        if (b.Width() != (s.cx + 7) / 8 || b.Height() != (s.cy + 7) / 8) std::abort();
    } catch (const gfx::ImageError&) {}
    return 0;
}
