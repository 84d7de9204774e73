#pragma once
// The production form's side of the hand-over: what the main window gives
// production for one job, and what it gets back when the form has closed.
#include <cstdint>
#include <string>

#include "production/album_project.h"
#include "production/completion.h"

namespace production {

struct HandOverJob {
    std::string output_path;  // into both edVideoOut and edAudioOut
    int64_t frame_count = 0;  // the frame target (kivProgressBar1's Max)
    AlbumProject project;
};

struct HandOverResult {
    AlbumProject project;  // the movie copies and the lyric song changed
    CompletionOutcome outcome;
};

// Fills the production form with the job, runs it modally and reads back
// the project and the outcome.
HandOverResult RunProductionForm(const HandOverJob& job);

}  // namespace production
