#include "app/template_import.h"

#include <system_error>

#include "app/template_format.h"
#include "platform/core/files.h"
#include "platform/core/ini.h"
#include "platform/flash/player.h"

namespace app {

namespace fs = std::filesystem;
namespace tf = template_format;

namespace {

fs::path TrailerCopy(const fs::path& work_dir) { return work_dir / "zhzp" / "lin_shi.ini"; }

}  // namespace

fs::path TemplateMovieCopy(const fs::path& work_dir, int number)
{
    return work_dir / "zhzp" / ("zhzp" + std::to_string(number) + ".swf");
}

StagedTemplate::~StagedTemplate() { Discard(); }

StagedTemplate::StagedTemplate(StagedTemplate&& other) noexcept { *this = std::move(other); }

StagedTemplate& StagedTemplate::operator=(StagedTemplate&& other) noexcept
{
    if (this == &other) return *this;
    Discard();
    valid_ = other.valid_;
    description_ = std::move(other.description_);
    movie_frames_ = other.movie_frames_;
    detail_ = std::move(other.detail_);
    validity_read_ = std::move(other.validity_read_);
    work_dir_ = std::move(other.work_dir_);
    for (int i = 0; i < 2; ++i) {
        staged_[i] = std::move(other.staged_[i]);
        other.staged_[i].clear();
    }
    other.valid_ = false;
    return *this;
}

void StagedTemplate::Discard()
{
    for (fs::path& file : staged_) {
        if (!file.empty()) core::DeleteFile(file);
        file.clear();
    }
}

bool StagedTemplate::PutInPlace()
{
    if (!valid_) return false;
    for (int i = 0; i < 2; ++i) {
        std::error_code error;
        // rename replaces the old copy in one step: no moment without one.
        fs::rename(staged_[i], TemplateMovieCopy(work_dir_, i + 1), error);
        if (error) return false;
        staged_[i].clear();
    }
    return true;
}

StagedTemplate StageTemplate(const fs::path& file, const fs::path& work_dir)
{
    StagedTemplate staged;
    staged.work_dir_ = work_dir;
    const auto refuse = [&staged](std::string detail) {
        staged.Discard();
        staged.valid_ = false;
        staged.detail_ = std::move(detail);
        return std::move(staged);
    };

    const fs::path trailer_copy = TrailerCopy(work_dir);
    core::DeleteFile(trailer_copy);
    // Copies an interrupted import left behind.
    for (const fs::path& stale : core::FindFiles(work_dir / "zhzp", "zhzp-*.swf.new")) core::DeleteFile(stale);
    const std::optional<uint64_t> size = core::FileSizeOf(file);
    if (!size) return refuse("the file cannot be read");
    if (*size < tf::kTrailerSize) return refuse("the file is shorter than its 2000-byte settings block");
    const std::optional<std::string> trailer = core::ReadFileSlice(file, *size - tf::kTrailerSize, tf::kTrailerSize);
    if (!trailer) return refuse("the file cannot be read");
    core::WriteFileBytes(trailer_copy, *trailer);

    const TemplateCheck check = ReadTemplateTrailer(*trailer, *size);
    staged.validity_read_ =
        core::IniFile::FromBytes(*trailer).ReadString(tf::kValiditySection, tf::kValidityKey);
    if (!check.Valid()) return refuse(check.detail);
    core::DeleteFile(trailer_copy);

    const std::optional<std::string> movie = ReadTemplateMovie(file, *check.description);
    if (!movie) return refuse("the movie cannot be read from the file");
    for (int i = 0; i < 2; ++i) {
        staged.staged_[i] = core::MakeTempFile("zhzp", ".swf.new", work_dir / "zhzp");
        if (staged.staged_[i].empty() || !core::WriteFileBytes(staged.staged_[i], *movie))
            return refuse("the movie cannot be written into the work folder");
    }
    // The movie must load as the effect pane will load it.
    {
        flash::Player player;
        if (!player.Load(staged.staged_[0])) return refuse(player.LoadError());
        staged.movie_frames_ = player.TotalFrames();
        player.Unload();
    }
    if (staged.movie_frames_ < static_cast<int>(tf::kMinMovieFrames))
        return refuse("the movie has " + std::to_string(staged.movie_frames_) + " frames; a template needs at least " +
                      std::to_string(tf::kMinMovieFrames));

    staged.description_ = *check.description;
    staged.valid_ = true;
    return staged;
}

}  // namespace app
