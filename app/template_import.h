#pragma once
// The checks and file work of an effect template import, apart from the
// forms: the whole template is checked, and its movie copies written
// under temporary names, before anything of the project changes; only a
// template that passed every check is put in place.
#include <filesystem>
#include <string>

#include "app/staged_files.h"
#include "app/template_trailer.h"

namespace app {

// A checked template whose two movie copies wait under temporary names in
// the work folder's "zhzp". Discards the copies when it goes without
// having been put in place.
class StagedTemplate {
public:
    StagedTemplate() = default;

    bool Valid() const { return valid_; }
    // The copies could not be written: the work folder cannot be written,
    // whether or not the template is valid.
    bool WriteFailed() const { return write_failed_; }
    const TemplateDescription& Description() const { return description_; }
    int MovieFrames() const { return movie_frames_; }
    // What is wrong with the file, for the log and for tests.
    const std::string& Detail() const { return detail_; }
    // The validity text read from the trailer (empty when there was none).
    const std::string& ValidityRead() const { return validity_read_; }

    // Puts the two copies in place as "zhzp/zhzp1.swf" and "zhzp/zhzp2.swf",
    // both or, when that fails, neither (the old copies stay). False then.
    bool PutInPlace(const StagedRename& rename = ReplacingRename);

private:
    friend StagedTemplate StageTemplate(const std::filesystem::path&, const std::filesystem::path&);

    bool valid_ = false;
    bool write_failed_ = false;
    TemplateDescription description_;
    int movie_frames_ = 0;
    std::string detail_;
    std::string validity_read_;
    StagedFiles copies_;
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
