#include "app/staged_movie.h"

#include "platform/flash/player.h"

namespace app {

namespace fs = std::filesystem;

StagedMovie StageMovieCopies(StagedFiles& files, const std::string& movie, const fs::path& first,
                             const fs::path& second, const std::string& stem)
{
    StagedMovie staged;
    const std::size_t firstCopy = files.Count();
    if (!files.Add(first, movie, stem) || !files.Add(second, movie, stem)) {
        files.Discard();
        staged.error = "the movie cannot be written into the work folder";
        staged.write_failed = true;
        return staged;
    }
    flash::Player player;
    if (!player.Load(files.Staged(firstCopy))) {
        staged.error = "the movie does not load: " + player.LoadError();
        files.Discard();
        return staged;
    }
    staged.frames = player.TotalFrames();
    player.Unload();
    return staged;
}

}  // namespace app
