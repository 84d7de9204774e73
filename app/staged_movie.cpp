#include "app/staged_movie.h"

#include <system_error>
#include <utility>

#include "platform/core/files.h"
#include "platform/flash/player.h"

namespace app {

namespace fs = std::filesystem;

StagedMovieCopies::~StagedMovieCopies() { Discard(); }

StagedMovieCopies::StagedMovieCopies(StagedMovieCopies&& other) noexcept { *this = std::move(other); }

StagedMovieCopies& StagedMovieCopies::operator=(StagedMovieCopies&& other) noexcept
{
    if (this == &other) return *this;
    Discard();
    for (int i = 0; i < 2; ++i) files_[i] = std::exchange(other.files_[i], fs::path());
    frames_ = std::exchange(other.frames_, 0);
    return *this;
}

std::string StagedMovieCopies::Stage(const std::string& movie, const fs::path& folder, const std::string& stem)
{
    Discard();
    for (fs::path& file : files_) {
        file = core::MakeTempFile(stem, ".swf.new", folder);
        if (file.empty() || !core::WriteFileBytes(file, movie)) {
            Discard();
            return "the movie cannot be written into the work folder";
        }
    }
    // The movie must load as the panes will load it.
    flash::Player player;
    if (!player.Load(files_[0])) {
        const std::string error = "the movie does not load: " + player.LoadError();
        Discard();
        return error;
    }
    frames_ = player.TotalFrames();
    player.Unload();
    return {};
}

bool StagedMovieCopies::PutInPlace(const fs::path& first, const fs::path& second)
{
    const fs::path* targets[] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        if (files_[i].empty()) return false;
        std::error_code error;
        // rename replaces the old copy in one step: no moment without one.
        fs::rename(files_[i], *targets[i], error);
        if (error) return false;
        files_[i].clear();
    }
    return true;
}

void StagedMovieCopies::Discard()
{
    for (fs::path& file : files_) {
        if (!file.empty()) core::DeleteFile(file);
        file.clear();
    }
    frames_ = 0;
}

void StagedMovieCopies::RemoveLeftovers(const fs::path& folder, const std::string& stem)
{
    for (const fs::path& stale : core::FindFiles(folder, stem + "-*.swf.new")) core::DeleteFile(stale);
}

}  // namespace app
