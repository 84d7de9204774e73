#include "app/preview_engine.h"

#include <charconv>
#include <exception>
#include <optional>

#include "app/form1.h"
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
#include "platform/ui/scrollbox.h"
#include "production/lyric_timeline.h"
#include "skin/kiv_button.h"
#include "skin/kiv_group_box.h"
#include "skin/kiv_list_view.h"

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

void ShowInFront(TScrollBox* pane)
{
    pane->SetVisible(true);
    pane->BringToFront();
}

void Hide(std::initializer_list<TScrollBox*> panes)
{
    for (TScrollBox* pane : panes) pane->SetVisible(false);
}

// A pane that fills the preview frame from its top-left corner.
void PlacePane(TScrollBox* pane)
{
    pane->SetBounds(0, 0, pane->Width(), pane->Height());
    pane->SetAutoSize(true);
    pane->SetBorderStyle(bsNone);
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

PreviewEngine::PreviewEngine(TForm1& form) : f_(form) {}

bool PreviewEngine::HasTemplate() const
{
    return f_.ValidTemplateLoaded();
}

bool PreviewEngine::HasPhotos() const
{
    return f_.kivListView1->Items().Count() > 0;
}

void PreviewEngine::ShowIntroPane()
{
    Hide({f_.ScrollBox1, f_.ScrollBox10, f_.ScrollBox9, f_.ScrollBox11});
    ShowInFront(f_.ScrollBox13);
}

void PreviewEngine::SetRunButtons(bool enabled)
{
    for (TkivButton* button : {f_.kivButton3, f_.kivButton2, f_.kivButton12, f_.kivButton13, f_.kivButton14,
                               f_.kivButton20})
        button->SetEnabled(enabled);
}

void PreviewEngine::Play()
{
    if (!HasTemplate()) {
        ShowIntroPane();
        return;
    }
    if (!HasPhotos()) {
        // Nothing to show in the slots: the template's own video stays.
        Hide({f_.ScrollBox13, f_.ScrollBox1, f_.ScrollBox10, f_.ScrollBox11});
        ShowInFront(f_.ScrollBox9);
        return;
    }
    // A run that is still going is replaced, not doubled.
    for (TTimer* timer : {f_.Timer2, f_.Timer3, f_.Timer6}) timer->SetEnabled(false);
    ++run_;
    stage_ = PreviewStage::kIdle;

    f_.LockMainControls();
    f_.PhotoCursor = 0;
    f_.CopyNextPhotos(static_cast<int>(SlotsFilledAtATime(f_.SegmentRows())));
    f_.Edit2->SetText("-1");
    if (!f_.OpeningFile.empty()) {
        StartOpeningTitle();
        return;
    }
    f_.xiao_guo_Flash->SetVariable("lrc_txt1", "");
    f_.LRC_text->SetText("");
    f_.Edit3->SetText("-1");
    StartEffectPreview();
}

void PreviewEngine::StartOpeningTitle()
{
    PlacePane(f_.ScrollBox11);
    ShowInFront(f_.ScrollBox11);
    f_.WindowsMediaPlayer3->controls().play();
    stage_ = PreviewStage::kOpening;
    SetRunButtons(true);
    f_.Timer2->SetEnabled(true);
}

void PreviewEngine::OpeningWatch()
{
    if (stage_ != PreviewStage::kOpening) {
        f_.Timer2->SetEnabled(false);
        return;
    }
    TWindowsMediaPlayer& player = *f_.WindowsMediaPlayer3;
    OpeningView view;
    view.has_media = !player.URL().empty();
    view.failed = player.HasError();
    view.opening = player.playState() == wmppsTransitioning;
    view.state = player.playState();
    view.position = player.controls().currentPosition();
    view.duration = player.currentMedia().duration();
    view.position_text = player.controls().currentPositionString();
    view.length_text = player.currentMedia().durationString();
    f_.Label5->SetCaption("00:" + view.position_text);
    if (!OpeningOver(view)) return;
    f_.Timer2->SetEnabled(false);
    StartEffectPreview();
}

void PreviewEngine::StartEffectPreview()
{
    const unsigned run = run_;
    TShockwaveFlash& movie = *f_.xiao_guo_Flash;
    if (f_.OpeningFile.empty()) {
        // A still of the movie hides it while it jumps back to its first frame.
        TBitmap still = PictureOf(movie);
        App().ProcessMessages();
        if (!StillRunning(run)) return;
        const fs::path still_file = f_.WorkPath() / "zhzp" / "lswj.bmp";
        try {
            gfx::SaveBmp(still, still_file);
            f_.Image2->LoadFromFile(still_file);
            ShowInFront(f_.ScrollBox14);
        } catch (const std::exception&) {
            // No still: the movie shows its own jump back.
        }
    }

    movie.SetVariable("LRC_ju_zuozhongyou", f_.LrcAlign);
    movie.SetVariable("LRC_geciyanse", f_.LrcColor);
    movie.SetVariable("LRC_biaozhuen_cuti", f_.LrcBold);
    movie.SetVariable("LRC_xieti", f_.LrcItalic);
    movie.SetVariable("LRC_xiahuaxian", f_.LrcUnderline);
    movie.SetVariable("LRC_gecidaxiao", f_.LrcSize);
    movie.SetVariable("LRC_x", f_.LrcX);
    movie.SetVariable("LRC_y", f_.LrcY);

    f_.LrcSongIndex = 0;
    f_.Edit3->SetText("-1");
    // Each song's measured seconds; a row without them falls back to its "mm:ss" text.
    std::vector<double> seconds;
    const TListItems& music = f_.kivListView2->Items();
    for (int row = 0; row < music.Count(); ++row) {
        double s = row < static_cast<int>(f_.MusicRowSeconds.size()) ? f_.MusicRowSeconds[row] : -1;
        if (!(s > 0) && music[row]->SubItems().Count() > 1) s = LengthTextSeconds(music[row]->SubItems()[1]);
        seconds.push_back(s > 0 ? s : 0);
    }
    song_frames_ = SongLengthsInFrames(seconds);
    lyrics_.clear();
    if (f_.kivListView5->Items().Count() > 0) LoadSongLyrics();
    if (!StillRunning(run)) return;

    // The tick counts from the first frame the poll sees in this run.
    stage_ = PreviewStage::kIdle;
    f_.Edit1->SetText("-1");
    last_frame_ = -1;
    movie.SetFrameNum(movie.TotalFrames());
    movie.Play();
    stage_ = PreviewStage::kEffect;
    SetRunButtons(true);
    f_.Timer3->SetEnabled(true);
}

void PreviewEngine::LoadSongLyrics()
{
    f_.LoadLrcLyrics();
    // The index changes only with the song: the tick looks up this copy.
    lyrics_ = f_.LyricIndexRows();
}

void PreviewEngine::FramePoll()
{
    if (stage_ != PreviewStage::kEffect) {
        f_.Timer3->SetEnabled(false);
        return;
    }
    f_.Edit1->SetText(std::to_string(f_.xiao_guo_Flash->FrameNum()));
}

int64_t PreviewEngine::OpeningFrames() const
{
    if (f_.OpeningFile.empty()) return 0;
    return MclSecondsToFrames(f_.WindowsMediaPlayer3->currentMedia().duration());
}

void PreviewEngine::ShowElapsed(int64_t frames)
{
    f_.FramesToTimeText(static_cast<double>(frames));
    f_.Label5->SetCaption(f_.TimeHours + ":" + f_.TimeMinutes + ":" + f_.TimeSeconds);
}

void PreviewEngine::Tick()
{
    if (stage_ != PreviewStage::kEffect) return;
    const long long frame_seen = TextNumber(f_.Edit1->Text(), -1);
    if (frame_seen < 0) return;
    const int frame = static_cast<int>(frame_seen);
    const int previous = last_frame_;
    last_frame_ = frame;

    TShockwaveFlash& movie = *f_.xiao_guo_Flash;
    const long long k = TextNumber(f_.Edit2->Text(), -1) + 1;
    f_.Edit2->SetText(std::to_string(k));

    // The lyric line and the song change.
    const int music_rows = f_.kivListView2->Items().Count();
    if (music_rows > 0 && f_.kivListView5->Items().Count() > 0) {
        const long long lyric_tick = TextNumber(f_.Edit3->Text(), -1) + 1;
        f_.Edit3->SetText(std::to_string(lyric_tick));
        f_.FramesToTimeText(static_cast<double>(lyric_tick + 1));
        f_.LRC_text->SetText(f_.TimeMinutes + ":" + f_.TimeSeconds);
        if (const auto row = FindLyricRow(lyrics_, f_.LRC_text->Text()))
            movie.SetVariable("LRC_geci", lyrics_[*row].text);
        const int song = f_.LrcSongIndex;
        if (song >= 0 && song < music_rows && song < static_cast<int>(song_frames_.size()) &&
            SongOver(lyric_tick, song_frames_[static_cast<size_t>(song)])) {
            f_.LrcSongIndex = song + 1;
            if (f_.LrcSongIndex < music_rows) {
                if (f_.LrcSongIndex < f_.kivListView5->Items().Count()) {
                    const unsigned run = run_;
                    LoadSongLyrics();
                    if (!StillRunning(run) || stage_ != PreviewStage::kEffect) return;
                } else {
                    // A song without a lyric file shows no lyrics.
                    lyrics_.clear();
                    movie.SetVariable("LRC_geci", "");
                }
                f_.Edit3->SetText("-1");
            }
        }
    }

    // From frame 3 on the movie shows itself.
    if (PassedFrame(previous, frame, 3)) {
        Hide({f_.ScrollBox14, f_.ScrollBox11});
        f_.kivButton1->SetEnabled(false);
        Hide({f_.ScrollBox13, f_.ScrollBox1, f_.ScrollBox9});
        ShowInFront(f_.ScrollBox10);
    }
    // Five frames before the end of a pass the slots get the next photos.
    if (PassedFrame(previous, frame, movie.TotalFrames() - 5))
        f_.CopyNextPhotos(static_cast<int>(SlotsFilledAtATime(f_.SegmentRows())));

    ShowElapsed(OpeningFrames() + k + 1);

    const int64_t end = PreviewEndTick(f_.SyncMode, movie.TotalFrames(), f_.PhotoFrames, f_.MusicSeconds);
    if (k >= end) EndEffect();
}

void PreviewEngine::EndEffect()
{
    f_.Timer3->SetEnabled(false);
    stage_ = PreviewStage::kIdle;
    const unsigned run = run_;
    // The album's last picture, taken while its photos are still in the
    // slots: the ending shows what the video will show.
    std::optional<TBitmap> last;
    if (!f_.EndingFile.empty()) last = PictureOf(*f_.xiao_guo_Flash);
    ClearPhotoSlots(f_.WorkPath());
    f_.xiao_guo_Flash->SetVariable("LRC_geci", "");
    f_.LRC_text->SetText("");
    f_.Edit3->SetText("-1");
    f_.PhotoCursor = 0;
    f_.xiao_guo_Flash->Stop();
    if (last) {
        StartEndingTitle(*last);
        return;
    }
    if (!StillRunning(run)) return;
    f_.FillPhotoSlots();
    f_.xiao_guo_Flash->SetFrameNum(0);
    f_.Label5->SetCaption("00:00:00");
    f_.UnlockMainControls();
}

void PreviewEngine::StartEndingTitle() { StartEndingTitle(PictureOf(*f_.xiao_guo_Flash)); }

void PreviewEngine::StartEndingTitle(const TBitmap& last)
{
    const unsigned run = run_;
    const fs::path bmp = f_.WorkPath() / "pwwjj" / "pwtp.bmp";
    const fs::path jpg = f_.WorkPath() / "pwwjj" / "pwtp.jpg";
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

    f_.EndingMovie = f_.EndingMovie == 1 ? 2 : 1;
    TShockwaveFlash& ending = *f_.Pian_Wei_FLASH;
    ending.SetMovie((f_.WorkPath() / "pwwjj" / ("pwwj" + std::to_string(f_.EndingMovie) + ".swf")).string());
    ending.Play();
    if (ending.TotalFrames() == 0) {
        // An ending that cannot play would never end.
        ending.Stop();
        BackToReady();
        return;
    }
    PlacePane(f_.ScrollBox12);
    f_.ScrollBox12->SetVisible(true);
    last_ending_frame_ = -1;
    stage_ = PreviewStage::kEnding;
    f_.Timer6->SetEnabled(true);
}

void PreviewEngine::EndingWatch()
{
    if (stage_ != PreviewStage::kEnding) {
        f_.Timer6->SetEnabled(false);
        return;
    }
    TShockwaveFlash& ending = *f_.Pian_Wei_FLASH;
    const int frame = ending.FrameNum();
    const int total = ending.TotalFrames();
    const int previous = last_ending_frame_;
    last_ending_frame_ = frame;
    if (frame == previous) return;
    if (PassedFrame(previous, frame, std::min(4, total - 1))) f_.ScrollBox12->BringToFront();
    if (total <= 0 || PassedFrame(previous, frame, total - 1)) {
        ending.Stop();
        BackToReady();
        return;
    }
    // The elapsed time goes on counting from where the effect left it.
    ShowElapsed(OpeningFrames() + TextNumber(f_.Edit2->Text(), 0) + 1 + frame);
}

void PreviewEngine::BackToReady()
{
    f_.Timer6->SetEnabled(false);
    stage_ = PreviewStage::kIdle;
    f_.FillPhotoSlots();
    f_.xiao_guo_Flash->SetFrameNum(0);
    f_.PhotoCursor = 0;
    ShowInFront(f_.ScrollBox10);
    f_.ScrollBox12->SetVisible(false);
    f_.UnlockMainControls();
    f_.Label5->SetCaption("00:00:00");
}

void PreviewEngine::Stop()
{
    ++run_;
    stage_ = PreviewStage::kIdle;
    for (TTimer* timer : {f_.Timer3, f_.Timer2, f_.Timer6}) timer->SetEnabled(false);
    f_.xiao_guo_Flash->SetVariable("LRC_geci", "");
    f_.LRC_text->SetText("");
    f_.Edit3->SetText("-1");
    // Whatever stage was running: the opening and ending players stand and hide.
    f_.WindowsMediaPlayer3->controls().stop();
    f_.Pian_Wei_FLASH->Stop();
    Hide({f_.ScrollBox12, f_.ScrollBox14});

    if (!HasTemplate()) {
        ShowIntroPane();
        f_.UnlockMainControls();
        return;
    }
    if (HasPhotos()) {
        Hide({f_.ScrollBox13, f_.ScrollBox1, f_.ScrollBox9, f_.ScrollBox11});
        ShowInFront(f_.ScrollBox10);
        f_.UnlockMainControls();
        f_.PhotoCursor = 0;
        f_.WindowsMediaPlayer1->controls().stop();
        f_.xiao_guo_Flash->Stop();
        f_.xiao_guo_Flash->SetFrameNum(0);
        f_.Label5->SetCaption("00:00:00");
        return;
    }
    Hide({f_.ScrollBox13, f_.ScrollBox1, f_.ScrollBox10, f_.ScrollBox11});
    ShowInFront(f_.ScrollBox9);
    f_.UnlockMainControls();
    f_.xiao_guo_Flash->Stop();
    f_.xiao_guo_Flash->SetFrameNum(0);
    f_.WindowsMediaPlayer1->controls().stop();
}

}  // namespace app
