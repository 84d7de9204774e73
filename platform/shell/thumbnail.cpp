#include "platform/shell/thumbnail.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <fstream>

#include "platform/gfx/image_io.h"
#include "platform/shell/picture_icon.h"
#include "platform/shell/resample.h"

namespace shell {

namespace {

// See-through pixels show the white of a page, as they would in a viewer.
void FlattenOnWhite(TBitmap& picture)
{
    std::uint32_t* p = picture.Pixels();
    const std::size_t count = static_cast<std::size_t>(picture.Width()) * picture.Height();
    for (std::size_t i = 0; i < count; ++i) {
        p[i] = gfx::MixColor(p[i], clWhite, gfx::GetAValue(p[i]));
    }
    picture.SetHasAlpha(false);
}

// The whole file in one read of its known size.
std::vector<std::uint8_t> ReadWholeFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (!in || ec) throw gfx::ImageError(gfx::ImageError::Kind::Io, "cannot open " + file.string());
    std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()))) {
        throw gfx::ImageError(gfx::ImageError::Kind::Io, "cannot read " + file.string());
    }
    return data;
}

}  // namespace

TSize FitInside(TSize picture, TSize frame)
{
    if (picture.cx <= 0 || picture.cy <= 0 || frame.cx <= 0 || frame.cy <= 0) return {};
    const std::int64_t w = picture.cx, h = picture.cy, fw = frame.cx, fh = frame.cy;
    // Height-bound when the picture is relatively taller than the frame.
    if (w * fh <= h * fw) {
        const int width = static_cast<int>((w * fh * 2 + h) / (h * 2));
        return {std::clamp(width, 1, frame.cx), frame.cy};
    }
    const int height = static_cast<int>((h * fw * 2 + w) / (w * 2));
    return {frame.cx, std::clamp(height, 1, frame.cy)};
}

std::optional<TBitmap> ExtractThumbnail(const fs::path& file, TSize frame, ThumbnailFault* fault)
{
    if (fault) *fault = ThumbnailFault::None;
    if (frame.cx <= 0 || frame.cy <= 0) return std::nullopt;
    auto none = [fault](ThumbnailFault why) {
        if (fault) *fault = why;
        return std::nullopt;
    };
    try {
        const std::vector<std::uint8_t> data = ReadWholeFile(file);
        TBitmap decoded;
        TSize fitted;
        if (gfx::DetectImageFormat(data) == gfx::ImageFormat::Jpeg) {
            const TSize size = gfx::JpegSize(data);
            fitted = FitInside(size, frame);
            if (fitted.cx <= 0) return none(ThumbnailFault::Unreadable);
            decoded = gfx::DecodeJpeg(data, gfx::JpegScaleFor(size, fitted.cx, fitted.cy),
                                      gfx::DamagedData::Refused);
        } else {
            decoded = gfx::DecodeImage(data);
            fitted = FitInside({decoded.Width(), decoded.Height()}, frame);
        }
        if (decoded.Empty() || fitted.cx <= 0) return none(ThumbnailFault::Unreadable);
        if (decoded.HasAlpha()) FlattenOnWhite(decoded);
        if (decoded.Width() == fitted.cx && decoded.Height() == fitted.cy && !decoded.HasAlpha()) {
            return decoded;
        }
        return ResamplePicture(decoded, fitted.cx, fitted.cy);
    } catch (const gfx::ImageError& e) {
        // Unreadable, malformed or too large: the caller shows the icon.
        return none(e.kind() == gfx::ImageError::Kind::TooLarge ? ThumbnailFault::TooLarge
                                                                : ThumbnailFault::Unreadable);
    } catch (const std::exception&) {
        return none(ThumbnailFault::Unreadable);
    }
}

TBitmap ThumbnailOrIcon(const fs::path& file, TSize frame, ThumbnailFault* fault)
{
    if (auto thumbnail = ExtractThumbnail(file, frame, fault)) return std::move(*thumbnail);
    return PictureIcon();
}

TPoint CentredOrigin(TSize frame, TSize picture)
{
    return {(frame.cx - picture.cx) / 2, (frame.cy - picture.cy) / 2};
}

}  // namespace shell
