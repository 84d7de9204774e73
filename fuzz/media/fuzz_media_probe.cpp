// Media files from outside: measuring, decoding and picture conversion
// must survive any bytes.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/media/decoder.h"
#include "platform/media/frame_scaler.h"
#include "platform/media/probe.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // FFmpeg reads files; one scratch file per fuzzing process, named
    // without an extension so that only the content picks the format.
    static const fs::path file =
        fs::temp_directory_path() / ("velmora_fuzz_media_" + std::to_string(::getpid()));
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const media::MediaInfo info = media::ProbeMedia(file);
    if (!info.Ok() && info.duration != 0) __builtin_trap();

    media::Decoder decoder;
    std::string error;
    if (decoder.Open(file, nullptr, error)) {
        std::vector<int16_t> samples;
        std::vector<media::VideoFrame> pictures;
        media::FrameScaler scaler;
        std::vector<uint32_t> pane(32 * 24);
        for (int step = 0; step < 500 && decoder.Step(samples, pictures); ++step) {
            for (const media::VideoFrame& picture : pictures)
                scaler.Scale(*picture.frame, pane.data(), 32, 24, 32);
            pictures.clear();
            samples.clear();
        }
    }
    std::error_code ignored;
    fs::remove(file, ignored);
    return 0;
}
