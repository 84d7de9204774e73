#pragma once
// The seam between the window system and the desktop: a back end makes one
// native window per shown form, presents the form's picture, and feeds the
// desktop's input back as InputEvents. Two back ends exist: headless (tests,
// in-memory windows) and SDL2.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/application.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/region.h"
#include "platform/gfx/types.h"
#include "platform/ui/ui_types.h"

class TForm;

namespace ui {

// Input and window notifications, positions in the form's window pixels.
struct InputEvent {
    enum Kind {
        MouseMove,
        MouseDown,
        MouseUp,
        MouseWheel,
        MouseLeaveWindow,
        KeyDown,
        KeyUp,
        Text,       // committed text input (UTF-8), one or more characters
        Activated,  // the window got the keyboard focus
        Deactivated,
        CloseRequest,  // the desktop asks the window to close
        Exposed,       // the window's picture was lost: paint again
        // The window system minimised (or unmapped) the window, or showed
        // it again (a restore from the taskbar, an activation).
        Minimized,
        Restored,
        // The window system moved or sized the window: screen_pos is its
        // new position, width and height its new outer size.
        BoundsChanged,
    };
    Kind kind = MouseMove;
    TPoint pos{};
    TPoint screen_pos{};  // the same point on the screen
    TMouseButton button = mbLeft;
    int clicks = 1;  // 2 on the second press of a double click
    TShiftState shift = 0;
    uint16_t key = 0;
    std::string text;
    int wheel_delta = 0;
    int width = 0, height = 0;
};

// One desktop window for one form.
class NativeWindow {
public:
    virtual ~NativeWindow() = default;
    // Screen position and outer size.
    virtual void SetBounds(const TRect& bounds) = 0;
    virtual void SetTitle(const std::string& title) = 0;
    virtual void SetVisible(bool visible) = 0;
    // The window picture, Width x Height of the bounds, of which only the
    // `changed` rectangles differ from the one presented before.
    virtual void Present(const TBitmap& picture, const std::vector<TRect>& changed) = 0;
    // nullopt: rectangular.
    virtual void SetShape(const std::optional<gfx::Region>& region) = 0;
    virtual void Raise() = 0;
    // A modal window stays above its owner.
    virtual void SetModalFor(NativeWindow* owner) = 0;
    virtual void SetMinimized(bool minimized) = 0;
    // False when nothing on the desktop can minimise the window or give it
    // back (no window manager runs): a minimised window would be lost.
    virtual bool CanMinimize() const { return true; }
    // Whether the window system may size the window (within the limits).
    virtual void SetResizable(bool resizable) = 0;
    // The least and greatest outer size the window system may give the
    // window (0: no limit).
    virtual void SetSizeLimits(int minWidth, int minHeight, int maxWidth, int maxHeight) = 0;
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual std::unique_ptr<NativeWindow> CreateWindow(TForm& form) = 0;
    // The desktop size and the part of it that windows may fill.
    virtual TRect ScreenRect() const = 0;
    virtual TRect WorkArea() const = 0;
    // The mouse position in screen pixels.
    virtual TPoint CursorPos() const = 0;
    virtual void SetCursorShape(TCursor cursor) = 0;
    virtual std::string ClipboardText() const = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    // Text input (with the input method) while an edit has the focus;
    // `area` is the caret rectangle in screen pixels, for the IME window.
    virtual void StartTextInput(const TRect& area) = 0;
    virtual void StopTextInput() = 0;
    // Where the loop gets the outside events from.
    virtual core::EventSource* EventSource() = 0;
};

// The back end in use. Without one installed the headless back end is
// created on first use.
Backend& CurrentBackend();
// Installs a back end and makes it the application's event source.
void InstallBackend(std::unique_ptr<Backend> backend);
bool HasBackend();

}  // namespace ui
