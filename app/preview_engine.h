#pragma once
// The frame-by-frame preview of the main window: the opening title, the
// effect movie with its per-frame tick, the ending title, and Stop.
//
// The decisions are plain functions, testable without a window; the
// PreviewEngine applies them to the main window's panes, players, hidden
// edits and timers, all named in its PreviewEngineView. The preview plays
// no music: the lyric timeline is counted from the frames the poll sees.
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/lrc.h"
#include "app/run_buttons.h"
#include "app/segment_table.h"
#include "production/album_settings.h"

class TBitmap;
class TEdit;
class TImage;
class TLabel;
class TListItems;
class TScrollBox;
class TShockwaveFlash;
class TTimer;
class TWindowsMediaPlayer;
class TkivButton;

namespace app {

// --- decisions ------------------------------------------------------------------------

// Whether a movie that stood on frame `previous` at the last look and
// stands on `current` now has passed frame `mark` on its way: the frames
// previous+1 .. current, or, when it wrapped round to the start, the
// frames after previous and 0 .. current. previous -1 means nothing was
// seen yet (frames 0 .. current). The poll can miss frames, so the marks of
// the preview are tested this way, never for equality.
bool PassedFrame(int previous, int current, int mark);

// The tick k at which the effect stage ends, by sync mode: one pass of the
// template movie (total_frames - 1), PhotoFrames, or the music's frames.
// An unknown mode plays one pass.
int64_t PreviewEndTick(std::string_view sync_mode, int64_t total_frames, int64_t photo_frames,
                       double music_seconds);

// Each song's length in frames, from the music rows' measured seconds: the
// cumulative ends turned into frames, so that rounding never adds up over
// many songs. 0 for a song that was not measured.
std::vector<int64_t> SongLengthsInFrames(const std::vector<double>& song_seconds);

// Whether the song is over at its lyric tick L (0 at its first tick): L + 1
// frames have been shown and that is its length. An unmeasured song (0)
// never ends by itself.
bool SongOver(int64_t lyric_tick, int64_t song_frames);

// The seconds of an "mm:ss" (or "hh:mm:ss") length text; -1 when the text
// is not one.
double LengthTextSeconds(std::string_view text);

// What the opening watch sees of the opening-title player.
struct OpeningView {
    bool has_media = true;      // the player holds a file
    bool failed = false;        // it cannot play it
    bool opening = false;       // still being opened and measured
    int state = 0;              // play state; 8: ended
    double position = 0;        // seconds
    double duration = 0;        // seconds; 0 until measured
    std::string position_text;  // "mm:ss"
    std::string length_text;    // "mm:ss"
};

// Whether the opening title is over: the position text reached the length
// text, the media ended (state 8), the position reached the duration, or
// there is nothing that could ever end (no file, or one that failed).
bool OpeningOver(const OpeningView& view);

// --- the engine -------------------------------------------------------------------------

enum class PreviewStage { kIdle, kOpening, kEffect, kEnding };

// Everything the preview touches of the main window.
struct PreviewEngineView {
    // What it reads.
    // The photo list, only counted; the music list, each row with its
    // "mm:ss" length; the lyric files, whose row k is music row k's.
    const TListItems& photos;
    const TListItems& music;
    const TListItems& lyric_files;
    // The album settings: the sync mode and the lengths that end the run,
    // the titles, the work folder and the lyric style.
    const production::AlbumSettings& settings;
    const std::vector<double>& music_row_seconds;  // each music row's measured length
    // Whether a valid effect template is loaded.
    std::function<bool()> template_loaded;
    // The effect template's segment table.
    std::function<SegmentTable()> segment_rows;

    // What it may change.
    // The preview frame's panes, one in front at a time.
    TScrollBox& intro_pane;
    TScrollBox& browser_pane;
    TScrollBox& template_pane;  // the template's own video
    TScrollBox& effect_pane;
    TScrollBox& opening_pane;
    TScrollBox& ending_pane;
    TScrollBox& still_pane;  // a still of the effect movie while it jumps back
    TImage& still;
    TShockwaveFlash& effect_movie;
    TShockwaveFlash& ending_movie;
    TWindowsMediaPlayer& opening_player;
    TWindowsMediaPlayer& template_video;
    TkivButton& play_button;
    // Stop and the output buttons: usable while a run goes.
    RunButtons run_buttons;
    TTimer& opening_watch;
    TTimer& frame_poll;
    TTimer& ending_watch;
    // The hidden edits the run counts in; a change of frame_seen is the tick.
    TEdit& frame_seen;  // the effect movie's frame the poll saw last
    TEdit& tick;        // ticks of the effect stage, from -1
    TEdit& lyric_tick;  // ticks of the current song, from -1
    TEdit& lyric_key;   // the "mm:ss" the lyric line was looked up by
    TLabel& elapsed;
    int& song_index;    // LrcSongIndex: the song whose lyrics the run shows
    int& photo_cursor;  // the photo last copied into a slot
    int& ending_copy;   // the ending movie copy loaded last (1 or 2)
    // Freezes (true) or frees the editing controls for the run.
    std::function<void(bool locked)> lock_editing;
    // Loads the lyric tables of a song and returns its index.
    std::function<std::vector<LrcRow>(int song)> load_song_lyrics;
};

class PreviewEngine {
public:
    explicit PreviewEngine(PreviewEngineView view);

    PreviewStage Stage() const { return stage_; }

    void Play();  // kivButton1Click
    void StartOpeningTitle();
    void OpeningWatch();  // Timer2
    void StartEffectPreview();
    void FramePoll();  // Timer3
    void Tick();       // Edit1Change
    void StartEndingTitle();
    void EndingWatch();  // Timer6
    void Stop();         // kivButton3Click

    // Whether a valid template is loaded, and whether photos are imported.
    bool HasTemplate() const;
    bool HasPhotos() const;

private:
    void EndEffect();
    // Plays the ending with `last`, the album's last picture, beside it.
    void StartEndingTitle(const TBitmap& last);
    void BackToReady();
    void ShowIntroPane();
    void SetRunButtons(bool enabled);
    void LoadSongLyrics();
    int64_t OpeningFrames() const;
    void ShowElapsed(int64_t frames);
    std::filesystem::path WorkPath() const;
    int64_t SlotsAtATime() const;
    // True while the run that started at `run` is still the current one:
    // a step that lets the message queue run checks it afterwards.
    bool StillRunning(unsigned run) const { return run == run_; }

    PreviewEngineView view_;
    PreviewStage stage_ = PreviewStage::kIdle;
    unsigned run_ = 0;
    int last_frame_ = -1;         // the effect movie's frame at the last tick
    int last_ending_frame_ = -1;  // the ending movie's frame at the last watch
    std::vector<int64_t> song_frames_;
    std::vector<LrcRow> lyrics_;  // kivListView4 as loaded for the current song
};

}  // namespace app
