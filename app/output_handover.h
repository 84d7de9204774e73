#pragma once
// The output buttons of the main window: the checks, the save dialog, the
// photo slots, the job's frame count and the hand-over of the album to the
// production form, whose outcome decides what the user is told.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "production/album_project.h"
#include "production/hand_over.h"

class TForm1;

namespace app {

// What the main window gives production for one job, and what it gets
// back (production/hand_over.h).
using HandOverJob = production::HandOverJob;
using HandOverResult = production::HandOverResult;

// Runs one job modally and returns when the production form has closed.
using ProductionRunner = std::function<HandOverResult(const HandOverJob& job)>;

// The runner the output buttons use: the production form, unless one was
// set (tests set their own). An empty runner restores the production form.
// Returns the runner set before.
ProductionRunner SetProductionRunner(ProductionRunner runner);

// The frame target of a job of the current project (the opening title is
// not part of it); 0 for a job that cannot be produced.
int64_t JobFrames(const TForm1& form);

// The project as production reads it: the project variables, the music
// rows, the lyric files (parsed on demand) and the slots filled at a time.
production::AlbumProject MakeAlbumProject(const TForm1& form);

// Takes back what production changed: the movie copies it used and the
// song whose lyrics it reached.
void TakeBackAlbumProject(TForm1& form, const production::AlbumProject& project);

// The hand-over of one output button ("AVI", "VCD", "SVCD", "DVD", "MP4").
// Everything that can refuse the job is checked before the preview is
// stopped or anything of the project changes.
void HandOverOutput(TForm1& form, std::string_view output_format);

}  // namespace app
