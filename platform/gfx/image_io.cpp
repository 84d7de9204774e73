#include "platform/gfx/image_io.h"

#include <bit>
#include <cstring>
#include <fstream>

#include "platform/gfx/exif_orientation.h"
#include "platform/gfx/internal/jpeg_codec.h"
#include "platform/gfx/orientation.h"

#include <png.h>

static_assert(std::endian::native == std::endian::little, "pixel byte order assumes a little-endian host");

namespace gfx {

namespace {

void CheckSize(std::int64_t w, std::int64_t h, ImageFormat format)
{
    const bool jpeg = format == ImageFormat::Jpeg;
    const std::int64_t side = jpeg ? kMaxJpegDimension : kMaxImageDimension;
    const std::int64_t pixels = jpeg ? kMaxJpegPixels : kMaxImagePixels;
    if (w <= side && h <= side && w * h <= pixels) return;
    throw ImageError(ImageError::Kind::TooLarge, "picture of " + std::to_string(w) + " x " +
                                                     std::to_string(h) + " is too large: at most " +
                                                     std::to_string(side) + " pixels a side and " +
                                                     std::to_string(pixels) + " pixels");
}

}  // namespace

void CheckPictureSize(TSize size, ImageFormat format) { CheckSize(size.cx, size.cy, format); }

namespace {

[[noreturn]] void Corrupt(const std::string& what) { throw ImageError(ImageError::Kind::Corrupt, what); }
[[noreturn]] void Unsupported(const std::string& what)
{
    throw ImageError(ImageError::Kind::Unsupported, what);
}

void CheckDimensions(std::int64_t w, std::int64_t h, ImageFormat format, const char* name)
{
    if (w <= 0 || h <= 0) Corrupt(std::string(name) + " picture has no pixels");
    CheckSize(w, h, format);
}

// --- BMP -----------------------------------------------------------------

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> d) : d_(d) {}
    bool Has(std::size_t off, std::size_t n) const { return off <= d_.size() && n <= d_.size() - off; }
    std::uint32_t U32(std::size_t off) const
    {
        if (!Has(off, 4)) Corrupt("BMP file is truncated");
        return d_[off] | (d_[off + 1] << 8) | (d_[off + 2] << 16) |
               (static_cast<std::uint32_t>(d_[off + 3]) << 24);
    }
    std::uint16_t U16(std::size_t off) const
    {
        if (!Has(off, 2)) Corrupt("BMP file is truncated");
        return static_cast<std::uint16_t>(d_[off] | (d_[off + 1] << 8));
    }
    std::int32_t I32(std::size_t off) const { return static_cast<std::int32_t>(U32(off)); }
    const std::uint8_t* At(std::size_t off) const { return d_.data() + off; }
    std::size_t Size() const { return d_.size(); }

private:
    std::span<const std::uint8_t> d_;
};

struct Field {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t max = 0;
    explicit Field(std::uint32_t m = 0) : mask(m)
    {
        if (!m) return;
        shift = std::countr_zero(m);
        max = m >> shift;
    }
    int Get(std::uint32_t px) const
    {
        if (!mask) return 0;
        const std::uint64_t v = (px & mask) >> shift;
        return static_cast<int>((v * 255 + max / 2) / max);
    }
};

struct BmpHeader {
    std::uint32_t hdrSize = 0;
    std::int64_t width = 0, height = 0;
    bool topDown = false;
    int bpp = 0;
    std::uint32_t compression = 0, colorsUsed = 0;
};

BmpHeader ReadBmpHeader(const Reader& r)
{
    if (r.Size() < 18 || *r.At(0) != 'B' || *r.At(1) != 'M') Corrupt("not a BMP file");
    BmpHeader h;
    h.hdrSize = r.U32(14);
    if (h.hdrSize != 12 && h.hdrSize != 40 && h.hdrSize != 52 && h.hdrSize != 56 && h.hdrSize != 64 &&
        h.hdrSize != 108 && h.hdrSize != 124)
        Unsupported("BMP header of unknown size " + std::to_string(h.hdrSize));
    if (!r.Has(14, h.hdrSize)) Corrupt("BMP header is truncated");
    if (h.hdrSize == 12) {
        h.width = r.U16(18);
        h.height = r.U16(20);
        h.bpp = r.U16(24);
    } else {
        h.width = r.I32(18);
        h.height = r.I32(22);
        h.bpp = r.U16(28);
        h.compression = r.U32(30);
        h.colorsUsed = r.U32(46);
    }
    h.topDown = h.height < 0;
    if (h.topDown) h.height = -h.height;
    CheckDimensions(h.width, h.height, ImageFormat::Bmp, "BMP");
    return h;
}

}  // namespace

