#pragma once
// The SDL2 back end: one borderless SDL window per shown form, the form's
// picture presented from the window's surface in changed rectangles, SDL
// input mapped to InputEvents. The loop sleeps on the display's
// connection; SDL timers are not used; other threads wake it through an
// eventfd, never through SDL.
#include <atomic>
#include <map>
#include <memory>

#include "platform/ui/backend.h"

union SDL_Event;
struct SDL_Cursor;

namespace ui {

class SdlWindow;

class SdlBackend final : public Backend, public core::EventSource {
public:
    // Initialises SDL's video; throws std::runtime_error when it cannot.
    SdlBackend();
    ~SdlBackend() override;

    std::unique_ptr<NativeWindow> CreateWindow(TForm& form) override;
    TRect ScreenRect() const override;
    TRect WorkArea() const override;
    TPoint CursorPos() const override;
    void SetCursorShape(TCursor cursor) override;
    std::string ClipboardText() const override;
    void SetClipboardText(const std::string& text) override;
    void StartTextInput(const TRect& area) override;
    void StopTextInput() override;
    core::EventSource* EventSource() override { return this; }

    bool Poll() override;
    void Wait(int64_t deadline_us) override;
    void Wake() override;

    // What the form's window shows now, read back from its surface (tests).
    TBitmap ReadBack(const TForm& form) const;
    // The SDL window id of a form's window (0: none), for tests that push events.
    uint32_t WindowId(const TForm& form) const;

private:
    friend class SdlWindow;
    void Dispatch(const SDL_Event& event);
    TForm* FormOf(uint32_t window_id) const;
    std::map<uint32_t, SdlWindow*> windows_;
    std::map<TCursor, SDL_Cursor*> cursors_;
    // The display connection's descriptor (-1: none to wait on).
    int DisplayFd() const;
    std::atomic<bool> woken_{false};
    int wake_fd_ = -1;  // an eventfd other threads write to wake the loop
};

// Installs the SDL2 back end as the current one.
void UseSdlBackend();

}  // namespace ui
