#include "platform/flash/movie_files.h"

#include <iconv.h>

#include <fstream>
#include <set>

#include "platform/gfx/image_io.h"

namespace flash {

namespace {

constexpr std::uintmax_t kMaxPictureFileBytes = 64u * 1024 * 1024;
constexpr std::uintmax_t kMaxTextFileBytes = 64u * 1024;

bool ReadBytes(const std::filesystem::path& path, std::uintmax_t limit, std::string& out) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > limit) return false;
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    out.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

bool IsUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t extra = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 0;
        if (extra == 0 || i + extra >= s.size()) return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

std::string FromGbk(const std::string& s) {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    std::string out(s.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(s.data());
    std::size_t in_left = s.size();
    char* to = out.data();
    std::size_t to_left = out.size();
    while (in_left > 0) {
        if (iconv(cd, &in, &in_left, &to, &to_left) == static_cast<std::size_t>(-1)) {
            // Skip a byte that is not GBK and go on.
            ++in;
            --in_left;
        }
    }
    iconv_close(cd);
    out.resize(out.size() - to_left);
    return out;
}

}  // namespace

std::string TextFileLine(const std::string& bytes) {
    std::string line = bytes.substr(0, bytes.find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t eq = line.find('=');
    if (eq != std::string::npos) line = line.substr(eq + 1);
    return IsUtf8(line) ? line : FromGbk(line);
}

MovieFiles ReadMovieFiles(const Movie& movie, const std::filesystem::path& folder) {
    std::set<std::string> pictures, texts;
    for (const Layer& layer : movie.layers) {
        if (layer.kind == LayerKind::Image && layer.image_source == ImageSource::File)
            pictures.insert(layer.file);
        if (layer.kind == LayerKind::Text && layer.text_source == TextSource::File)
            texts.insert(layer.text);
    }
    // Photos are shown at most at four times a 352 x 288 stage; decode big
    // ones at a reduced size that still covers that.
    const int min_width = std::min(2048, movie.width * 4), min_height = std::min(2048, movie.height * 4);
    MovieFiles files;
    for (const std::string& name : pictures) {
        if (!IsPlainFileName(name)) continue;
        std::string bytes;
        if (!ReadBytes(folder / name, kMaxPictureFileBytes, bytes)) continue;
        try {
            auto data = std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            if (PicturePtr picture = DecodePicture(data, min_width, min_height))
                files.pictures[name] = std::move(picture);
        } catch (const gfx::ImageError&) {
            // A damaged picture draws nothing, like a missing one.
        }
    }
    for (const std::string& name : texts) {
        if (!IsPlainFileName(name)) continue;
        std::string bytes;
        if (ReadBytes(folder / name, kMaxTextFileBytes, bytes)) files.texts[name] = TextFileLine(bytes);
    }
    return files;
}

}  // namespace flash