TSize BmpSize(std::span<const std::uint8_t> data)
{
    const BmpHeader h = ReadBmpHeader(Reader(data));
    return {static_cast<int>(h.width), static_cast<int>(h.height)};
}

TBitmap DecodeBmp(std::span<const std::uint8_t> data)
{
    const Reader r(data);
    const BmpHeader h = ReadBmpHeader(r);
    const std::uint32_t offBits = r.U32(10);
    const std::uint32_t hdrSize = h.hdrSize;
    const std::int64_t width = h.width, height = h.height;
    const int bpp = h.bpp;
    const std::uint32_t compression = h.compression, colorsUsed = h.colorsUsed;
    const bool core = hdrSize == 12;
    const bool topDown = h.topDown;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        Unsupported("BMP with " + std::to_string(bpp) + " bits per pixel");

    // Colour masks.
    Field red, green, blue, alpha;
    std::size_t afterHeader = 14 + hdrSize;
    if (compression == 3 || compression == 6) {
        if (bpp != 16 && bpp != 32) Corrupt("BMP bit fields need 16 or 32 bits per pixel");
        std::size_t maskAt = 14 + 40;
        if (hdrSize == 40) afterHeader += compression == 6 ? 16 : 12;
        red = Field(r.U32(maskAt));
        green = Field(r.U32(maskAt + 4));
        blue = Field(r.U32(maskAt + 8));
        if (compression == 6 || hdrSize >= 56) alpha = Field(r.U32(maskAt + 12));
    } else if (compression == 0) {
        if (bpp == 16) {
            red = Field(0x7C00);
            green = Field(0x03E0);
            blue = Field(0x001F);
        } else if (bpp == 32) {
            red = Field(0x00FF0000);
            green = Field(0x0000FF00);
            blue = Field(0x000000FF);
        }
    } else {
        Unsupported("compressed BMP (method " + std::to_string(compression) + ")");
    }

    // Palette.
    std::vector<std::uint32_t> palette;
    if (bpp <= 8) {
        const std::uint32_t maxColors = 1u << bpp;
        std::uint32_t n = colorsUsed == 0 ? maxColors : colorsUsed;
        if (n > 256) Corrupt("BMP palette is too large");
        const std::size_t entry = core ? 3 : 4;
        if (!r.Has(afterHeader, n * entry)) Corrupt("BMP palette is truncated");
        palette.resize(maxColors, 0);
        for (std::uint32_t i = 0; i < n && i < maxColors; ++i) {
            const std::uint8_t* p = r.At(afterHeader + i * entry);
            palette[i] = RGB(p[2], p[1], p[0]);
        }
        afterHeader += n * entry;
    }

    if (offBits < 14 + hdrSize || offBits > data.size()) Corrupt("BMP pixel offset is out of the file");
    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bpp + 31) / 32) * 4;
    const std::uint64_t lastRow = (static_cast<std::uint64_t>(width) * bpp + 7) / 8;
    if (offBits + stride * (height - 1) + lastRow > data.size()) Corrupt("BMP pixel data is truncated");

    TBitmap bmp(static_cast<int>(width), static_cast<int>(height));
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = r.At(offBits + stride * y);
        std::uint32_t* dst = bmp.ScanLine(topDown ? y : static_cast<int>(height) - 1 - y);
        switch (bpp) {
        case 1:
        case 4:
        case 8: {
            const int perByte = 8 / bpp;
            const unsigned mask = (1u << bpp) - 1;
            for (int x = 0; x < width; ++x) {
                const int shift = 8 - bpp * (x % perByte + 1);
                dst[x] = palette[(src[x / perByte] >> shift) & mask];
            }
            break;
        }
        case 24:
            for (int x = 0; x < width; ++x) dst[x] = RGB(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
            break;
        case 16:
            for (int x = 0; x < width; ++x) {
                const std::uint32_t px = src[2 * x] | (src[2 * x + 1] << 8);
                dst[x] = RGB(red.Get(px), green.Get(px), blue.Get(px));
            }
            break;
        case 32:
            for (int x = 0; x < width; ++x) {
                std::uint32_t px;
                std::memcpy(&px, src + 4 * x, 4);
                dst[x] = RGB(red.Get(px), green.Get(px), blue.Get(px));
                if (alpha.mask) {
                    const std::uint32_t a = static_cast<std::uint32_t>(alpha.Get(px));
                    dst[x] |= a << 24;
                    anyAlpha |= a != 0;
                }
            }
            break;
        }
    }
    if (alpha.mask) {
        // An alpha mask with all-zero alphas is a plain picture.
        if (anyAlpha)
            bmp.SetHasAlpha(true);
        else
            for (int y = 0; y < bmp.Height(); ++y)
                for (int x = 0; x < bmp.Width(); ++x) bmp.ScanLine(y)[x] &= 0x00FFFFFFu;
    }
    return bmp;
}

