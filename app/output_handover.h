#pragma once
// The output buttons of the main window: the checks, the save dialog, the
// photo slots, the job's frame count and the hand-over of the album to the
// production form, whose outcome decides what the user is told. The main
// window hands each button's call an OutputHandoverView below: everything
// the hand-over touches of it.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/segment_table.h"
#include "production/album_project.h"
#include "production/album_settings.h"
#include "production/hand_over.h"

class TListItems;
class TSaveDialog;
class TkivMessageDialog;

namespace app {

// What the main window gives production for one job, and what it gets
// back (production/hand_over.h).
using HandOverJob = production::HandOverJob;
using HandOverResult = production::HandOverResult;

// The project values that production hands back: the movie copies it
// used and the song whose lyrics it reached.
struct ProductionTakeBack {
    int& template_movie;  // ProduceTemplateMovie
    int& ending_movie;    // ProduceEndingMovie
    int& lyric_song;      // LrcSongIndex
};

struct OutputHandoverView {
    // What it reads.
    // The project's settings, copied whole into the album project; the
    // fields below that it may change are parts of them.
    const production::AlbumSettings& settings;
    // The lists as production reads them: photos, music, lyric files.
    const TListItems& photos;
    const TListItems& music;
    const TListItems& lyric_files;
    const std::vector<double>& music_row_seconds;  // the music list's measured lengths
    // The frames of the effect movie and of the ending movie.
    std::function<int()> template_frames;
    std::function<int()> ending_frames;
    std::function<SegmentTable()> segment_rows;
    // Whether a valid effect template is loaded.
    std::function<bool()> template_loaded;

    // What it may change.
    TSaveDialog& save_dialog;  // the output file
    TkivMessageDialog& message;
    std::string& output_format;  // OutputFormat
    ProductionTakeBack taken_back;
    // The preview's Stop.
    std::function<void()> stop_preview;
    // PhotoCursor back to 0, then the template's first slots.
    std::function<void()> fill_photo_slots;
};

// Runs one job modally and returns when the production form has closed.
using ProductionRunner = std::function<HandOverResult(const HandOverJob& job)>;

// The runner the output buttons use: the production form, unless one was
// set (tests set their own). An empty runner restores the production form.
// Returns the runner set before.
ProductionRunner SetProductionRunner(ProductionRunner runner);

// The frame target of a job of the current project (the opening title is
// not part of it); 0 for a job that cannot be produced.
int64_t JobFrames(const OutputHandoverView& main);

// The project as production reads it: the project variables, the music
// rows, the lyric files (parsed on demand) and the slots filled at a time.
production::AlbumProject MakeAlbumProject(const OutputHandoverView& main);

// Takes back what production changed: the movie copies it used and the
// song whose lyrics it reached.
void TakeBackAlbumProject(const ProductionTakeBack& main, const production::AlbumProject& project);

// The hand-over of one output button ("AVI", "VCD", "SVCD", "DVD", "MP4").
// Everything that can refuse the job is checked before the preview is
// stopped or anything of the project changes.
void HandOverOutput(const OutputHandoverView& main, std::string_view output_format);

}  // namespace app
