#pragma once
// A movie that an import puts into the work folder as its two identical
// copies (the two-copy reload): both are staged beside their places, and
// one is checked to load as the panes will load it.
#include <filesystem>
#include <string>

#include "app/staged_files.h"

namespace app {

struct StagedMovie {
    // What went wrong; empty when both copies are staged and load.
    std::string error;
    // The copies could not be written: the work folder's fault, not the movie's.
    bool write_failed = false;
    int frames = 0;
};

// Adds the movie's bytes to `files` twice, for `first` and `second` (stem
// `stem`), and loads the first copy. On failure `files` is discarded.
StagedMovie StageMovieCopies(StagedFiles& files, const std::string& movie, const std::filesystem::path& first,
                             const std::filesystem::path& second, const std::string& stem);

}  // namespace app
