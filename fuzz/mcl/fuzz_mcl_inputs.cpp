// An outside media file as libmcl's inputs meet it: probed and classified,
// read as a picture, as a video entry and as an audio entry. The encoders
// behind them take no outside data and are left out to keep runs short.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "mcl/audio_input.h"
#include "mcl/mapped_bitmap.h"
#include "mcl/mcl.h"
#include "mcl/probe.h"
#include "mcl/video_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = [] {
        char pattern[] = "/tmp/fuzz_mcl_XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made ? made : "/tmp") + "/input";
    }();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    mcl::EntryInfo info = mcl::ProbeEntry(path);
    std::string error;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        mcl::ImageReader images;  // other pictures take the media path below
        images.Read(path, &error);
        // a plain bitmap as the run takes it: mapped and converted at its size and at half
        mcl::MappedBitmap mapped;
        if (const std::optional<mcl::RgbPicture> rgb = mapped.Map(path); rgb && rgb->width <= 1024)
            for (int scale = 1; scale <= 2; ++scale) {
                mcl::PicturePool pool(std::max(2, rgb->width / scale & ~1),
                                      std::max(2, rgb->height / scale & ~1));
                if (mcl::Frame out = pool.Get()) mcl::ConvertToYuv420(*rgb, out.get());
            }
    }
    if (info.kind != mcl::EntryKind::Media) return 0;
    if (info.hasVideo) {
        mcl::MediaVideoReader video;
        // a damaged header may claim hours: only the first frames are taken
        if (video.Open(path, &error))
            for (int64_t k = 0; k < 12; ++k) {
                std::string damage;
                video.FrameAt(k, &damage);
            }
    }
    mcl::AudioFormat format;  // the AVI output's: 44.1 kHz, 16-bit
    mcl::AudioFifo fifo(av_audio_fifo_alloc(format.sampleFormat, 2, 4096));
    mcl::AudioEntryReader audio(format);
    if (audio.Open(path, 0, &error)) {
        int64_t total = 0;
        // damage is told once and then read past, as a continuing run does
        while (total < 22050 && !audio.Done())
            if (mcl::Status s = audio.Read(fifo.get(), 4096, &total);
                s.code != MCL_ERROR_INPUT_DECODE && !s.ok())
                break;
    }
    return 0;
}
