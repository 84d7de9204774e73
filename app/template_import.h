#pragma once
// The checks and file work of an effect template import, apart from the
// forms: the whole template is checked, and its movie copies written
// under temporary names, before anything of the project changes; only a
// template that passed every check is put in place.
#include <filesystem>
#include <string>

#include "app/template_trailer.h"
#include "app/staged_movie.h"

namespace app {

// A checked template whose two movie copies wait under temporary names in
// the work folder's "zhzp". Discards the copies when it goes without
// having been put in place.
class StagedTemplate {
public:
    StagedTemplate() = default;

    bool Valid() const { return valid_; }
    const TemplateDescription& Description() const { return description_; }
    int MovieFrames() const { return movie_frames_; }
    // What is wrong with the file, for the log and for tests.
    const std::string& Detail() const { return detail_; }
    // The validity text read from the trailer (empty when there was none).
    const std::string& ValidityRead() const { return validity_read_; }

    // Renames the two copies into place as "zhzp/zhzp1.swf" and
    // "zhzp/zhzp2.swf", each replaced in one step. False when that fails.
    bool PutInPlace();

private:
    friend StagedTemplate StageTemplate(const std::filesystem::path&, const std::filesystem::path&);

    bool valid_ = false;
    TemplateDescription description_;
    int movie_frames_ = 0;
    std::string detail_;
    std::string validity_read_;
    std::filesystem::path work_dir_;
    StagedMovieCopies copies_;
};

// Checks the template file completely: the trailer (saved byte for byte as
// "zhzp/lin_shi.ini" on the way, and deleted again when it reads as
// valid), the movie slice, and that the movie loads with at least
// template_format::kMinMovieFrames frames. Nothing but "zhzp/lin_shi.ini" and the
// temporary copies is written.
StagedTemplate StageTemplate(const std::filesystem::path& file, const std::filesystem::path& work_dir);

// The two movie copies of the work folder: number 1 or 2.
std::filesystem::path TemplateMovieCopy(const std::filesystem::path& work_dir, int number);

}  // namespace app
