#pragma once
// Songs for the music list's tests, written in-process: a sine tone as
// plain PCM WAV, and as an MP3 through libavcodec's LAME encoder.
#include <filesystem>

namespace app_test {

// 16-bit mono PCM at `rate` samples a second.
void WriteWavTone(const std::filesystem::path& file, double seconds, int rate = 8000);
// 44.1 kHz mono, 64 kbit/s CBR, with the info frame that gives its length.
// Throws std::runtime_error when it cannot be written.
void WriteMp3Tone(const std::filesystem::path& file, double seconds);

}  // namespace app_test
