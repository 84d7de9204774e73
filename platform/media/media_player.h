#pragma once
// TWindowsMediaPlayer: the media player control. It plays a sound or video
// file, reports its length and position as seconds and "mm:ss" texts, and
// shows the current picture of a video in its pane (a windowed control: its
// bounds are the pane, PaintTo captures it).
//
//   player.SetURL(path);                        // opens and starts playing
//   player.settings().SetMute(true);
//   player.controls().play() / stop() / pause();
//   player.controls().currentPositionString();  // "mm:ss"
//   player.currentMedia().duration();           // seconds, 0 until known
//   player.currentMedia().durationString();     // "mm:ss"
//   player.OnPlayStateChange = [](TObject*, int state) { ... };  // 8: ended
//
// The file is measured off the UI thread; everything the caller sees
// changes, and every event runs, on the UI thread. A file that cannot be
// played keeps the length 0 and sets HasError(), so a measuring wait can
// stop at "duration() != 0 || HasError()". A file found damaged while it
// plays stops where the damage begins, stopped with HasError() set, and
// never raises "media ended".
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/core/component.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/control.h"

class TCanvas;
class TTimer;

// The play states the player reports (the numbers callers compare with).
enum TPlayState : int {
    wmppsUndefined = 0,
    wmppsStopped = 1,
    wmppsPaused = 2,
    wmppsPlaying = 3,
    wmppsMediaEnded = 8,
    wmppsTransitioning = 9,
    wmppsReady = 10,
};

using TPlayStateChangeEvent = std::function<void(TObject* Sender, int NewState)>;

class TWindowsMediaPlayer : public TWinControl {
public:
    explicit TWindowsMediaPlayer(TComponent* AOwner = nullptr);
    ~TWindowsMediaPlayer() override;

    // The file (UTF-8 path). Setting it opens the file and starts playing;
    // an empty URL closes the media.
    const std::string& URL() const { return url_; }
    void SetURL(const std::string& url);

    class Controls {
    public:
        void play();  // from the current position; from the start after the end
        void stop();  // position back to 0; never raises "media ended"
        void pause();
        double currentPosition() const;             // seconds
        std::string currentPositionString() const;  // "mm:ss", the rule of durationString

    private:
        friend class TWindowsMediaPlayer;
        explicit Controls(TWindowsMediaPlayer& player) : player_(player) {}
        TWindowsMediaPlayer& player_;
    };

    class Settings {
    public:
        bool mute() const;
        void SetMute(bool mute);

    private:
        friend class TWindowsMediaPlayer;
        explicit Settings(TWindowsMediaPlayer& player) : player_(player) {}
        TWindowsMediaPlayer& player_;
    };

    class Media {
    public:
        double duration() const;             // seconds; 0 until the file is measured
        std::string durationString() const;  // "mm:ss"; "00:00" until measured

    private:
        friend class TWindowsMediaPlayer;
        explicit Media(TWindowsMediaPlayer& player) : player_(player) {}
        TWindowsMediaPlayer& player_;
    };

    Controls& controls() { return controls_; }
    const Controls& controls() const { return controls_; }
    Settings& settings() { return settings_; }
    const Settings& settings() const { return settings_; }
    Media& currentMedia() { return media_; }
    const Media& currentMedia() const { return media_; }

    int playState() const { return state_; }
    // The current file could not be opened, measured or played through.
    bool HasError() const { return !error_.empty(); }
    const std::string& ErrorText() const { return error_; }
    bool HasVideo() const;
    // The current file has sound, but no sound device could be opened for
    // it (the one line of audio_output says why): it plays on silently.
    bool SoundOff() const;

    // Raised on the UI thread for every change of playState().
    TPlayStateChangeEvent OnPlayStateChange;

    // The frame shown now, scaled to the pane (to the video's own size
    // while the pane has none); black without a video.
    const TBitmap& Picture();
    // Raised whenever the picture changed (the pane repaints itself too).
    TNotifyEvent OnPictureChange;

    void Paint(TCanvas& Canvas) override;

protected:
    void Resize() override;

private:
    struct Session;
    struct Opened;

    void Close();
    void ApplyOpened(Opened& opened);
    void StartPlaying();
    void StopOutput();
    void Tick();
    void Finish();
    void FailPlaying(const std::string& error);
    void ShowFrameAt(double position);
    void RenderPicture();
    double LivePosition() const;
    void ChangeState(int state);
    void PictureChanged();

    enum class Want { Play, Pause, Stop };

    std::string url_;
    int state_ = wmppsUndefined;
    std::string error_;
    double duration_ = 0;
    double position_ = 0;  // while not playing
    bool mute_ = false;
    Want want_ = Want::Stop;
    bool opening_ = false;
    TBitmap picture_;
    bool picture_dirty_ = true;

    std::unique_ptr<Session> session_;
    std::unique_ptr<TTimer> ticker_;
    std::shared_ptr<int> alive_;  // posted results check it is still there

    Controls controls_{*this};
    Settings settings_{*this};
    Media media_{*this};
};
