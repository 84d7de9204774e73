// What one production job is made of, and the frame counts that follow from
// it: the frame target of each stage and the number of frames the encoder
// will ask the frame producer for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "production/sync_mode.h"

namespace production {

// One row of the main window's music list.
struct MusicTrack {
    std::string path;      // the file handed to the encoder
    double seconds = 0.0;  // its measured length
};

struct ProductionJob {
    SyncMode syncMode = SyncMode::MusicFollowsTemplate;
    int templateFrames = 0;     // frames of one pass of the template movie
    int64_t photoFrames = 0;    // the album's length when the music follows the photos
    double musicSeconds = 0.0;  // the whole music list's length
    std::string openingFile;    // empty: no opening title
    int64_t openingFrames = 0;  // the opening title's frames, encoded before the producer's
    bool hasEnding = false;     // the album has an ending movie
    int endingFrames = 0;       // frames of the ending movie
    std::vector<MusicTrack> music;
    std::size_t lyricFileCount = 0;  // rows of the lyric file list
    int slotsPerFill = 0;            // photo slots the template fills at a time
};

// A restart of the template movie, and the start of the ending, keep the
// previous picture for this many frames.
inline constexpr int kHoldFrames = 5;

// Frame-file entries beyond the producer's own count, so that a late start of
// the template stage can't run the list dry; the producer aborts the encoder
// at the job's end, so the surplus is never encoded.
inline constexpr int64_t kVideoListMargin = 25;

// The template stage's base frames, those it renders before it ends: one
// pass of the template less its last frame, the photo frames, or the music's
// frames, as the sync mode says.
int64_t TemplateFrameTarget(const ProductionJob& job);

// Frames the ending stage renders: all but the ending movie's last frame.
int64_t EndingRenderedFrames(const ProductionJob& job);

// The job's frame target, the maximum of the frames-produced bar.
int64_t JobFrameTarget(const ProductionJob& job);

// A job whose template stage has nothing to render can't be produced.
bool IsEmptyJob(const ProductionJob& job);

// Calls of the video callback each stage takes, holds included. The
// template stage takes its base frames, and in the looping modes a hold of
// kHoldFrames after every whole pass of the template that more base frames
// follow; the ending takes a hold and then its rendered frames, all but the
// ending movie's last.
int64_t TemplateStageCalls(const ProductionJob& job);
int64_t EndingStageCalls(const ProductionJob& job);
int64_t ProducerCallCount(const ProductionJob& job);

// Frames of the whole output: the opening title's and the producer's.
int64_t JobOutputFrames(const ProductionJob& job);

}  // namespace production
