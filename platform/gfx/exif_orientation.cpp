#include "platform/gfx/exif_orientation.h"

#include <cstring>
#include <fstream>
#include <optional>
#include <vector>

namespace gfx {

namespace {

constexpr int kAsStored = 1;
constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;
// The markers before the picture data are at most a few APP segments of
// 64 KiB each.
constexpr std::size_t kHeadBytes = 1u << 20;

// Reads the TIFF structure inside the APP1 payload, in its own byte order;
// every read is checked against the payload's end.
class TiffReader {
public:
    TiffReader(std::span<const std::uint8_t> tiff, bool big_endian) : tiff_(tiff), big_endian_(big_endian) {}

    std::optional<std::uint16_t> U16(std::size_t at) const
    {
        if (at > tiff_.size() || tiff_.size() - at < 2) return std::nullopt;
        const std::uint8_t a = tiff_[at], b = tiff_[at + 1];
        return static_cast<std::uint16_t>(big_endian_ ? (a << 8) | b : (b << 8) | a);
    }
    std::optional<std::uint32_t> U32(std::size_t at) const
    {
        const auto hi = U16(big_endian_ ? at : at + 2);
        const auto lo = U16(big_endian_ ? at + 2 : at);
        if (!hi || !lo) return std::nullopt;
        return (static_cast<std::uint32_t>(*hi) << 16) | *lo;
    }

private:
    std::span<const std::uint8_t> tiff_;
    bool big_endian_;
};

int OrientationInTiff(std::span<const std::uint8_t> tiff)
{
    if (tiff.size() < 8) return kAsStored;
    bool big_endian;
    if (tiff[0] == 'I' && tiff[1] == 'I')
        big_endian = false;
    else if (tiff[0] == 'M' && tiff[1] == 'M')
        big_endian = true;
    else
        return kAsStored;
    const TiffReader r(tiff, big_endian);
    if (r.U16(2) != 42) return kAsStored;
    const auto ifd = r.U32(4);
    if (!ifd) return kAsStored;
    const auto count = r.U16(*ifd);
    // A directory that runs past the payload is damaged as a whole.
    if (!count || !r.U16(*ifd + 2 + 12 * std::size_t(*count) - 2)) return kAsStored;
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t entry = *ifd + 2 + 12 * i;
        if (r.U16(entry) != kOrientationTag) continue;
        const auto type = r.U16(entry + 2);
        const auto values = r.U32(entry + 4);
        const auto value = r.U16(entry + 8);
        if (type != kShortType || !values || *values < 1 || !value) return kAsStored;
        return *value >= 1 && *value <= 8 ? *value : kAsStored;
    }
    return kAsStored;
}

}  // namespace

int JpegOrientation(std::span<const std::uint8_t> d)
{
    if (d.size() < 4 || d[0] != 0xFF || d[1] != 0xD8) return kAsStored;
    std::size_t at = 2;
    while (at + 4 <= d.size()) {
        if (d[at] != 0xFF) return kAsStored;
        const std::uint8_t marker = d[at + 1];
        if (marker == 0xFF) {  // fill byte before a marker
            ++at;
            continue;
        }
        // Picture data or the end: no orientation came before it.
        if (marker == 0xDA || marker == 0xD9) return kAsStored;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
            at += 2;
            continue;
        }
        const std::size_t length = (static_cast<std::size_t>(d[at + 2]) << 8) | d[at + 3];
        if (length < 2 || d.size() - (at + 2) < length) return kAsStored;
        const std::span<const std::uint8_t> payload = d.subspan(at + 4, length - 2);
        static constexpr std::uint8_t kExif[] = {'E', 'x', 'i', 'f', 0, 0};
        if (marker == 0xE1 && payload.size() >= sizeof kExif &&
            std::memcmp(payload.data(), kExif, sizeof kExif) == 0)
            return OrientationInTiff(payload.subspan(sizeof kExif));
        at += 2 + length;
    }
    return kAsStored;
}

int JpegOrientation(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) return kAsStored;
    std::vector<std::uint8_t> head(kHeadBytes);
    in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return JpegOrientation(std::span<const std::uint8_t>(head));
}

}  // namespace gfx
