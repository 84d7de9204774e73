// BMP reader: any input either decodes or throws gfx::ImageError.
#include <cstddef>
#include <cstdint>

#include "platform/gfx/image_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        TBitmap b = gfx::DecodeBmp({data, size});
        // Touch every pixel so that a wrong size shows up under the sanitizers.
        std::uint32_t sum = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) sum += b.ScanLine(y)[x];
        if (sum == 0xDEADBEEF) return 1;
    } catch (const gfx::ImageError&) {}
    return 0;
}
