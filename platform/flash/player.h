#pragma once
// The movie player: loads a movie (or a bare picture as a one-frame still),
// plays it on a timer at its own rate on the UI clock, jumps, keeps
// variables, raises the movie's commands and paints the current frame.
//
// Frame actions run when a frame is entered, by playing or by a jump, in
// their order. They never nest: while a command handler runs (and perhaps
// pumps messages), the timer does not advance the movie, and the actions of
// frames entered meanwhile wait until the handler has returned.
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/timer.h"
#include "platform/flash/movie.h"
#include "platform/flash/movie_files.h"
#include "platform/flash/picture.h"
#include "platform/flash/renderer.h"
#include "platform/gfx/types.h"

class TBitmap;

namespace flash {

class Player {
public:
    Player();
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Loads synchronously from disk (every call reads the file again) and
    // starts playing at frame 0. A movie file or a JPEG, PNG or BMP picture,
    // shown fitted with its aspect kept and centred. On failure nothing is
    // loaded, TotalFrames() is 0 and LoadError() says why; returns false.
    bool Load(const std::filesystem::path& path);
    void Unload();
    const std::string& LoadError() const { return error_; }
    const std::filesystem::path& Path() const { return path_; }
    bool Loaded() const { return movie_ != nullptr; }

    int TotalFrames() const { return movie_ ? static_cast<int>(movie_->frame_count) : 0; }
    // The current frame, from 0.
    int FrameNum() const { return static_cast<int>(frame_); }
    // Jumps to the frame, playing or stopped, clamped to 0..TotalFrames-1. A
    // frame at or past the end parks the movie on its last frame so that the
    // next Play (or the next tick) restarts it at frame 0. Jumping to the
    // frame it stands on enters nothing.
    void SetFrameNum(int frame);
    void Play();
    void Stop();
    bool Playing() const { return playing_; }

    void SetVariable(const std::string& name, const std::string& value);
    std::string GetVariable(const std::string& name) const;
    const std::map<std::string, std::string>& Variables() const { return variables_; }

    int StageWidth() const { return movie_ ? movie_->width : 0; }
    int StageHeight() const { return movie_ ? movie_->height : 0; }
    int Fps() const { return movie_ ? movie_->fps : 0; }
    const Movie* GetMovie() const { return movie_.get(); }

    // Paints the current frame with the stage scaled into dest; only pixels
    // inside clip (and the target) change. Nothing loaded: nothing drawn.
    void Render(TBitmap& target, const TRect& dest, const TRect& clip);
    void Render(TBitmap& target, const TRect& dest) { Render(target, dest, dest); }

    // The movie's command ("tupian=3", "wan_cheng") and its arguments.
    std::function<void(const std::string& command, const std::string& args)> OnFSCommand;
    // The frame shown has changed (or a new movie was loaded).
    std::function<void()> OnChange;
    // Asked for each picture file at a load point before it is decoded.
    PictureSupplier OnPictureFile;

private:
    void Tick();
    // loaded: the movie was just loaded, its first frame is new.
    void Enter(std::uint32_t frame, bool loaded = false);
    void RunActions();
    void StartTimer();
    void ReadFiles();
    void Changed();

    TTimer timer_;
    std::shared_ptr<const Movie> movie_;
    std::vector<PicturePtr> assets_;
    MovieFiles files_;
    std::filesystem::path path_;
    std::filesystem::path folder_;
    std::string error_;
    std::map<std::string, std::string> variables_;
    std::uint32_t frame_ = 0;
    bool playing_ = false;
    bool restart_armed_ = false;
    bool running_actions_ = false;
    std::deque<Action> pending_;
    Renderer renderer_;
};

}  // namespace flash
