#include "app/template_import.h"

#include <system_error>

#include "app/staged_movie.h"
#include "app/template_format.h"
#include "platform/core/files.h"
#include "platform/core/ini.h"

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

bool StagedTemplate::PutInPlace(const StagedRename& rename) { return valid_ && copies_.PutInPlace(rename); }

StagedTemplate StageTemplate(const fs::path& file, const fs::path& work_dir)
{
    StagedTemplate staged;
    const auto refuse = [&staged](std::string detail) {
        staged.copies_.Discard();
        staged.valid_ = false;
        staged.detail_ = std::move(detail);
        return std::move(staged);
    };

    const fs::path trailer_copy = TrailerCopy(work_dir);
    core::DeleteFile(trailer_copy);
    // Copies an interrupted import left behind.
    StagedFiles::RemoveLeftovers(work_dir / "zhzp", "zhzp");
    const std::optional<uint64_t> size = core::FileSizeOf(file);
    if (!size) return refuse("the file cannot be read");
    if (*size < tf::kTrailerSize) return refuse("the file is shorter than its 2000-byte settings block");
    const std::optional<std::string> trailer =
        core::ReadFileSlice(file, *size - tf::kTrailerSize, tf::kTrailerSize);
    if (!trailer) return refuse("the file cannot be read");
    core::WriteFileBytes(trailer_copy, *trailer);

    const TemplateCheck check = ReadTemplateTrailer(*trailer, *size);
    staged.validity_read_ =
        core::IniFile::FromBytes(*trailer).ReadString(tf::kValiditySection, tf::kValidityKey);
    if (!check.Valid()) return refuse(check.detail);
    core::DeleteFile(trailer_copy);

    const std::optional<std::string> movie = ReadTemplateMovie(file, *check.description);
    if (!movie) return refuse("the movie cannot be read from the file");
    const StagedMovie copies = StageMovieCopies(staged.copies_, *movie, TemplateMovieCopy(work_dir, 1),
                                                TemplateMovieCopy(work_dir, 2), "zhzp");
    staged.write_failed_ = copies.write_failed;
    if (!copies.error.empty()) return refuse(copies.error);
    staged.movie_frames_ = copies.frames;
    if (staged.movie_frames_ < static_cast<int>(tf::kMinMovieFrames))
        return refuse("the movie has " + std::to_string(staged.movie_frames_) +
                      " frames; a template needs at least " + std::to_string(tf::kMinMovieFrames));

    staged.description_ = *check.description;
    staged.valid_ = true;
    return staged;
}

}  // namespace app
