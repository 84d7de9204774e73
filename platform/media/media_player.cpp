#include "platform/media/media_player.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <thread>

#include "platform/core/application.h"
#include "platform/core/timer.h"
#include "platform/gfx/canvas.h"
#include "platform/media/audio_output.h"
#include "platform/media/frame_scaler.h"
#include "platform/media/pipeline.h"
#include "platform/media/probe.h"
#include "platform/media/time_text.h"
#include "platform/ui/render.h"

namespace {
// How often the player looks at its clock: new pictures, the end.
constexpr int kTickMs = 10;
}  // namespace

// What the opening step hands to the UI thread.
struct TWindowsMediaPlayer::Opened {
    media::MediaInfo info;
    std::shared_ptr<media::Pipeline> pipeline;
};

// One opened file.
struct TWindowsMediaPlayer::Session {
    std::filesystem::path path;
    bool stepped = false;  // virtual clock: decode on the UI thread, in step
    int generation = 0;
    std::shared_ptr<std::atomic<bool>> cancel = std::make_shared<std::atomic<bool>>(false);
    std::thread opener;

    bool has_video = false;
    int video_width = 0, video_height = 0;
    std::shared_ptr<media::Pipeline> pipeline;  // null while stopped or ended
    media::AudioOutput audio;
    bool audio_clock = false;  // position from the device's sample count

    double start_position = 0;  // where the current run of play began
    int64_t start_us = 0;
    int64_t start_frames = 0;

    std::optional<media::VideoFrame> shown;
    media::FrameScaler scaler;

    ~Session()
    {
        cancel->store(true);
        if (opener.joinable()) opener.join();
        audio.Close();  // before the sound FIFO goes with the pipeline
    }
};

namespace {
int next_generation = 0;
}  // namespace

TWindowsMediaPlayer::TWindowsMediaPlayer(TComponent* AOwner)
    : TWinControl(AOwner), alive_(std::make_shared<int>(0))
{
    ticker_ = std::make_unique<TTimer>();
    ticker_->SetEnabled(false);
    ticker_->SetInterval(kTickMs);
    ticker_->OnTimer = [this](TObject*) { Tick(); };
}

TWindowsMediaPlayer::~TWindowsMediaPlayer()
{
    OnPlayStateChange = nullptr;
    OnPictureChange = nullptr;
    alive_.reset();
    ticker_.reset();
    session_.reset();
}

// ---- opening -------------------------------------------------------------

void TWindowsMediaPlayer::Close()
{
    ticker_->SetEnabled(false);
    session_.reset();
    duration_ = 0;
    position_ = 0;
    error_.clear();
    opening_ = false;
    PictureChanged();
}

void TWindowsMediaPlayer::SetURL(const std::string& url)
{
    Close();
    url_ = url;
    if (url.empty()) {
        ChangeState(wmppsUndefined);
        return;
    }
    auto session = std::make_unique<Session>();
    session->path = std::filesystem::u8path(url);
    session->stepped = App().Clock().IsVirtual();
    session->generation = ++next_generation;
    session_ = std::move(session);
    want_ = Want::Play;
    opening_ = true;

    Session& s = *session_;
    std::weak_ptr<int> alive = alive_;
    auto deliver = [this, alive, generation = s.generation](std::shared_ptr<Opened> opened) {
        return [this, alive, generation, opened] {
            if (alive.expired() || !session_ || session_->generation != generation) return;
            ApplyOpened(*opened);
        };
    };
    if (s.stepped) {
        // Under the virtual clock the file is read here, so runs repeat
        // exactly; the result still arrives through the message queue.
        auto opened = std::make_shared<Opened>();
        opened->info = media::ProbeMedia(s.path);
        if (opened->info.Ok())
            opened->pipeline = std::make_shared<media::Pipeline>(s.path, media::Pipeline::Mode::Stepped);
        App().PostMessage(deliver(opened));
    } else {
        TApplication* app = &App();
        s.opener = std::thread([app, path = s.path, cancel = s.cancel, deliver] {
            auto opened = std::make_shared<Opened>();
            opened->info = media::ProbeMedia(path, cancel.get());
            if (opened->info.Ok() && !cancel->load())
                opened->pipeline = std::make_shared<media::Pipeline>(path, media::Pipeline::Mode::Threaded);
            if (!cancel->load()) app->PostMessageFromThread(deliver(opened));
        });
    }
    ChangeState(wmppsTransitioning);
}

