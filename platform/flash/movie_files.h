#pragma once
// The picture and text files a movie reads from its own folder, read at a
// load point and kept until the next one.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "platform/flash/movie.h"
#include "platform/flash/picture.h"

namespace flash {

struct MovieFiles {
    std::map<std::string, PicturePtr> pictures;  // missing or unreadable: absent
    std::map<std::string, std::string> texts;    // UTF-8, the prefix removed
};

inline constexpr std::uintmax_t kMaxPictureFileBytes = 64u * 1024 * 1024;

// The size a movie's picture files are decoded to cover: photos are shown at
// most at four times the stage.
struct PictureCover {
    int width = 0;
    int height = 0;
    friend bool operator==(const PictureCover&, const PictureCover&) = default;
};
PictureCover PictureCoverFor(const Movie& movie);

// Reads and decodes one picture file to cover `cover`. Nothing for a file
// that is missing, not a plain file or too large; throws gfx::ImageError
// for one that is not a readable picture.
PicturePtr ReadPictureFile(const std::filesystem::path& path, PictureCover cover);

// Gives a picture already decoded for a file, or nothing to decode it here.
using PictureSupplier = std::function<PicturePtr(const std::filesystem::path& file, PictureCover cover)>;

// Reads every file that the movie's layers name, from folder; the supplier
// (when given) is asked for each picture first.
MovieFiles ReadMovieFiles(const Movie& movie, const std::filesystem::path& folder,
                          const PictureSupplier& supplier = {});

// The text of a movie text file: its first line after the "name=" prefix,
// decoded as outside text (GBK unless it is UTF-8) into UTF-8.
std::string TextFileLine(const std::string& bytes);

}  // namespace flash
