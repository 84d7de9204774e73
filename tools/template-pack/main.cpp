// template-pack: writes effect template files and the sample photos that
// ship beside them.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "tools/template-pack/sample_photos.h"
#include "tools/template-pack/template_pack.h"
#include "tools/template-pack/movie_preview.h"

namespace fs = std::filesystem;
using namespace template_pack;

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  template-pack MOVIE PHOTO_FOLDER OUTPUT.avi\n"
    "      renders MOVIE's preview video with the JPEG photos of PHOTO_FOLDER\n"
    "      (in name order) and writes the template file OUTPUT.avi\n"
    "  template-pack --video VIDEO MOVIE OUTPUT.avi\n"
    "      writes the template file with a ready preview video\n"
    "  template-pack --ending MOVIE PICTURE PLAY_FRAME STILL_FRAME OUTPUT.mpg\n"
    "      renders the ending movie's video (PICTURE as the album's last\n"
    "      picture) and writes the ending-title template OUTPUT.mpg; the titles\n"
    "      dialog starts its preview on PLAY_FRAME and rests on STILL_FRAME - 1\n"
    "  template-pack --photos FOLDER COUNT [WIDTHxHEIGHT]\n"
    "      writes COUNT sample photos FOLDER/photo1.jpg.. (default 640x480)\n";

std::string ReadWhole(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw PackError("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Written under a temporary name and renamed, so that a failed run leaves
// no half-written template behind.
void WriteWhole(const fs::path& path, const std::string& bytes)
{
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    const fs::path temporary = path.string() + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) throw PackError("cannot write " + temporary.string());
    }
    fs::rename(temporary, path);
}

int Pack(const fs::path& video, const fs::path& movie, const fs::path& output)
{
    WriteWhole(output, PackTemplate(ReadWhole(video), ReadWhole(movie)));
    return 0;
}

fs::path ScratchFolder(const fs::path& output)
{
    return fs::temp_directory_path() /
           ("velmora_template_pack_" + std::to_string(::getpid()) + "_" + output.stem().string());
}

int RenderAndPack(const fs::path& movie, const fs::path& photo_folder, const fs::path& output)
{
    std::vector<fs::path> photos;
    for (const auto& entry : fs::directory_iterator(photo_folder)) {
        std::string ext = entry.path().extension().string();
        for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (entry.is_regular_file() && (ext == ".jpg" || ext == ".jpeg")) photos.push_back(entry.path());
    }
    std::sort(photos.begin(), photos.end(), [](const fs::path& a, const fs::path& b) {
        // photo2 before photo10
        const std::string x = a.filename().string(), y = b.filename().string();
        return x.size() != y.size() ? x.size() < y.size() : x < y;
    });
    const fs::path scratch = ScratchFolder(output);
    const fs::path video = scratch.string() + ".avi";
    struct RemoveVideo {
        fs::path path;
        ~RemoveVideo()
        {
            std::error_code ignored;
            fs::remove(path, ignored);
        }
    } remove_video{video};
    RenderMoviePreview(movie, photos, video, scratch);
    return Pack(video, movie, output);
}

int PackEnding(const fs::path& movie, const fs::path& picture, int play_frame, int still_frame,
               const fs::path& output)
{
    const fs::path scratch = ScratchFolder(output);
    const fs::path video = scratch.string() + ".mpg";
    struct RemoveVideo {
        fs::path path;
        ~RemoveVideo()
        {
            std::error_code ignored;
            fs::remove(path, ignored);
        }
    } remove_video{video};
    RenderEndingPreview(movie, picture, video, scratch);
    WriteWhole(output, PackEndingTemplate(ReadWhole(video), ReadWhole(movie), play_frame, still_frame));
    return 0;
}

bool ParseSize(const std::string& text, int& width, int& height)
{
    return std::sscanf(text.c_str(), "%dx%d", &width, &height) == 2 && width > 0 && height > 0 &&
           width <= 4096 && height <= 4096;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 4 && args[0] == "--video") return Pack(args[1], args[2], args[3]);
        if (args.size() == 6 && args[0] == "--ending")
            return PackEnding(args[1], args[2], std::stoi(args[3]), std::stoi(args[4]), args[5]);
        if ((args.size() == 3 || args.size() == 4) && args[0] == "--photos") {
            int width = 640, height = 480;
            const int count = std::stoi(args[2]);
            if (count < 1 || count > 1000 || (args.size() == 4 && !ParseSize(args[3], width, height))) {
                std::fputs(kUsage, stderr);
                return 2;
            }
            WriteSamplePhotos(args[1], count, width, height, "photo");
            return 0;
        }
        if (args.size() == 3 && args[0].rfind("--", 0) != 0) return RenderAndPack(args[0], args[1], args[2]);
        std::fputs(kUsage, stderr);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "template-pack: %s\n", e.what());
        return 1;
    }
}
