#pragma once
// The picture and text files a movie reads from its own folder, read at a
// load point and kept until the next one.
#include <filesystem>
#include <map>
#include <string>

#include "platform/flash/movie.h"
#include "platform/flash/picture.h"

namespace flash {

struct MovieFiles {
    std::map<std::string, PicturePtr> pictures;  // missing or unreadable: absent
    std::map<std::string, std::string> texts;    // UTF-8, the prefix removed
};

// Reads every file that the movie's layers name, from folder.
MovieFiles ReadMovieFiles(const Movie& movie, const std::filesystem::path& folder);

// The text of a movie text file: its first line after the "name=" prefix,
// decoded as outside text (GBK unless it is UTF-8) into UTF-8.
std::string TextFileLine(const std::string& bytes);

}  // namespace flash
