#pragma once
// The file work of an ending-title import, apart from the titles dialog:
// the whole template is checked, and its two movie copies and both texts
// written under temporary names, before anything of the project changes;
// only a template that passed every check replaces "pwwjj/pwwj1.swf",
// "pwwjj/pwwj2.swf" and the two texts, all four or none.
#include <filesystem>
#include <string>

#include "app/ending_template.h"
#include "app/staged_files.h"

namespace app {

// A checked ending template whose movie copies and texts wait under
// temporary names in the work folder's "pwwjj". Discards them when it goes
// without having been put in place.
class StagedEnding {
public:
    StagedEnding() = default;

    bool Valid() const { return valid_; }
    // The files could not be written: the work folder cannot be written,
    // whether or not the template is valid.
    bool WriteFailed() const { return write_failed_; }
    // The trailer's values as read, valid or not.
    const EndingTrailerValues& Values() const { return values_; }
    const EndingTemplate& Ending() const { return ending_; }
    int MovieFrames() const { return movie_frames_; }
    // What is wrong with the file, for the log and for tests.
    const std::string& Detail() const { return detail_; }

    // Puts both texts (the default text) and then both copies in place, all
    // four or, when that fails, none (the old files stay). False then.
    bool PutInPlace(const StagedRename& rename = ReplacingRename);

private:
    friend StagedEnding StageEnding(const std::filesystem::path&, const std::filesystem::path&);

    bool valid_ = false;
    bool write_failed_ = false;
    EndingTrailerValues values_;
    EndingTemplate ending_;
    int movie_frames_ = 0;
    std::string detail_;
    StagedFiles files_;
};

// Checks the ending template file completely: its trailer, the movie
// slice, and that the movie loads with at least one frame. Nothing but
// the temporary files is written; a leftover "pwwjj/lin_shi.ini" goes.
StagedEnding StageEnding(const std::filesystem::path& file, const std::filesystem::path& work_dir);

// The two ending movie copies of the work folder: number 1 or 2.
std::filesystem::path EndingMovieCopy(const std::filesystem::path& work_dir, int number);

}  // namespace app
