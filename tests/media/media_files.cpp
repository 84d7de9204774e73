#include "tests/media/media_files.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

namespace media_test {
namespace {

struct Folder {
    fs::path path;
    Folder()
    {
        path = fs::temp_directory_path() / ("velmora_media_" + std::to_string(::getpid()));
        fs::create_directories(path);
    }
    ~Folder()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

fs::path Make(const std::string& name, const std::string& ffmpeg_arguments)
{
    const fs::path file = TempDir() / name;
    if (fs::exists(file)) return file;
    const std::string command =
        "ffmpeg -nostdin -hide_banner -loglevel error -y " + ffmpeg_arguments + " '" + file.string() + "'";
    if (std::system(command.c_str()) != 0 || !fs::exists(file))
        throw std::runtime_error("cannot make test media: " + command);
    return file;
}

void AppendBytes(const fs::path& file, size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::ofstream out(file, std::ios::binary | std::ios::app);
    for (size_t i = 0; i < count; ++i) out.put(static_cast<char>(random() & 0xFF));
}

}  // namespace

fs::path TempDir()
{
    static Folder folder;
    return folder.path;
}

fs::path WavTone3s()
{
    return Make("tone.wav", "-f lavfi -i sine=frequency=440:duration=3:sample_rate=44100 -c:a pcm_s16le");
}

fs::path WavTone(double seconds)
{
    const std::string length = std::to_string(seconds);
    return Make("tone_" + length + ".wav",
                "-f lavfi -i sine=frequency=440:duration=" + length + ":sample_rate=44100 -c:a pcm_s16le");
}

fs::path CbrMp3Tone3s()
{
    return Make("tone.mp3",
                "-f lavfi -i sine=frequency=440:duration=3:sample_rate=44100 -c:a libmp3lame -b:a 128k");
}

fs::path VbrMp3NoiseFirst()
{
    return Make("noise_first.mp3",
                "-f lavfi -i anoisesrc=d=1:a=0.5:r=44100,apad=whole_dur=3 "
                "-c:a libmp3lame -q:a 2 -write_xing 0");
}

fs::path VbrMp3NoiseLast()
{
    return Make("noise_last.mp3",
                "-f lavfi -i anoisesrc=d=1:a=0.5:r=44100,adelay=delays=2000:all=1 "
                "-c:a libmp3lame -q:a 2 -write_xing 0");
}

fs::path TemplateAvi()
{
    const fs::path plain = Make("template_plain.avi",
                                "-f lavfi -i testsrc=size=176x144:rate=25:duration=2 "
                                "-f lavfi -i sine=frequency=440:duration=2:sample_rate=44100 "
                                "-c:v mpeg4 -q:v 4 -c:a pcm_s16le -shortest");
    const fs::path file = TempDir() / "template.avi";
    if (!fs::exists(file)) {
        fs::copy_file(plain, file);
        AppendBytes(file, 2560, 7);  // the template's trailing settings block
    }
    return file;
}

fs::path OpeningMpg()
{
    return Make("opening.mpg",
                "-f lavfi -i testsrc=size=352x288:rate=25:duration=2 "
                "-f lavfi -i sine=frequency=440:duration=2:sample_rate=44100 "
                "-c:v mpeg1video -b:v 1M -c:a mp2 -b:a 128k -f mpeg");
}

fs::path RedAvi()
{
    return Make("red.avi", "-f lavfi -i color=c=red:size=64x48:rate=25:duration=1 -c:v mpeg4 -q:v 2");
}

fs::path Mp3WithGarbageInside()
{
    const fs::path file = TempDir() / "garbage_inside.mp3";
    if (!fs::exists(file)) {
        fs::copy_file(CbrMp3Tone3s(), file);
        const auto size = fs::file_size(file);
        std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
        out.seekp(static_cast<std::streamoff>(size / 3));
        std::mt19937 random(5);
        for (auto i = size / 3; i < size * 2 / 3; ++i) out.put(static_cast<char>(random() & 0xFF));
    }
    return file;
}

fs::path FlacCutShort()
{
    const fs::path whole =
        Make("tone.flac", "-f lavfi -i sine=frequency=440:duration=3:sample_rate=44100 -c:a flac");
    const fs::path file = TempDir() / "cut.flac";
    if (!fs::exists(file)) {
        fs::copy_file(whole, file);
        fs::resize_file(file, fs::file_size(whole) / 2 + 1);
    }
    return file;
}

fs::path Mp3WithJunkAfterItsEnd()
{
    const fs::path file = TempDir() / "junk_after.mp3";
    if (!fs::exists(file)) {
        fs::copy_file(CbrMp3Tone3s(), file);
        AppendBytes(file, 3000, 9);
    }
    return file;
}

fs::path Garbage(const std::string& name)
{
    const fs::path file = TempDir() / name;
    if (!fs::exists(file)) AppendBytes(file, 200000, 11);
    return file;
}

fs::path TextFile(const std::string& name)
{
    const fs::path file = TempDir() / name;
    if (!fs::exists(file)) {
        std::ofstream out(file);
        for (int i = 0; i < 200; ++i) out << "this is not a media file\n";
    }
    return file;
}

fs::path EmptyFile(const std::string& name)
{
    const fs::path file = TempDir() / name;
    std::ofstream{file};
    return file;
}

}  // namespace media_test
