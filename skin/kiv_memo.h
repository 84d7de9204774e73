#pragma once
// TkivMemo: multi-line text with a flat frame in the style's border colour
// and, optionally, external TkivScrollBar objects bound in place of its own
// bars. The memo re-reads its own bar state after every edit, so a bound
// bar follows the text at once.
#include "platform/ui/memo.h"
#include "skin/kiv_scroll_binding.h"
#include "skin/kiv_themes.h"

class TkivFileTheme;
class TkivScrollBar;

class TkivMemo : public TMemo, public IkivStyled {
public:
    explicit TkivMemo(TComponent* AOwner = nullptr);
    ~TkivMemo() override;

    TColor BorderColor() const { return border_color_; }
    void SetBorderColor(TColor colour);

    TkivUIStyle UIStyle() const override { return ui_style_; }
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    // The bound bars get the theme too.
    void SetFileTheme(TkivFileTheme* theme) override;

    // Bound external bars (nullptr: none). The memo's own ScrollBars follow
    // the bindings, so its own bars exist exactly where a bound one mirrors them.
    TkivScrollBar* VScrollBar() const { return vbar_.Bar(); }
    void SetVScrollBar(TkivScrollBar* bar);
    TkivScrollBar* HScrollBar() const { return hbar_.Bar(); }
    void SetHScrollBar(TkivScrollBar* bar);
    void UpdateNativeScrollBars();
    void PlaceScrollBars();
    void SyncScrollBars();

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    intptr_t Perform(unsigned Msg, intptr_t WParam = 0, intptr_t LParam = 0) override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char32_t& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void PaintNonClient(TCanvas& Canvas) override;

protected:
    void VisibleChanged() override;
    void EnabledChanged() override;

private:
    void BarMoved(bool vertical);
    void BindBar(skin::BoundScrollBar& slot, TkivScrollBar* bar);

    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
    TColor border_color_ = clBlack;
    skin::BoundScrollBar vbar_{this, sbVertical, [this] { BarMoved(true); }};
    skin::BoundScrollBar hbar_{this, sbHorizontal, [this] { BarMoved(false); }};
    bool scrolling_from_bar_ = false;
    bool left_button_down_ = false;
};