void TWindowsMediaPlayer::ApplyOpened(Opened& opened)
{
    opening_ = false;
    Session& s = *session_;
    if (s.opener.joinable()) s.opener.join();  // it has posted; it is ending
    if (opened.info.Ok() && opened.pipeline && !opened.pipeline->Ok())
        opened.info.error = opened.pipeline->Error();
    if (!opened.info.Ok()) {
        error_ = opened.info.error;
        duration_ = 0;
        ChangeState(wmppsUndefined);
        return;
    }
    duration_ = opened.info.duration;
    s.has_video = opened.info.has_video;
    s.video_width = opened.info.width;
    s.video_height = opened.info.height;
    s.pipeline = std::move(opened.pipeline);
    picture_dirty_ = true;
    switch (want_) {
    case Want::Play: StartPlaying(); break;
    case Want::Pause: ChangeState(wmppsPaused); break;
    case Want::Stop:
        s.pipeline.reset();
        ChangeState(wmppsStopped);
        break;
    }
}

// ---- playing -------------------------------------------------------------

void TWindowsMediaPlayer::StartPlaying()
{
    Session& s = *session_;
    if (!s.pipeline) {
        // A new run from the start (after stop or the end).
        position_ = 0;
        s.shown.reset();
        s.pipeline = std::make_shared<media::Pipeline>(
            s.path, s.stepped ? media::Pipeline::Mode::Stepped : media::Pipeline::Mode::Threaded);
        if (!s.pipeline->Ok()) {
            error_ = s.pipeline->Error();
            s.pipeline.reset();
            ChangeState(wmppsUndefined);
            return;
        }
    }
    if (s.pipeline->HasAudio() && !s.audio.IsOpen()) {
        std::string ignored;  // no audio device: play on, silent, by the loop's clock
        s.audio.Open(s.pipeline->Sound(), ignored);
    }
    s.audio.SetMuted(mute_);
    s.audio_clock = s.audio.IsOpen() && !s.stepped;
    s.start_position = position_;
    s.start_us = App().Clock().NowUs();
    s.start_frames = s.audio.PlayedFrames();
    s.audio.SetPaused(false);
    ticker_->SetEnabled(true);
    ChangeState(wmppsPlaying);
    if (state_ == wmppsPlaying && session_ && &s == session_.get()) ShowFrameAt(position_);
}

double TWindowsMediaPlayer::LivePosition() const
{
    if (state_ != wmppsPlaying || !session_) return position_;
    const Session& s = *session_;
    double elapsed;
    if (s.audio_clock)
        elapsed = static_cast<double>(s.audio.PlayedFrames() - s.start_frames) / media::kOutputRate;
    else
        elapsed = static_cast<double>(App().Clock().NowUs() - s.start_us) / 1e6;
    return std::clamp(s.start_position + elapsed, 0.0, duration_);
}

void TWindowsMediaPlayer::ShowFrameAt(double position)
{
    Session& s = *session_;
    if (!s.pipeline) return;
    if (s.stepped) s.pipeline->DecodeUntil(position);
    if (!s.has_video) return;
    if (std::optional<media::VideoFrame> frame = s.pipeline->TakeFrameAt(position)) {
        s.shown = std::move(frame);
        PictureChanged();
    }
}

void TWindowsMediaPlayer::Tick()
{
    if (state_ != wmppsPlaying || !session_ || !session_->pipeline) {
        ticker_->SetEnabled(false);
        return;
    }
    Session& s = *session_;
    const double position = LivePosition();
    ShowFrameAt(position);
    if (!session_ || &s != session_.get() || state_ != wmppsPlaying) return;
    // Damage is reported once everything decoded before it has been played.
    if (s.pipeline->Exhausted() && (s.stepped || s.pipeline->Sound().Buffered() == 0)) {
        if (std::string error = s.pipeline->DecodeError(); !error.empty()) {
            FailPlaying(error);
            return;
        }
    }
    bool ended = position >= duration_;
    // Past the last sample and picture the real clock may stop short of
    // the measured length; under the virtual clock only the length counts.
    if (!s.stepped && s.pipeline->Exhausted() && s.pipeline->Sound().Buffered() == 0) ended = true;
    if (ended) Finish();
}

void TWindowsMediaPlayer::Finish()
{
    ticker_->SetEnabled(false);
    StopOutput();
    position_ = duration_;
    ChangeState(wmppsMediaEnded);
}

void TWindowsMediaPlayer::FailPlaying(const std::string& error)
{
    position_ = LivePosition();
    ticker_->SetEnabled(false);
    StopOutput();
    error_ = error;
    ChangeState(wmppsStopped);
}

