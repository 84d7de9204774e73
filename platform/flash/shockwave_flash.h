#pragma once
// TShockwaveFlash: the movie player control. Movie := path loads the movie
// (or a bare picture) and starts it; FrameNum, TotalFrames, Play, Stop and
// SetVariable drive it; OnFSCommand hears the movie's commands. It paints the
// current frame with the stage scaled to the control's size, also into a
// bitmap through PaintTo while hidden or off-screen.
#include <filesystem>
#include <functional>
#include <string>

#include "platform/flash/player.h"
#include "platform/ui/control.h"

using TShockwaveFlashFSCommand =
    std::function<void(TObject* Sender, const std::string& command, const std::string& args)>;

class TShockwaveFlash : public TWinControl {
public:
    explicit TShockwaveFlash(TComponent* AOwner = nullptr);
    ~TShockwaveFlash() override;

    // The full path of the movie; every assignment reads the file again.
    // A file that cannot be used leaves nothing loaded: TotalFrames() is 0
    // and LoadError() says why.
    const std::string& Movie() const { return movie_; }
    void SetMovie(const std::string& path);
    const std::string& LoadError() const { return player_.LoadError(); }

    int FrameNum() const { return player_.FrameNum(); }
    void SetFrameNum(int frame) { player_.SetFrameNum(frame); }
    int TotalFrames() const { return player_.TotalFrames(); }
    void Play() { player_.Play(); }
    void Stop() { player_.Stop(); }
    bool Playing() const { return player_.Playing(); }
    void SetVariable(const std::string& name, const std::string& value) { player_.SetVariable(name, value); }
    std::string GetVariable(const std::string& name) const { return player_.GetVariable(name); }

    TShockwaveFlashFSCommand OnFSCommand;

    flash::Player& Player() { return player_; }

    void Paint(TCanvas& Canvas) override;

private:
    flash::Player player_;
    std::string movie_;
};
