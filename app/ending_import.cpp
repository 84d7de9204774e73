#include "app/ending_import.h"

#include <system_error>

#include "platform/core/files.h"
#include "platform/flash/player.h"

namespace app {

namespace fs = std::filesystem;

fs::path EndingMovieCopy(const fs::path& work_dir, int number)
{
    return work_dir / "pwwjj" / ("pwwj" + std::to_string(number) + ".swf");
}

StagedEnding::~StagedEnding() { Discard(); }

StagedEnding::StagedEnding(StagedEnding&& other) noexcept { *this = std::move(other); }

StagedEnding& StagedEnding::operator=(StagedEnding&& other) noexcept
{
    if (this == &other) return *this;
    Discard();
    valid_ = other.valid_;
    values_ = std::move(other.values_);
    ending_ = other.ending_;
    movie_frames_ = other.movie_frames_;
    detail_ = std::move(other.detail_);
    work_dir_ = std::move(other.work_dir_);
    for (int i = 0; i < 2; ++i) {
        staged_[i] = std::move(other.staged_[i]);
        other.staged_[i].clear();
    }
    other.valid_ = false;
    return *this;
}

void StagedEnding::Discard()
{
    for (fs::path& file : staged_) {
        if (!file.empty()) core::DeleteFile(file);
        file.clear();
    }
}

bool StagedEnding::PutInPlace()
{
    if (!valid_) return false;
    for (int i = 0; i < 2; ++i) {
        std::error_code error;
        // rename replaces the old copy in one step.
        fs::rename(staged_[i], EndingMovieCopy(work_dir_, i + 1), error);
        if (error) return false;
        staged_[i].clear();
    }
    return WriteEndingText(work_dir_, 1, kEndingDefaultText) && WriteEndingText(work_dir_, 2, kEndingDefaultText);
}

StagedEnding StageEnding(const fs::path& file, const fs::path& work_dir)
{
    StagedEnding staged;
    staged.work_dir_ = work_dir;
    const auto refuse = [&staged](std::string detail) {
        staged.Discard();
        staged.valid_ = false;
        staged.detail_ = std::move(detail);
        return std::move(staged);
    };

    const fs::path folder = work_dir / "pwwjj";
    core::DeleteFile(folder / "lin_shi.ini");
    // Copies an interrupted import left behind.
    for (const fs::path& stale : core::FindFiles(folder, "pwwj-*.swf.new")) core::DeleteFile(stale);

    const EndingCheck check = ReadEndingTemplateFile(file);
    staged.values_ = check.values;
    if (!check.Valid()) return refuse(check.detail);

    const std::optional<std::string> movie = ReadEndingMovie(file, *check.ending);
    if (!movie) return refuse("the movie cannot be read from the file");
    for (int i = 0; i < 2; ++i) {
        staged.staged_[i] = core::MakeTempFile("pwwj", ".swf.new", folder);
        if (staged.staged_[i].empty() || !core::WriteFileBytes(staged.staged_[i], *movie))
            return refuse("the movie cannot be written into the work folder");
    }
    // The movie must load as the ending panes will load it.
    {
        flash::Player player;
        if (!player.Load(staged.staged_[0])) return refuse("the movie does not load: " + player.LoadError());
        staged.movie_frames_ = player.TotalFrames();
        player.Unload();
    }
    if (staged.movie_frames_ < 1) return refuse("the movie has no frames");

    staged.ending_ = *check.ending;
    staged.valid_ = true;
    return staged;
}

}  // namespace app