std::vector<std::uint8_t> EncodeBmp(const TBitmap& bitmap)
{
    const int w = bitmap.Width(), h = bitmap.Height();
    const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
    const std::size_t imageSize = stride * h;
    std::vector<std::uint8_t> out(54 + imageSize, 0);
    auto put32 = [&](std::size_t off, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out[off + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<std::uint32_t>(out.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(w));
    put32(22, static_cast<std::uint32_t>(h));
    out[26] = 1;
    out[28] = 24;
    put32(34, static_cast<std::uint32_t>(imageSize));
    put32(38, 3780);  // 96 dots per inch
    put32(42, 3780);
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* src = bitmap.ScanLine(h - 1 - y);
        std::uint8_t* dst = out.data() + 54 + stride * y;
        for (int x = 0; x < w; ++x) {
            dst[3 * x] = static_cast<std::uint8_t>(GetBValue(src[x]));
            dst[3 * x + 1] = static_cast<std::uint8_t>(GetGValue(src[x]));
            dst[3 * x + 2] = static_cast<std::uint8_t>(GetRValue(src[x]));
        }
    }
    return out;
}

// --- JPEG ----------------------------------------------------------------

namespace {

struct JpegTarget {
    TBitmap bitmap;
    bool tooLarge = false;
};

std::uint32_t* AllocJpegTarget(void* ctx, int w, int h) noexcept
{
    auto* t = static_cast<JpegTarget*>(ctx);
    if (w <= 0 || h <= 0) return nullptr;
    if (w > kMaxImageDimension || h > kMaxImageDimension ||
        static_cast<std::int64_t>(w) * h > kMaxImagePixels) {
        t->tooLarge = true;
        return nullptr;
    }
    try {
        t->bitmap.SetSize(w, h);
    } catch (...) {
        t->tooLarge = true;
        return nullptr;
    }
    return t->bitmap.Pixels();
}

// The picture's size as stored (before orientation), checked against the
// limits of a JPEG file.
TSize JpegStoredSize(std::span<const std::uint8_t> data)
{
    int w = 0, h = 0;
    internal::JpegMessage msg{};
    if (internal::JpegReadSize(data.data(), data.size(), &w, &h, &msg) != 0)
        Corrupt(std::string("JPEG file cannot be read: ") + msg.text);
    CheckDimensions(w, h, ImageFormat::Jpeg, "JPEG");
    return {w, h};
}

}  // namespace

TBitmap DecodeJpeg(std::span<const std::uint8_t> data, int scaleDenom, DamagedData damaged)
{
    if (scaleDenom != 1 && scaleDenom != 2 && scaleDenom != 4 && scaleDenom != 8)
        throw std::invalid_argument("JPEG scale must be 1, 2, 4 or 8");
    const TSize stored = JpegStoredSize(data);
    auto scaled = [](int side, int d) { return (static_cast<std::int64_t>(side) + d - 1) / d; };
    while (scaleDenom < 8 &&
           (scaled(stored.cx, scaleDenom) > kMaxImageDimension ||
            scaled(stored.cy, scaleDenom) > kMaxImageDimension ||
            scaled(stored.cx, scaleDenom) * scaled(stored.cy, scaleDenom) > kMaxImagePixels))
        scaleDenom *= 2;
    JpegTarget target;
    internal::JpegMessage msg{};
    const int rc = internal::JpegDecode(data.data(), data.size(), scaleDenom, damaged == DamagedData::Refused,
                                        &AllocJpegTarget, &target, &msg);
    if (target.tooLarge) throw ImageError(ImageError::Kind::TooLarge, "JPEG picture is too large");
    if (rc != 0) Corrupt(std::string("JPEG file cannot be read: ") + msg.text);
    return ApplyOrientation(std::move(target.bitmap), JpegOrientation(data));
}

std::vector<std::uint8_t> EncodeJpeg(const TBitmap& bitmap, int quality)
{
    if (bitmap.Empty())
        throw ImageError(ImageError::Kind::Unsupported, "an empty picture cannot be saved as JPEG");
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    internal::JpegMessage msg{};
    const int rc = internal::JpegEncode(bitmap.Pixels(), bitmap.Width(), bitmap.Height(),
                                        std::clamp(quality, 1, 100), &buf, &size, &msg);
    if (rc != 0) {
        std::free(buf);
        throw ImageError(ImageError::Kind::Io, std::string("JPEG cannot be written: ") + msg.text);
    }
    std::vector<std::uint8_t> out(buf, buf + size);
    std::free(buf);
    return out;
}

TSize JpegSize(std::span<const std::uint8_t> data)
{
    return OrientedSize(JpegStoredSize(data), JpegOrientation(data));
}

int JpegScaleFor(TSize size, int minWidth, int minHeight)
{
    for (int d = 8; d > 1; d /= 2)
        if ((size.cx + d - 1) / d >= minWidth && (size.cy + d - 1) / d >= minHeight) return d;
    return 1;
}

// --- PNG -----------------------------------------------------------------

TBitmap DecodePng(std::span<const std::uint8_t> data)
{
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&img, data.data(), data.size())) {
        const std::string why = img.message;
        png_image_free(&img);
        Corrupt("PNG file cannot be read: " + why);
    }
    const bool alpha = img.format & PNG_FORMAT_FLAG_ALPHA;
    try {
        CheckDimensions(img.width, img.height, ImageFormat::Png, "PNG");
    } catch (...) {
        png_image_free(&img);
        throw;
    }
    img.format = PNG_FORMAT_RGBA;
    TBitmap bmp(static_cast<int>(img.width), static_cast<int>(img.height));
    if (!png_image_finish_read(&img, nullptr, bmp.Pixels(), static_cast<png_int_32>(img.width * 4),
                               nullptr)) {
        const std::string why = img.message;
        png_image_free(&img);
        Corrupt("PNG file cannot be read: " + why);
    }
    png_image_free(&img);
    if (alpha)
        bmp.SetHasAlpha(true);
    else
        for (std::size_t i = 0, n = static_cast<std::size_t>(bmp.Width()) * bmp.Height(); i < n; ++i)
            bmp.Pixels()[i] &= 0x00FFFFFFu;
    return bmp;
}

