// JPEG reader: any input either decodes or throws gfx::ImageError, at full
// size and scaled down, showing or refusing damaged data.
#include <cstddef>
#include <cstdint>

#include "platform/gfx/image_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        const TSize s = gfx::JpegSize(bytes);
        // Huge headers are valid but would only measure the allocator.
        if (static_cast<long long>(s.cx) * s.cy > 4'000'000) return 0;
        for (int scale : {1, 8}) {
            for (gfx::DamagedData damaged : {gfx::DamagedData::Shown, gfx::DamagedData::Refused}) {
                try {
                    TBitmap b = gfx::DecodeJpeg(bytes, scale, damaged);
                    if (b.Width() > 0 && b.Pixel(b.Width() - 1, b.Height() - 1) == 0xDEADBEEF) return 1;
                } catch (const gfx::ImageError&) {}
            }
        }
    } catch (const gfx::ImageError&) {}
    return 0;
}
