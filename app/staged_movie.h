#pragma once
// A movie that an import puts into the work folder as its two identical
// copies (the two-copy reload): both are written under temporary names
// beside their places and checked to load, and only then renamed into
// place, each in one step. Copies not put in place are deleted.
#include <filesystem>
#include <string>

namespace app {

class StagedMovieCopies {
public:
    StagedMovieCopies() = default;
    ~StagedMovieCopies();
    StagedMovieCopies(StagedMovieCopies&& other) noexcept;
    StagedMovieCopies& operator=(StagedMovieCopies&& other) noexcept;
    StagedMovieCopies(const StagedMovieCopies&) = delete;
    StagedMovieCopies& operator=(const StagedMovieCopies&) = delete;

    // Writes the movie's bytes twice into `folder` as "<stem>-….swf.new" and
    // loads one copy. Returns what went wrong, or an empty text.
    std::string Stage(const std::string& movie, const std::filesystem::path& folder, const std::string& stem);
    // The loaded movie's frame count.
    int Frames() const { return frames_; }

    // Renames the copies to `first` and `second`. False when that fails.
    bool PutInPlace(const std::filesystem::path& first, const std::filesystem::path& second);
    void Discard();

    // Deletes the copies that an interrupted import left in `folder`.
    static void RemoveLeftovers(const std::filesystem::path& folder, const std::string& stem);

private:
    std::filesystem::path files_[2];
    int frames_ = 0;
};

}  // namespace app
