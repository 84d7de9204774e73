#include "app/ending_import.h"

#include <system_error>

#include "platform/core/files.h"

namespace app {

namespace fs = std::filesystem;

fs::path EndingMovieCopy(const fs::path& work_dir, int number)
{
    return work_dir / "pwwjj" / ("pwwj" + std::to_string(number) + ".swf");
}

bool StagedEnding::PutInPlace()
{
    if (!valid_ || !copies_.PutInPlace(EndingMovieCopy(work_dir_, 1), EndingMovieCopy(work_dir_, 2))) return false;
    return WriteEndingText(work_dir_, 1, kEndingDefaultText) && WriteEndingText(work_dir_, 2, kEndingDefaultText);
}

StagedEnding StageEnding(const fs::path& file, const fs::path& work_dir)
{
    StagedEnding staged;
    staged.work_dir_ = work_dir;
    const auto refuse = [&staged](std::string detail) {
        staged.copies_.Discard();
        staged.valid_ = false;
        staged.detail_ = std::move(detail);
        return std::move(staged);
    };

    const fs::path folder = work_dir / "pwwjj";
    core::DeleteFile(folder / "lin_shi.ini");
    // Copies an interrupted import left behind.
    StagedMovieCopies::RemoveLeftovers(folder, "pwwj");

    const EndingCheck check = ReadEndingTemplateFile(file);
    staged.values_ = check.values;
    if (!check.Valid()) return refuse(check.detail);

    const std::optional<std::string> movie = ReadEndingMovie(file, *check.ending);
    if (!movie) return refuse("the movie cannot be read from the file");
    if (std::string error = staged.copies_.Stage(*movie, folder, "pwwj"); !error.empty()) return refuse(error);
    staged.movie_frames_ = staged.copies_.Frames();
    if (staged.movie_frames_ < 1) return refuse("the movie has no frames");

    staged.ending_ = *check.ending;
    staged.valid_ = true;
    return staged;
}

}  // namespace app
