// The frame file that the encoder reads for every frame of the template and
// ending stages. It is rewritten once a frame, so it is written the cheap
// way: a 32-bit top-down bitmap whose pixel rows are the TBitmap's own
// memory, written in place over the previous frame through a file that
// stays open (no truncation, no conversion).
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
    int fd_ = -1;
    std::string path_;
    std::int64_t size_ = 0;
};

}  // namespace production
