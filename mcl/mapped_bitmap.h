// A picture entry that is a plain 32-bit bitmap (the application's frame
// file is one, rewritten in place every frame) read through a mapping that
// stays open from frame to frame: its pixels go straight from the page cache
// to the colour conversion, with no read() and no decoder copy.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "mcl/picture_convert.h"

namespace mcl {

// Where the pixels of a bitmap file lie: an uncompressed 32-bit BMP (plain
// BGR or bit fields naming one of the byte orders), top-down or bottom-up,
// whose pixels all lie inside the file. Nothing for any other file.
struct PlainBitmap {
    std::size_t offset = 0;     // of the top row
    std::ptrdiff_t stride = 0;  // negative: the file holds the bottom row first
    int width = 0, height = 0;
    AVPixelFormat format = AV_PIX_FMT_NONE;
};
std::optional<PlainBitmap> ParsePlainBitmap(const std::uint8_t* data, std::size_t size);

class MappedBitmap {
public:
    MappedBitmap() = default;
    MappedBitmap(const MappedBitmap&) = delete;
    MappedBitmap& operator=(const MappedBitmap&) = delete;
    ~MappedBitmap();

    // The picture of the file as it stands, valid until the next call or
    // until the file is written again; nothing when it is no plain bitmap
    // (the caller then reads it the general way).
    std::optional<RgbPicture> Map(const std::string& path);

private:
    void Unmap();

    std::string path_;
    int fd_ = -1;
    void* map_ = nullptr;
    std::size_t size_ = 0;
    dev_t dev_ = 0;
    ino_t ino_ = 0;
};

}  // namespace mcl
