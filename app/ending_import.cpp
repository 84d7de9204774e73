#include "app/ending_import.h"

#include <system_error>

#include "app/staged_movie.h"
#include "platform/core/files.h"

namespace app {

namespace fs = std::filesystem;

fs::path EndingMovieCopy(const fs::path& work_dir, int number)
{
    return work_dir / "pwwjj" / ("pwwj" + std::to_string(number) + ".swf");
}

bool StagedEnding::PutInPlace(const StagedRename& rename) { return valid_ && files_.PutInPlace(rename); }

StagedEnding StageEnding(const fs::path& file, const fs::path& work_dir)
{
    StagedEnding staged;
    const auto refuse = [&staged](std::string detail) {
        staged.files_.Discard();
        staged.valid_ = false;
        staged.detail_ = std::move(detail);
        return std::move(staged);
    };

    const fs::path folder = work_dir / "pwwjj";
    core::DeleteFile(folder / "lin_shi.ini");
    // Files an interrupted import left behind.
    StagedFiles::RemoveLeftovers(folder, "pwwj");
    StagedFiles::RemoveLeftovers(folder, "txt");

    const EndingCheck check = ReadEndingTemplateFile(file);
    staged.values_ = check.values;
    if (!check.Valid()) return refuse(check.detail);

    const std::optional<std::string> movie = ReadEndingMovie(file, *check.ending);
    if (!movie) return refuse("the movie cannot be read from the file");
    // The texts first, so that they go in place before the movie.
    for (int number : {1, 2}) {
        if (!staged.files_.Add(EndingTextFile(work_dir, number), FormatEndingText(number, kEndingDefaultText),
                               "txt")) {
            staged.write_failed_ = true;
            return refuse("the texts cannot be written into the work folder");
        }
    }
    const StagedMovie copies = StageMovieCopies(staged.files_, *movie, EndingMovieCopy(work_dir, 1),
                                                EndingMovieCopy(work_dir, 2), "pwwj");
    staged.write_failed_ = copies.write_failed;
    if (!copies.error.empty()) return refuse(copies.error);
    staged.movie_frames_ = copies.frames;
    if (staged.movie_frames_ < 1) return refuse("the movie has no frames");

    staged.ending_ = *check.ending;
    staged.valid_ = true;
    return staged;
}

}  // namespace app