std::vector<std::uint8_t> EncodePng(const TBitmap& bitmap)
{
    if (bitmap.Empty())
        throw ImageError(ImageError::Kind::Unsupported, "an empty picture cannot be saved as PNG");
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    img.width = static_cast<png_uint_32>(bitmap.Width());
    img.height = static_cast<png_uint_32>(bitmap.Height());
    std::vector<std::uint8_t> rgb;
    const void* pixels = bitmap.Pixels();
    png_int_32 stride = bitmap.Width() * 4;
    if (bitmap.HasAlpha()) {
        img.format = PNG_FORMAT_RGBA;
    } else {
        img.format = PNG_FORMAT_RGB;
        const std::size_t n = static_cast<std::size_t>(bitmap.Width()) * bitmap.Height();
        rgb.resize(n * 3);
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint32_t p = bitmap.Pixels()[i];
            rgb[3 * i] = static_cast<std::uint8_t>(p);
            rgb[3 * i + 1] = static_cast<std::uint8_t>(p >> 8);
            rgb[3 * i + 2] = static_cast<std::uint8_t>(p >> 16);
        }
        pixels = rgb.data();
        stride = bitmap.Width() * 3;
    }
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&img, nullptr, &size, 0, pixels, stride, nullptr))
        throw ImageError(ImageError::Kind::Io, std::string("PNG cannot be written: ") + img.message);
    std::vector<std::uint8_t> out(size);
    if (!png_image_write_to_memory(&img, out.data(), &size, 0, pixels, stride, nullptr))
        throw ImageError(ImageError::Kind::Io, std::string("PNG cannot be written: ") + img.message);
    out.resize(size);
    return out;
}

