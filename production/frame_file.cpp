#include "production/frame_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cstring>

#include "platform/gfx/bitmap.h"

namespace production {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    out[at] = std::uint8_t(v);
    out[at + 1] = std::uint8_t(v >> 8);
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) out[at + i] = std::uint8_t(v >> (8 * i));
}

constexpr std::size_t kHeaderSize = 14 + 40 + 12;

}  // namespace

std::vector<std::uint8_t> FrameFileHeader(int width, int height)
{
    std::vector<std::uint8_t> header(kHeaderSize, 0);
    const std::uint32_t pixels = std::uint32_t(width) * std::uint32_t(height) * 4;
    header[0] = 'B';
    header[1] = 'M';
    Put32(header, 2, std::uint32_t(kHeaderSize) + pixels);
    Put32(header, 10, std::uint32_t(kHeaderSize));
    Put32(header, 14, 40);
    Put32(header, 18, std::uint32_t(width));
    Put32(header, 22, std::uint32_t(-height));  // negative: top row first
    Put16(header, 26, 1);
    Put16(header, 28, 32);
    Put32(header, 30, 3);  // BI_BITFIELDS
    Put32(header, 34, pixels);
    Put32(header, 38, 2835);
    Put32(header, 42, 2835);
    // Red in the low byte, as TBitmap keeps it.
    Put32(header, 54, 0x000000FF);
    Put32(header, 58, 0x0000FF00);
    Put32(header, 62, 0x00FF0000);
    return header;
}

FrameFileWriter::~FrameFileWriter() { Close(); }

void FrameFileWriter::Unmap()
{
    if (map_) ::munmap(map_, std::size_t(size_));
    map_ = nullptr;
}

void FrameFileWriter::Close()
{
    Unmap();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    path_.clear();
    size_ = 0;
}

bool FrameFileWriter::Reserve(std::int64_t total)
{
    // Only a change of size needs the file cut to length.
    Unmap();
    if (::ftruncate(fd_, total) != 0) return false;
    size_ = total;
    // Mapped only over blocks that are the file's already: a write into a
    // hole that the disk has no room for would kill the process.
    if (::posix_fallocate(fd_, 0, total) != 0) return true;
    void* map = ::mmap(nullptr, std::size_t(total), PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
    if (map != MAP_FAILED) map_ = map;
    return true;
}

bool FrameFileWriter::WriteThrough(const std::vector<std::uint8_t>& header, const TBitmap& bitmap)
{
    const std::int64_t pixelBytes = std::int64_t(bitmap.Width()) * bitmap.Height() * 4;
    const std::int64_t total = std::int64_t(header.size()) + pixelBytes;
    iovec parts[2] = {{const_cast<std::uint8_t*>(header.data()), header.size()},
                      {const_cast<std::uint32_t*>(bitmap.Pixels()), std::size_t(pixelBytes)}};
    std::int64_t done = 0;
    while (done < total) {
        // Skip what the earlier rounds wrote.
        iovec rest[2];
        int count = 0;
        std::int64_t skip = done;
        for (const iovec& part : parts) {
            if (skip >= std::int64_t(part.iov_len)) {
                skip -= std::int64_t(part.iov_len);
                continue;
            }
            rest[count++] = {static_cast<std::uint8_t*>(part.iov_base) + skip,
                             part.iov_len - std::size_t(skip)};
            skip = 0;
        }
        const ssize_t wrote = ::pwritev(fd_, rest, count, done);
        if (wrote <= 0) return false;
        done += wrote;
    }
    return true;
}

bool FrameFileWriter::Write(const TBitmap& bitmap, const std::string& path)
{
    if (bitmap.Empty()) return false;
    // A file deleted, replaced or cut behind our back is opened again.
    if (fd_ >= 0) {
        struct stat open {
        }, named{};
        if (path != path_ || ::fstat(fd_, &open) != 0 || ::stat(path.c_str(), &named) != 0 ||
            open.st_ino != named.st_ino || open.st_dev != named.st_dev || open.st_size != size_)
            Close();
    }
    if (fd_ < 0) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0) return false;
        path_ = path;
        size_ = -1;
    }
    const std::vector<std::uint8_t> header = FrameFileHeader(bitmap.Width(), bitmap.Height());
    const std::int64_t total =
        std::int64_t(header.size()) + std::int64_t(bitmap.Width()) * bitmap.Height() * 4;
    if (size_ != total && !Reserve(total)) {
        Close();
        return false;
    }
    if (map_) {
        auto* bytes = static_cast<std::uint8_t*>(map_);
        std::memcpy(bytes, header.data(), header.size());
        std::memcpy(bytes + header.size(), bitmap.Pixels(), std::size_t(total) - header.size());
        return true;
    }
    if (!WriteThrough(header, bitmap)) {
        Close();
        return false;
    }
    return true;
}

}  // namespace production
