#pragma once
// The headless back end: windows live in memory, input is injected by
// tests and delivered through the event loop, pictures can be captured or
// dumped as PNG. Every test runs on it.
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/ui/backend.h"
#include "platform/ui/form.h"

namespace ui {

class HeadlessBackend final : public Backend, public core::EventSource {
public:
    HeadlessBackend();
    ~HeadlessBackend() override;

    std::unique_ptr<NativeWindow> CreateWindow(TForm& form) override;
    TRect ScreenRect() const override { return screen_; }
    TRect WorkArea() const override { return work_area_; }
    TPoint CursorPos() const override { return cursor_pos_; }
    void SetCursorShape(TCursor cursor) override { cursor_shape_ = cursor; }
    std::string ClipboardText() const override { return clipboard_; }
    void SetClipboardText(const std::string& text) override { clipboard_ = text; }
    void StartTextInput(const TRect&) override { text_input_ = true; }
    void StopTextInput() override { text_input_ = false; }
    core::EventSource* EventSource() override { return this; }

    bool Poll() override;
    void Wait(int64_t deadline_us) override;

    // Test set-up.
    void SetScreen(const TRect& screen, const TRect& workArea)
    {
        screen_ = screen;
        work_area_ = workArea;
    }
    bool TextInputActive() const { return text_input_; }
    TCursor CursorShape() const { return cursor_shape_; }
    // Queues an event for the form's window; the loop delivers it.
    void Post(TForm& form, const InputEvent& event);
    int Pending() const { return static_cast<int>(queue_.size()); }
    // Whether windows can be minimised (a desktop without a window manager
    // cannot).
    void SetCanMinimize(bool can) { can_minimize_ = can; }

    // What the windows look like to the desktop.
    struct WindowState {
        TForm* form = nullptr;
        TRect bounds{};
        std::string title;
        bool visible = false;
        bool minimized = false;
        bool resizable = false;
        std::optional<gfx::Region> shape;
        TBitmap picture;             // the last presented picture
        std::vector<TRect> changed;  // what the last present changed in it
        int presents = 0;
        class NativeWindow* modal_for = nullptr;
        // The size limits the window was given (0: none).
        int min_width = 0, min_height = 0, max_width = 0, max_height = 0;
    };
    // nullptr when the form has no window now.
    const WindowState* StateOf(const TForm& form) const;

private:
    friend class HeadlessWindow;
    struct Queued {
        TForm* form;
        InputEvent event;
    };
    std::deque<Queued> queue_;
    std::vector<WindowState*> windows_;
    TRect screen_{0, 0, 1280, 1024};
    TRect work_area_{0, 0, 1280, 994};
    TPoint cursor_pos_{};
    TCursor cursor_shape_ = crDefault;
    std::string clipboard_;
    bool text_input_ = false;
    bool can_minimize_ = true;
};

// The headless back end, installed (and made current) on first use.
HeadlessBackend& Headless();

// Input helpers for tests. Positions are in the form's client pixels (the
// frame insets are added). The Post* forms only queue; the others queue and
// run the loop once so the events are delivered before they return.
namespace headless {
void PostMouseMove(TForm& form, int x, int y, TShiftState shift = 0);
void PostMouseDown(TForm& form, int x, int y, TMouseButton button = mbLeft, int clicks = 1,
                   TShiftState shift = 0);
void PostMouseUp(TForm& form, int x, int y, TMouseButton button = mbLeft, TShiftState shift = 0);
void PostClick(TForm& form, int x, int y);
void PostKey(TForm& form, uint16_t key, TShiftState shift = 0);  // down and up
void PostText(TForm& form, const std::string& utf8);

void MouseMove(TForm& form, int x, int y, TShiftState shift = 0);
void MouseDown(TForm& form, int x, int y, TMouseButton button = mbLeft, int clicks = 1,
               TShiftState shift = 0);
void MouseUp(TForm& form, int x, int y, TMouseButton button = mbLeft, TShiftState shift = 0);
void Click(TForm& form, int x, int y);
void DoubleClick(TForm& form, int x, int y);
void Wheel(TForm& form, int x, int y, int delta, TShiftState shift = 0);
void KeyDown(TForm& form, uint16_t key, TShiftState shift = 0);
void KeyUp(TForm& form, uint16_t key, TShiftState shift = 0);
void Key(TForm& form, uint16_t key, TShiftState shift = 0);
void Text(TForm& form, const std::string& utf8);
// The centre of a control in its form's client pixels.
TPoint CenterOf(const TControl& control);
void ClickControl(TControl& control);
// The form's window picture, rendered now.
TBitmap Capture(TForm& form);
void SavePng(TForm& form, const std::filesystem::path& path);
}  // namespace headless

}  // namespace ui