// --- by content and files ------------------------------------------------

ImageFormat DetectImageFormat(std::span<const std::uint8_t> d)
{
    if (d.size() >= 2 && d[0] == 'B' && d[1] == 'M') return ImageFormat::Bmp;
    if (d.size() >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF) return ImageFormat::Jpeg;
    static constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (d.size() >= 8 && std::memcmp(d.data(), kPng, 8) == 0) return ImageFormat::Png;
    return ImageFormat::Unknown;
}

TBitmap DecodeImage(std::span<const std::uint8_t> data)
{
    switch (DetectImageFormat(data)) {
    case ImageFormat::Bmp: return DecodeBmp(data);
    case ImageFormat::Jpeg: return DecodeJpeg(data);
    case ImageFormat::Png: return DecodePng(data);
    case ImageFormat::Unknown: break;
    }
    Unsupported("not a BMP, JPEG or PNG picture");
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ImageError(ImageError::Kind::Io, "cannot open \"" + path.string() + "\"");
    std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw ImageError(ImageError::Kind::Io, "cannot read \"" + path.string() + "\"");
    return data;
}

void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> data)
{
    // Written beside the target and renamed over it, so that a failed write
    // never leaves a half file in place of a good one.
    std::filesystem::path tmp = path;
    tmp += ".part";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) throw ImageError(ImageError::Kind::Io, "cannot create \"" + path.string() + "\"");
        out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
        out.close();
        if (!out) {
            std::error_code ec;
            std::filesystem::remove(tmp, ec);
            throw ImageError(ImageError::Kind::Io, "cannot write \"" + path.string() + "\"");
        }
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        throw ImageError(ImageError::Kind::Io, "cannot replace \"" + path.string() + "\"");
    }
}

namespace {
template <class Fn>
TBitmap LoadWith(const std::filesystem::path& path, Fn&& decode)
{
    const auto data = ReadFileBytes(path);
    try {
        return decode(std::span<const std::uint8_t>(data));
    } catch (const ImageError& e) {
        throw ImageError(e.kind(), "\"" + path.string() + "\": " + e.what());
    }
}
}  // namespace

TBitmap LoadImage(const std::filesystem::path& path)
{
    return LoadWith(path, [](auto d) { return DecodeImage(d); });
}
TBitmap LoadBmp(const std::filesystem::path& path)
{
    return LoadWith(path, [](auto d) { return DecodeBmp(d); });
}
TBitmap LoadJpeg(const std::filesystem::path& path, int scaleDenom)
{
    return LoadWith(path, [scaleDenom](auto d) { return DecodeJpeg(d, scaleDenom); });
}
TBitmap LoadPng(const std::filesystem::path& path)
{
    return LoadWith(path, [](auto d) { return DecodePng(d); });
}
void SaveBmp(const TBitmap& bitmap, const std::filesystem::path& path)
{
    WriteFileBytes(path, EncodeBmp(bitmap));
}
void SaveJpeg(const TBitmap& bitmap, const std::filesystem::path& path, int quality)
{
    WriteFileBytes(path, EncodeJpeg(bitmap, quality));
}
void SavePng(const TBitmap& bitmap, const std::filesystem::path& path)
{
    WriteFileBytes(path, EncodePng(bitmap));
}

}  // namespace gfx
