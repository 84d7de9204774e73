#pragma once
// The movie file: reading with bounded, checked parsing, and writing.
// The layout is described in docs/movie-format.md.
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/flash/movie.h"

namespace flash {

inline constexpr char kMovieMagic[4] = {'V', 'M', 'O', 'V'};
inline constexpr char kMovieEndMark[4] = {'V', 'E', 'N', 'D'};
inline constexpr std::uint16_t kMovieVersion = 1;
inline constexpr std::size_t kMovieHeaderSize = 40;

// A movie file that cannot be used; what() says why, for the user.
class MovieError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses a movie from the start of data. Bytes after the movie's own length
// are ignored (a settings block may follow it). Throws MovieError.
Movie ReadMovie(std::span<const std::uint8_t> data);

// True when data starts like a movie file (the magic), whatever follows.
bool LooksLikeMovie(std::span<const std::uint8_t> data);

// The file form of a movie. Throws MovieError when the movie breaks the
// format's bounds, so that nothing written fails to read back.
std::vector<std::uint8_t> WriteMovie(const Movie& movie);

}  // namespace flash
