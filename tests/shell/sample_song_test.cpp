// The shipped sample song: a real MP3 that its lyrics fit.
// GCC 12 warns falsely inside std::regex once it is inlined with the
// sanitizers on; the warning points into the standard headers.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <gtest/gtest.h>

#include <regex>

#include <string>

extern "C" {
#include <libavformat/avformat.h>
}

#include "platform/core/files.h"

namespace {

namespace fs = std::filesystem;

TEST(SampleSong, Mp3IsStereoAndOutlastsItsLyrics)
{
    const fs::path mp3 = fs::path(VELMORA_DATA_OUT) / "MP3歌曲" / "相册小调.mp3";
    const fs::path lrc = fs::path(VELMORA_DATA_OUT) / "LRC歌词" / "相册小调.lrc";
    AVFormatContext* format = nullptr;
    ASSERT_EQ(avformat_open_input(&format, mp3.c_str(), nullptr, nullptr), 0) << mp3;
    ASSERT_GE(avformat_find_stream_info(format, nullptr), 0);
    EXPECT_STREQ(format->iformat->name, "mp3");
    ASSERT_EQ(format->nb_streams, 1u);
    const AVCodecParameters* audio = format->streams[0]->codecpar;
    EXPECT_EQ(audio->codec_id, AV_CODEC_ID_MP3);
    EXPECT_EQ(audio->ch_layout.nb_channels, 2);
    EXPECT_EQ(audio->sample_rate, 44100);
    const double seconds = static_cast<double>(format->duration) / AV_TIME_BASE;
    avformat_close_input(&format);
    EXPECT_GT(seconds, 20.0);
    EXPECT_LT(seconds, 30.0);

    // Every time tag of the lyrics lies inside the song.
    auto text = core::ReadFileBytes(lrc);
    ASSERT_TRUE(text) << lrc;
    const std::regex tag(R"(\[(\d\d):(\d\d)\.(\d\d)\])");
    int tags = 0;
    for (auto it = std::sregex_iterator(text->begin(), text->end(), tag); it != std::sregex_iterator();
         ++it) {
        const double at = std::stoi((*it)[1]) * 60 + std::stoi((*it)[2]) + std::stoi((*it)[3]) / 100.0;
        EXPECT_LT(at, seconds);
        ++tags;
    }
    EXPECT_GE(tags, 5);
}

}  // namespace
