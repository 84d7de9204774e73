#include "platform/flash/movie_files.h"

#include <algorithm>
#include <fstream>
#include <set>

#include "platform/core/text.h"
#include "platform/gfx/image_io.h"

namespace flash {

namespace {

constexpr std::uintmax_t kMaxTextFileBytes = 64u * 1024;

bool ReadBytes(const std::filesystem::path& path, std::uintmax_t limit, std::string& out)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > limit) return false;
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    out.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

std::string TextFileLine(const std::string& bytes)
{
    std::vector<std::string> lines = core::SplitLines(core::DecodeText(bytes));
    if (lines.empty()) return {};
    std::string& line = lines.front();
    std::size_t eq = line.find('=');
    return eq == std::string::npos ? line : line.substr(eq + 1);
}

PictureCover PictureCoverFor(const Movie& movie)
{
    return {std::min(2048, movie.width * 4), std::min(2048, movie.height * 4)};
}

PicturePtr ReadPictureFile(const std::filesystem::path& path, PictureCover cover)
{
    std::string bytes;
    if (!ReadBytes(path, kMaxPictureFileBytes, bytes)) return nullptr;
    auto data = std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return DecodePicture(data, cover.width, cover.height);
}

MovieFiles ReadMovieFiles(const Movie& movie, const std::filesystem::path& folder,
                          const PictureSupplier& supplier)
{
    std::set<std::string> pictures, texts;
    for (const Layer& layer : movie.layers) {
        if (layer.kind == LayerKind::Image && layer.image_source == ImageSource::File)
            pictures.insert(layer.file);
        if (layer.kind == LayerKind::Text && layer.text_source == TextSource::File) texts.insert(layer.text);
    }
    // Big photos are decoded at a reduced size that still covers the stage
    // shown four times over.
    const PictureCover cover = PictureCoverFor(movie);
    MovieFiles files;
    for (const std::string& name : pictures) {
        if (!IsPlainFileName(name)) continue;
        try {
            PicturePtr picture = supplier ? supplier(folder / name, cover) : nullptr;
            if (!picture) picture = ReadPictureFile(folder / name, cover);
            if (picture) files.pictures[name] = std::move(picture);
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