void TWindowsMediaPlayer::StopOutput()
{
    if (!session_) return;
    session_->audio.Close();
    session_->pipeline.reset();
}

void TWindowsMediaPlayer::ChangeState(int state)
{
    if (state == state_) return;
    state_ = state;
    if (OnPlayStateChange && !Loading()) OnPlayStateChange(this, state);
}

// ---- controls ------------------------------------------------------------

void TWindowsMediaPlayer::Controls::play()
{
    TWindowsMediaPlayer& p = player_;
    p.want_ = Want::Play;
    if (!p.session_ || p.opening_ || !p.error_.empty() || p.state_ == wmppsPlaying) return;
    if (p.state_ == wmppsMediaEnded) p.position_ = 0;
    p.StartPlaying();
}

void TWindowsMediaPlayer::Controls::stop()
{
    TWindowsMediaPlayer& p = player_;
    p.want_ = Want::Stop;
    if (!p.session_ || p.opening_ || !p.error_.empty()) return;
    p.ticker_->SetEnabled(false);
    p.StopOutput();
    p.position_ = 0;
    p.session_->shown.reset();
    p.ChangeState(wmppsStopped);
    p.PictureChanged();
}

void TWindowsMediaPlayer::Controls::pause()
{
    TWindowsMediaPlayer& p = player_;
    if (p.opening_) {
        p.want_ = Want::Pause;
        return;
    }
    if (p.state_ != wmppsPlaying) return;
    p.want_ = Want::Pause;
    p.position_ = p.LivePosition();
    p.ticker_->SetEnabled(false);
    p.session_->audio.SetPaused(true);
    p.ChangeState(wmppsPaused);
}

double TWindowsMediaPlayer::Controls::currentPosition() const { return player_.LivePosition(); }

std::string TWindowsMediaPlayer::Controls::currentPositionString() const
{
    return media::TimeText(currentPosition());
}

bool TWindowsMediaPlayer::Settings::mute() const { return player_.mute_; }

void TWindowsMediaPlayer::Settings::SetMute(bool mute)
{
    player_.mute_ = mute;
    if (player_.session_) player_.session_->audio.SetMuted(mute);
}

double TWindowsMediaPlayer::Media::duration() const { return player_.duration_; }

std::string TWindowsMediaPlayer::Media::durationString() const { return media::TimeText(player_.duration_); }

bool TWindowsMediaPlayer::HasVideo() const { return session_ && session_->has_video; }

bool TWindowsMediaPlayer::SoundOff() const
{
    return session_ && session_->pipeline && session_->pipeline->HasAudio() && !session_->audio.IsOpen();
}

// ---- the pane ------------------------------------------------------------

void TWindowsMediaPlayer::PictureChanged()
{
    picture_dirty_ = true;
    Invalidate();
    if (OnPictureChange && !Loading()) OnPictureChange(this);
}

void TWindowsMediaPlayer::Resize()
{
    picture_dirty_ = true;
    TWinControl::Resize();
}

void TWindowsMediaPlayer::RenderPicture()
{
    int width = Width(), height = Height();
    if ((width == 0 || height == 0) && session_) {
        width = session_->video_width;
        height = session_->video_height;
    }
    if (picture_.Width() != width || picture_.Height() != height) picture_.SetSize(width, height);
    picture_dirty_ = false;
    if (picture_.Empty()) return;
    if (session_ && session_->shown && session_->shown->frame &&
        session_->scaler.Scale(*session_->shown->frame, picture_.Pixels(), width, height, width))
        return;
    picture_.Fill(clBlack);
}

const TBitmap& TWindowsMediaPlayer::Picture()
{
    if (picture_dirty_) RenderPicture();
    return picture_;
}

void TWindowsMediaPlayer::Paint(TCanvas& Canvas)
{
    // The picture is already the pane's size: its pixels go straight into
    // the canvas, within the clip, without a second scaling.
    const TBitmap& picture = Picture();
    const TPoint origin = Canvas.Origin();
    const TRect clip = Canvas.ClipRect().Offset(origin.X, origin.Y);
    const TRect dest = Bounds(origin.X, origin.Y, picture.Width(), picture.Height()).Intersect(clip);
    if (dest.IsEmpty()) return;
    ui::CopyBitmapRect(picture, dest.Offset(-origin.X, -origin.Y), Canvas.Target(), dest.Left, dest.Top);
}
