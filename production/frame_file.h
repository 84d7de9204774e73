// The frame file that the encoder reads for every frame of the template and
// ending stages. It is rewritten once a frame, so it is written the cheap
// way: a 32-bit top-down bitmap whose pixel rows are the TBitmap's own
// memory, copied in place over the previous frame into a mapping of the
// file that stays open (no write call, no truncation, no conversion); the
// encoder maps the same pages. Where the file's blocks can't be reserved
// (a full disk would fault on a mapped write) it is written with pwritev.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TBitmap;

namespace production {

// The BMP file form of a bitmap as the frame file holds it: a 40-byte
// header with BI_BITFIELDS masks for the 0x00BBGGRR pixels, rows top-down.
std::vector<std::uint8_t> FrameFileHeader(int width, int height);

class FrameFileWriter {
public:
    FrameFileWriter() = default;
    ~FrameFileWriter();
    FrameFileWriter(const FrameFileWriter&) = delete;
    FrameFileWriter& operator=(const FrameFileWriter&) = delete;

    // Replaces the file's content with the bitmap; false when the file
    // can't be written (the old content may then stay).
    bool Write(const TBitmap& bitmap, const std::string& path);
    // Closes the file (before it is deleted).
    void Close();

private:
    bool Reserve(std::int64_t total);
    bool WriteThrough(const std::vector<std::uint8_t>& header, const TBitmap& bitmap);
    void Unmap();

    int fd_ = -1;
    std::string path_;
    std::int64_t size_ = 0;
    void* map_ = nullptr;  // the whole file, size_ bytes, when mapped
};

}  // namespace production
