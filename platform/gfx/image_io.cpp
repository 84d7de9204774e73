#include "platform/gfx/image_io.h"

namespace gfx {
namespace {
[[noreturn]] void NotYet() { throw ImageError(ImageError::Kind::Unsupported, "not available yet"); }
}
ImageFormat DetectImageFormat(std::span<const std::uint8_t>) { return ImageFormat::Unknown; }
TBitmap DecodeBmp(std::span<const std::uint8_t>) { NotYet(); }
std::vector<std::uint8_t> EncodeBmp(const TBitmap&) { NotYet(); }
TBitmap DecodeJpeg(std::span<const std::uint8_t>, int) { NotYet(); }
std::vector<std::uint8_t> EncodeJpeg(const TBitmap&, int) { NotYet(); }
TSize JpegSize(std::span<const std::uint8_t>) { NotYet(); }
int JpegScaleFor(TSize, int, int) { return 1; }
TBitmap DecodePng(std::span<const std::uint8_t>) { NotYet(); }
std::vector<std::uint8_t> EncodePng(const TBitmap&) { NotYet(); }
TBitmap DecodeImage(std::span<const std::uint8_t>) { NotYet(); }
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path&) { NotYet(); }
void WriteFileBytes(const std::filesystem::path&, std::span<const std::uint8_t>) { NotYet(); }
TBitmap LoadImage(const std::filesystem::path&) { NotYet(); }
TBitmap LoadBmp(const std::filesystem::path&) { NotYet(); }
TBitmap LoadJpeg(const std::filesystem::path&, int) { NotYet(); }
TBitmap LoadPng(const std::filesystem::path&) { NotYet(); }
void SaveBmp(const TBitmap&, const std::filesystem::path&) { NotYet(); }
void SaveJpeg(const TBitmap&, const std::filesystem::path&, int) { NotYet(); }
void SavePng(const TBitmap&, const std::filesystem::path&) { NotYet(); }
}  // namespace gfx
