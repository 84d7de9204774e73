#pragma once
// External scroll bars bound to a list view, list box or memo in place of
// its own bars. The bars are ordinary TkivScrollBar siblings on the same
// parent; the bound control lays them over its right and bottom edge,
// inside its border, and keeps them in step both ways: the control's own
// bar state is written into the bar, and a move of the bar scrolls the
// control.
#include <functional>

#include "platform/gfx/types.h"
#include "platform/ui/ui_types.h"
#include "skin/kiv_locale.h"
#include "skin/kiv_style_colour.h"

class TComponent;
class TControl;
class TkivFileTheme;
class TkivScrollBar;
enum class TkivUIStyle : unsigned char;

namespace skin {

// The thumb length, in pixels, of a bar `length` pixels long whose arrows
// are `thickness` pixels, for the given state (the control's own bars
// draw it the same way). 0 when the bar cannot scroll.
int ThumbLength(const TScrollInfo& info, int length, int thickness);

// What a bound bar does while the control cannot scroll that way.
enum class UnusableBar {
    Hide,     // list view, list box: disabled and hidden
    Disable,  // memo: stays visible, disabled, with no slider
};

// One binding slot of a control.
class BoundScrollBar {
public:
    // `owner` is the control that binds (it hears when the bar goes);
    // `moved` runs when the bar's position changes and the control is not
    // writing the bar itself.
    BoundScrollBar(TComponent* owner, TScrollBarKind kind, std::function<void()> moved)
        : owner_(owner), kind_(kind), moved_(std::move(moved))
    {}
    ~BoundScrollBar() { Release(); }
    BoundScrollBar(const BoundScrollBar&) = delete;
    BoundScrollBar& operator=(const BoundScrollBar&) = delete;

    TkivScrollBar* Bar() const { return bar_; }
    // The binding steps: the same bar does nothing (false); the bar bound
    // before is released (no OnChange, LineButton 0, Max 100, enabled);
    // a new bar takes this slot's orientation and OnChange and comes to
    // the front. True when the binding changed.
    bool Bind(TkivScrollBar* bar);
    // Releases the bar (the control is going).
    void Release();
    // The bar is being destroyed: forget it without touching it.
    void Forget() { bar_ = nullptr; }

    // Writes the control's own bar state into the bound bar: visibility
    // and enabled state by `unusable` (a hidden control never shows it), LineButton the native thumb length
    // (the bar's own length), then Max, Min and Position in this order.
    // The writes never scroll the control back (Writing() is on meanwhile).
    void Mirror(const TScrollInfo& info, bool controlEnabled, bool controlVisible, UnusableBar unusable);
    bool Writing() const { return writing_; }
    // How far the bar moved since the control last wrote or read it.
    int TakeChange();

    void SetStyle(TkivUIStyle effective);
    void SetTheme(TkivFileTheme* theme);

private:
    TComponent* owner_;
    TScrollBarKind kind_;
    std::function<void()> moved_;
    TkivScrollBar* bar_ = nullptr;
    int known_position_ = 0;
    bool writing_ = false;
};

}  // namespace skin
