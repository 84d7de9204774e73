#include "mcl/mapped_bitmap.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mcl {
namespace {

std::uint32_t Get16(const std::uint8_t* p) { return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8; }
std::uint32_t Get32(const std::uint8_t* p) { return Get16(p) | Get16(p + 2) << 16; }

// The byte that a bit field of one whole byte names, -1 for any other mask.
int ByteOf(std::uint32_t mask)
{
    for (int i = 0; i < 4; ++i)
        if (mask == 0xFFu << (8 * i)) return i;
    return -1;
}

constexpr int kLargest = 16384;                             // pixels a side
constexpr std::size_t kLargestFile = std::size_t{1} << 30;  // as the general reader

}  // namespace

std::optional<PlainBitmap> ParsePlainBitmap(const std::uint8_t* data, std::size_t size)
{
    if (!data || size < 54 || data[0] != 'B' || data[1] != 'M') return std::nullopt;
    const std::uint32_t offset = Get32(data + 10);
    const std::uint32_t headerSize = Get32(data + 14);
    const std::int32_t width = std::int32_t(Get32(data + 18));
    const std::int32_t height = std::int32_t(Get32(data + 22));
    const std::uint32_t planes = Get16(data + 26), bits = Get16(data + 28);
    const std::uint32_t compression = Get32(data + 30);
    if (headerSize < 40 || headerSize > 124 || planes != 1 || bits != 32) return std::nullopt;
    if (width <= 0 || width > kLargest || height == 0 || height < -kLargest || height > kLargest)
        return std::nullopt;
    PlainBitmap bitmap;
    if (compression == 0) {
        bitmap.format = AV_PIX_FMT_BGR0;
    } else if (compression == 3) {
        if (size < 66) return std::nullopt;
        const int r = ByteOf(Get32(data + 54)), g = ByteOf(Get32(data + 58)), b = ByteOf(Get32(data + 62));
        if (r == 0 && g == 1 && b == 2)
            bitmap.format = AV_PIX_FMT_RGB0;
        else if (r == 2 && g == 1 && b == 0)
            bitmap.format = AV_PIX_FMT_BGR0;
        else if (r == 1 && g == 2 && b == 3)
            bitmap.format = AV_PIX_FMT_0RGB;
        else if (r == 3 && g == 2 && b == 1)
            bitmap.format = AV_PIX_FMT_0BGR;
        else
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    const int rows = height < 0 ? -height : height;
    const std::uint64_t rowBytes = std::uint64_t(width) * 4;
    if (offset < 14 + headerSize || std::uint64_t(offset) + rowBytes * std::uint64_t(rows) > size)
        return std::nullopt;
    bitmap.width = width;
    bitmap.height = rows;
    if (height < 0) {
        bitmap.offset = offset;
        bitmap.stride = std::ptrdiff_t(rowBytes);
    } else {
        bitmap.offset = offset + std::size_t(rowBytes) * std::size_t(rows - 1);
        bitmap.stride = -std::ptrdiff_t(rowBytes);
    }
    return bitmap;
}

MappedBitmap::~MappedBitmap() { Unmap(); }

void MappedBitmap::Unmap()
{
    if (map_) ::munmap(map_, size_);
    if (fd_ >= 0) ::close(fd_);
    map_ = nullptr;
    fd_ = -1;
    size_ = 0;
    path_.clear();
}

std::optional<RgbPicture> MappedBitmap::Map(const std::string& path)
{
    // The mapping follows the file's content; a file replaced, renamed over
    // or cut to another length is mapped again. The caller reads the pixels
    // right after this check, and the application writes the file only
    // between two reads.
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0) {
        Unmap();
        return std::nullopt;
    }
    if (fd_ < 0 || path != path_ || named.st_dev != dev_ || named.st_ino != ino_ ||
        std::size_t(named.st_size) != size_) {
        Unmap();
        if (!S_ISREG(named.st_mode) || named.st_size < 54 || std::size_t(named.st_size) > kLargestFile)
            return std::nullopt;
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) return std::nullopt;
        struct stat opened {};
        if (::fstat(fd_, &opened) != 0 || opened.st_size < 54 || std::size_t(opened.st_size) > kLargestFile) {
            Unmap();
            return std::nullopt;
        }
        void* map = ::mmap(nullptr, std::size_t(opened.st_size), PROT_READ, MAP_SHARED, fd_, 0);
        if (map == MAP_FAILED) {
            Unmap();
            return std::nullopt;
        }
        map_ = map;
        size_ = std::size_t(opened.st_size);
        dev_ = opened.st_dev;
        ino_ = opened.st_ino;
        path_ = path;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(map_);
    const std::optional<PlainBitmap> bitmap = ParsePlainBitmap(bytes, size_);
    if (!bitmap) return std::nullopt;
    return RgbPicture{bytes + bitmap->offset, bitmap->stride, bitmap->width, bitmap->height, bitmap->format};
}

}  // namespace mcl
