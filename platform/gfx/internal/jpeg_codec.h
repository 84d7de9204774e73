#pragma once
// The libjpeg calls, kept in plain C-style functions: the library reports
// errors by longjmp, which must land in the function that set it, with no
// C++ object alive in between. Each returns 0 on success, else fills msg.
#include <cstddef>
#include <cstdint>

namespace gfx::internal {

struct JpegMessage {
    char text[200];
};

// Gives the pixel buffer (width x height, 32 bits a pixel) for the decoded
// picture, or nullptr to refuse it. Must not throw.
using JpegAllocFn = std::uint32_t* (*)(void* ctx, int width, int height) noexcept;

// wholeData: a warning that data is missing or corrupt fails the decode
// (return 1) instead of leaving made-up pixels in the picture.
int JpegDecode(const unsigned char* data, std::size_t size, int scaleDenom, bool wholeData, JpegAllocFn alloc,
               void* ctx, JpegMessage* msg);
int JpegReadSize(const unsigned char* data, std::size_t size, int* width, int* height, JpegMessage* msg);
// *out is a malloc'd buffer the caller frees (also after a failure).
int JpegEncode(const std::uint32_t* pixels, int width, int height, int quality, unsigned char** out,
               unsigned long* outSize, JpegMessage* msg);

}  // namespace gfx::internal
