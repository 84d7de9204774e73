#include "app/preview_engine.h"

#include <charconv>
#include <exception>
#include <optional>

#include "app/image_routines.h"
#include "app/photo_slots.h"
#include "app/sync_mode.h"
#include "app/time_text.h"
#include "mcl/mcl_timebase.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/core/timer.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/image_io.h"
#include "platform/media/media_player.h"
#include "platform/ui/edit.h"
#include "platform/ui/image.h"
#include "platform/ui/label.h"
#include "platform/ui/listview.h"
#include "platform/ui/scrollbox.h"
#include "production/lyric_style.h"
#include "production/lyric_timeline.h"
#include "skin/kiv_button.h"
#include "skin/kiv_group_box.h"

namespace app {

namespace fs = std::filesystem;

// --- decisions ------------------------------------------------------------------------

bool PassedFrame(int previous, int current, int mark)
{
    if (mark < 0 || current < 0) return false;
    if (previous < 0) return mark <= current;
    if (current > previous) return mark > previous && mark <= current;
    if (current < previous) return mark > previous || mark <= current;  // wrapped round
    return false;
}

int64_t PreviewEndTick(std::string_view sync_mode, int64_t total_frames, int64_t photo_frames,
                       double music_seconds)
{
    if (sync_mode == kSyncMusicFollowsPhotos) return std::max<int64_t>(photo_frames, 0);
    if (sync_mode == kSyncPhotosFollowMusic) return MclSecondsToFrames(music_seconds);
    return std::max<int64_t>(total_frames - 1, 0);
}

std::vector<int64_t> SongLengthsInFrames(const std::vector<double>& song_seconds)
{
    const std::vector<int64_t> ends = production::SongEndFrames(song_seconds);
    std::vector<int64_t> lengths(ends.size(), 0);
    int64_t previous_end = 0;
    for (size_t i = 0; i < ends.size(); ++i) {
        if (song_seconds[i] > 0.0) lengths[i] = std::max<int64_t>(ends[i] - previous_end, 1);
        previous_end = ends[i];
    }
    return lengths;
}

bool SongOver(int64_t lyric_tick, int64_t song_frames)
{
    return song_frames > 0 && lyric_tick + 1 >= song_frames;
}

double LengthTextSeconds(std::string_view text)
{
    double seconds = 0;
    int parts = 0;
    while (true) {
        const size_t colon = text.find(':');
        const std::string_view part = text.substr(0, colon);
        long long value = 0;
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (part.empty() || error != std::errc() || end != part.data() + part.size() || value < 0) return -1;
        seconds = seconds * 60 + static_cast<double>(value);
        if (++parts > 3) return -1;
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
    }
    return parts >= 2 ? seconds : -1;
}

bool OpeningOver(const OpeningView& view)
{
    if (!view.has_media || view.failed) return true;
    if (view.state == wmppsMediaEnded) return true;
    if (view.opening || !(view.duration > 0)) return false;  // not measured yet: its texts mean nothing
    return view.position_text == view.length_text || view.position >= view.duration;
}

// --- the engine -------------------------------------------------------------------------

namespace {

void ShowInFront(TScrollBox& pane)
{
    pane.SetVisible(true);
    pane.BringToFront();
}

void Hide(std::initializer_list<TScrollBox*> panes)
{
    for (TScrollBox* pane : panes) pane->SetVisible(false);
}

// A pane that fills the preview frame from its top-left corner.
void PlacePane(TScrollBox& pane)
{
    pane.SetBounds(0, 0, pane.Width(), pane.Height());
    pane.SetAutoSize(true);
    pane.SetBorderStyle(bsNone);
}

long long TextNumber(const std::string& text, long long fallback)
{
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : fallback;
}

// The movie's picture as it stands, painted into a bitmap of its size.
TBitmap PictureOf(TShockwaveFlash& movie)
{
    TBitmap picture;
    picture.SetSize(std::max(movie.Width(), 1), std::max(movie.Height(), 1));
    movie.PaintTo(picture, 0, 0);
    return picture;
}

}  // namespace

PreviewEngine::PreviewEngine(PreviewEngineView view) : view_(std::move(view)) {}

bool PreviewEngine::HasTemplate() const { return view_.template_loaded(); }

bool PreviewEngine::HasPhotos() const { return view_.photos.Count() > 0; }

void PreviewEngine::ShowIntroPane()
{
    Hide({&view_.browser_pane, &view_.effect_pane, &view_.template_pane, &view_.opening_pane});
    ShowInFront(view_.intro_pane);
}

void PreviewEngine::SetRunButtons(bool enabled)
{
    for (TkivButton* button : view_.run_buttons) button->SetEnabled(enabled);
}

void PreviewEngine::Play()
{
    if (!HasTemplate()) {
        ShowIntroPane();
        return;
    }
    if (!HasPhotos()) {
        // Nothing to show in the slots: the template's own video stays.
        Hide({&view_.intro_pane, &view_.browser_pane, &view_.effect_pane, &view_.opening_pane});
        ShowInFront(view_.template_pane);
        return;
    }
    // A run that is still going is replaced, not doubled.
    for (TTimer* timer : {&view_.opening_watch, &view_.frame_poll, &view_.ending_watch})
        timer->SetEnabled(false);
    ++run_;
    stage_ = PreviewStage::kIdle;

    view_.lock_editing(true);
    view_.photo_cursor = 0;
    CopyNextPhotos(WorkPath(), view_.photo_cursor, static_cast<int>(SlotsAtATime()));
    view_.tick.SetText("-1");
    if (!view_.settings.OpeningFile.empty()) {
        StartOpeningTitle();
        return;
    }
    view_.effect_movie.SetVariable("lrc_txt1", "");
    view_.lyric_key.SetText("");
    view_.lyric_tick.SetText("-1");
    StartEffectPreview();
}

void PreviewEngine::StartOpeningTitle()
{
    PlacePane(view_.opening_pane);
    ShowInFront(view_.opening_pane);
    view_.opening_player.controls().play();
    stage_ = PreviewStage::kOpening;
    SetRunButtons(true);
    view_.opening_watch.SetEnabled(true);
}

void PreviewEngine::OpeningWatch()
{
    if (stage_ != PreviewStage::kOpening) {
        view_.opening_watch.SetEnabled(false);
        return;
    }
    TWindowsMediaPlayer& player = view_.opening_player;
    OpeningView view;
    view.has_media = !player.URL().empty();
    view.failed = player.HasError();
    view.opening = player.playState() == wmppsTransitioning;
    view.state = player.playState();
    view.position = player.controls().currentPosition();
    view.duration = player.currentMedia().duration();
    view.position_text = player.controls().currentPositionString();
    view.length_text = player.currentMedia().durationString();
    view_.elapsed.SetCaption("00:" + view.position_text);
    if (!OpeningOver(view)) return;
    view_.opening_watch.SetEnabled(false);
    StartEffectPreview();
}

void PreviewEngine::StartEffectPreview()
{
    const unsigned run = run_;
    TShockwaveFlash& movie = view_.effect_movie;
    if (view_.settings.OpeningFile.empty()) {
        // A still of the movie hides it while it jumps back to its first frame.
        TBitmap still = PictureOf(movie);
        App().ProcessMessages();
        if (!StillRunning(run)) return;
        const fs::path still_file = WorkPath() / "zhzp" / "lswj.bmp";
        try {
            gfx::SaveBmp(still, still_file);
            view_.still.LoadFromFile(still_file);
            ShowInFront(view_.still_pane);
        } catch (const std::exception&) {
            // No still: the movie shows its own jump back.
        }
    }

    for (const auto& [name, value] : production::LyricStyleVariables(view_.settings.LrcStyle))
        movie.SetVariable(name, value);

    view_.song_index = 0;
    view_.lyric_tick.SetText("-1");
    // Each song's measured seconds; a row without them falls back to its "mm:ss" text.
    std::vector<double> seconds;
    const TListItems& music = view_.music;
    for (int row = 0; row < music.Count(); ++row) {
        double s = row < static_cast<int>(view_.music_row_seconds.size()) ? view_.music_row_seconds[row] : -1;
        if (!(s > 0) && music[row]->SubItems().Count() > 1) s = LengthTextSeconds(music[row]->SubItems()[1]);
        seconds.push_back(s > 0 ? s : 0);
    }
    song_frames_ = SongLengthsInFrames(seconds);
    lyrics_.clear();
    if (view_.lyric_files.Count() > 0) LoadSongLyrics();
    if (!StillRunning(run)) return;

    // The tick counts from the first frame the poll sees in this run.
    stage_ = PreviewStage::kIdle;
    view_.frame_seen.SetText("-1");
    last_frame_ = -1;
    movie.SetFrameNum(movie.TotalFrames());
    movie.Play();
    stage_ = PreviewStage::kEffect;
    SetRunButtons(true);
    view_.frame_poll.SetEnabled(true);
}

void PreviewEngine::LoadSongLyrics()
{
    // The index changes only with the song: the tick looks up this copy.
    lyrics_ = view_.load_song_lyrics(view_.song_index);
}

void PreviewEngine::FramePoll()
{
    if (stage_ != PreviewStage::kEffect) {
        view_.frame_poll.SetEnabled(false);
        return;
    }
    view_.frame_seen.SetText(std::to_string(view_.effect_movie.FrameNum()));
}

int64_t PreviewEngine::OpeningFrames() const
{
    if (view_.settings.OpeningFile.empty()) return 0;
    return MclSecondsToFrames(view_.opening_player.currentMedia().duration());
}

void PreviewEngine::ShowElapsed(int64_t frames)
{
    const TimeText text = FramesToTimeText(static_cast<double>(frames));
    view_.elapsed.SetCaption(text.hours + ":" + text.minutes + ":" + text.seconds);
}

fs::path PreviewEngine::WorkPath() const { return fs::path(view_.settings.WorkDir); }

int64_t PreviewEngine::SlotsAtATime() const { return SlotsFilledAtATime(view_.segment_rows()); }

void PreviewEngine::Tick()
{
    if (stage_ != PreviewStage::kEffect) return;
    const long long frame_seen = TextNumber(view_.frame_seen.Text(), -1);
    if (frame_seen < 0) return;
    const int frame = static_cast<int>(frame_seen);
    const int previous = last_frame_;
    last_frame_ = frame;

    TShockwaveFlash& movie = view_.effect_movie;
    const long long k = TextNumber(view_.tick.Text(), -1) + 1;
    view_.tick.SetText(std::to_string(k));

    // The lyric line and the song change.
    const int music_rows = view_.music.Count();
    if (music_rows > 0 && view_.lyric_files.Count() > 0) {
        const long long lyric_tick = TextNumber(view_.lyric_tick.Text(), -1) + 1;
        view_.lyric_tick.SetText(std::to_string(lyric_tick));
        const TimeText key = FramesToTimeText(static_cast<double>(lyric_tick + 1));
        view_.lyric_key.SetText(key.minutes + ":" + key.seconds);
        if (const auto row = FindLyricRow(lyrics_, view_.lyric_key.Text()))
            movie.SetVariable("LRC_geci", lyrics_[*row].text);
        const int song = view_.song_index;
        if (song >= 0 && song < music_rows && song < static_cast<int>(song_frames_.size()) &&
            SongOver(lyric_tick, song_frames_[static_cast<size_t>(song)])) {
            view_.song_index = song + 1;
            if (view_.song_index < music_rows) {
                if (view_.song_index < view_.lyric_files.Count()) {
                    const unsigned run = run_;
                    LoadSongLyrics();
                    if (!StillRunning(run) || stage_ != PreviewStage::kEffect) return;
                } else {
                    // A song without a lyric file shows no lyrics.
                    lyrics_.clear();
                    movie.SetVariable("LRC_geci", "");
                }
                view_.lyric_tick.SetText("-1");
            }
        }
    }

    // From frame 3 on the movie shows itself.
    if (PassedFrame(previous, frame, 3)) {
        Hide({&view_.still_pane, &view_.opening_pane});
        view_.play_button.SetEnabled(false);
        Hide({&view_.intro_pane, &view_.browser_pane, &view_.template_pane});
        ShowInFront(view_.effect_pane);
    }
    // Five frames before the end of a pass the slots get the next photos.
    if (PassedFrame(previous, frame, movie.TotalFrames() - 5))
        CopyNextPhotos(WorkPath(), view_.photo_cursor, static_cast<int>(SlotsAtATime()));

    ShowElapsed(OpeningFrames() + k + 1);

    const int64_t end = PreviewEndTick(view_.settings.SyncMode, movie.TotalFrames(),
                                       view_.settings.PhotoFrames, view_.settings.MusicSeconds);
    if (k >= end) EndEffect();
}

void PreviewEngine::EndEffect()
{
    view_.frame_poll.SetEnabled(false);
    stage_ = PreviewStage::kIdle;
    const unsigned run = run_;
    // The album's last picture, taken while its photos are still in the
    // slots: the ending shows what the video will show.
    std::optional<TBitmap> last;
    if (!view_.settings.EndingFile.empty()) last = PictureOf(view_.effect_movie);
    ClearPhotoSlots(WorkPath());
    view_.effect_movie.SetVariable("LRC_geci", "");
    view_.lyric_key.SetText("");
    view_.lyric_tick.SetText("-1");
    view_.photo_cursor = 0;
    view_.effect_movie.Stop();
    if (last) {
        StartEndingTitle(*last);
        return;
    }
    if (!StillRunning(run)) return;
    FillPhotoSlots(WorkPath(), view_.photo_cursor, SlotsAtATime());
    view_.effect_movie.SetFrameNum(0);
    view_.elapsed.SetCaption("00:00:00");
    view_.lock_editing(false);
}

void PreviewEngine::StartEndingTitle() { StartEndingTitle(PictureOf(view_.effect_movie)); }

void PreviewEngine::StartEndingTitle(const TBitmap& last)
{
    const unsigned run = run_;
    const fs::path bmp = WorkPath() / "pwwjj" / "pwtp.bmp";
    const fs::path jpg = WorkPath() / "pwwjj" / "pwtp.jpg";
    // The album's last picture, beside the ending movie.
    App().ProcessMessages();
    if (!StillRunning(run)) return;
    try {
        gfx::SaveBmp(last, bmp);
        ConvertImageToJpeg(bmp, jpg);
    } catch (const std::exception&) {
        // The ending plays without the album's last picture.
    }
    core::DeleteFile(bmp);
    if (!StillRunning(run)) return;

    view_.ending_copy = view_.ending_copy == 1 ? 2 : 1;
    TShockwaveFlash& ending = view_.ending_movie;
    ending.SetMovie((WorkPath() / "pwwjj" / ("pwwj" + std::to_string(view_.ending_copy) + ".swf")).string());
    ending.Play();
    if (ending.TotalFrames() == 0) {
        // An ending that cannot play would never end.
        ending.Stop();
        BackToReady();
        return;
    }
    PlacePane(view_.ending_pane);
    view_.ending_pane.SetVisible(true);
    last_ending_frame_ = -1;
    stage_ = PreviewStage::kEnding;
    view_.ending_watch.SetEnabled(true);
}

void PreviewEngine::EndingWatch()
{
    if (stage_ != PreviewStage::kEnding) {
        view_.ending_watch.SetEnabled(false);
        return;
    }
    TShockwaveFlash& ending = view_.ending_movie;
    const int frame = ending.FrameNum();
    const int total = ending.TotalFrames();
    const int previous = last_ending_frame_;
    last_ending_frame_ = frame;
    if (frame == previous) return;
    if (PassedFrame(previous, frame, std::min(4, total - 1))) view_.ending_pane.BringToFront();
    if (total <= 0 || PassedFrame(previous, frame, total - 1)) {
        ending.Stop();
        BackToReady();
        return;
    }
    // The elapsed time goes on counting from where the effect left it.
    ShowElapsed(OpeningFrames() + TextNumber(view_.tick.Text(), 0) + 1 + frame);
}

void PreviewEngine::BackToReady()
{
    view_.ending_watch.SetEnabled(false);
    stage_ = PreviewStage::kIdle;
    FillPhotoSlots(WorkPath(), view_.photo_cursor, SlotsAtATime());
    view_.effect_movie.SetFrameNum(0);
    view_.photo_cursor = 0;
    ShowInFront(view_.effect_pane);
    view_.ending_pane.SetVisible(false);
    view_.lock_editing(false);
    view_.elapsed.SetCaption("00:00:00");
}

void PreviewEngine::Stop()
{
    ++run_;
    stage_ = PreviewStage::kIdle;
    for (TTimer* timer : {&view_.frame_poll, &view_.opening_watch, &view_.ending_watch})
        timer->SetEnabled(false);
    view_.effect_movie.SetVariable("LRC_geci", "");
    view_.lyric_key.SetText("");
    view_.lyric_tick.SetText("-1");
    // Whatever stage was running: the opening and ending players stand and hide.
    view_.opening_player.controls().stop();
    view_.ending_movie.Stop();
    Hide({&view_.ending_pane, &view_.still_pane});

    if (!HasTemplate()) {
        ShowIntroPane();
        view_.lock_editing(false);
        return;
    }
    if (HasPhotos()) {
        Hide({&view_.intro_pane, &view_.browser_pane, &view_.template_pane, &view_.opening_pane});
        ShowInFront(view_.effect_pane);
        view_.lock_editing(false);
        view_.photo_cursor = 0;
        view_.template_video.controls().stop();
        view_.effect_movie.Stop();
        view_.effect_movie.SetFrameNum(0);
        view_.elapsed.SetCaption("00:00:00");
        return;
    }
    Hide({&view_.intro_pane, &view_.browser_pane, &view_.effect_pane, &view_.opening_pane});
    ShowInFront(view_.template_pane);
    view_.lock_editing(false);
    view_.effect_movie.Stop();
    view_.effect_movie.SetFrameNum(0);
    view_.template_video.controls().stop();
}

}  // namespace app
