#pragma once
// The readable text form of a movie, compiled by tools/movie-compile.
// The language is described in docs/movie-format.md.
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/flash/movie.h"

namespace flash {

// Compiles a movie source. Asset paths are relative to base_dir; errors
// throw MovieError as "source_name:line: message".
Movie CompileMovieSource(std::string_view text, const std::filesystem::path& base_dir,
                         const std::string& source_name);

// Reads and compiles a source file.
Movie CompileMovieFile(const std::filesystem::path& source);

}  // namespace flash
