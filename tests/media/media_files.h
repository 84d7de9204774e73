#pragma once
// Media files made for the tests by the ffmpeg command-line tool, in a
// temporary folder of this test process (removed when it exits).
#include <filesystem>
#include <string>

namespace media_test {

// Each is made on first use and then reused.
std::filesystem::path WavTone3s();               // 3.000 s, 44.1 kHz mono PCM
std::filesystem::path WavTone(double seconds);   // a tone of any length
std::filesystem::path CbrMp3Tone3s();            // 3 s, 128 kbit/s, with its info frame
std::filesystem::path VbrMp3NoiseFirst();        // 3 s VBR, no length header: noise, then silence
std::filesystem::path VbrMp3NoiseLast();         // 3 s VBR, no length header: silence, then noise
std::filesystem::path TemplateAvi();             // 2 s moving test picture + tone, 2560 bytes appended
std::filesystem::path OpeningMpg();              // 2 s MPEG-1 program stream, 352x288, with sound
std::filesystem::path RedAvi();                  // 1 s solid red picture, no sound
std::filesystem::path Mp3WithGarbageInside();    // CbrMp3Tone3s with random bytes over its middle third
std::filesystem::path FlacCutShort();            // a 3 s tone cut inside a frame at half its size
std::filesystem::path Mp3WithJunkAfterItsEnd();  // CbrMp3Tone3s followed by random bytes
std::filesystem::path Garbage(const std::string& name);  // random bytes
std::filesystem::path TextFile(const std::string& name);
std::filesystem::path EmptyFile(const std::string& name);

std::filesystem::path TempDir();

}  // namespace media_test
