#pragma once
// TkivListView: the list view with a flat frame in the style's border
// colour, a header painted in the style's colours and, optionally, two
// external TkivScrollBar objects bound in place of its own bars.
#include <string>

#include "platform/ui/listview.h"
#include "skin/kiv_scroll_binding.h"
#include "skin/kiv_themes.h"

class TkivFileTheme;
class TkivScrollBar;

namespace skin {

// Asks a window to stop (wParam 0) or resume (non-zero) redrawing.
inline constexpr unsigned kWmSetRedraw = 0x000B;

// The text when it fits in `width`; otherwise the shortest prefix of 1, 2,
// 3 ... characters that with "..." appended is at least `width` wide (the
// drawing rectangle clips it), or the whole text once the prefix would be
// all of it.
std::string FitTextWithEllipsis(const TCanvas& canvas, const std::string& text, int width);

}  // namespace skin

class TkivListView : public TListView, public IkivStyled {
public:
    explicit TkivListView(TComponent* AOwner = nullptr);
    ~TkivListView() override;

    TColor BorderColor() const { return border_color_; }
    void SetBorderColor(TColor colour);
    // The header's caption and background colours, from the style.
    TColor HeaderFontColor() const { return header_font_color_; }
    TColor HeaderColor() const { return header_color_; }

    TkivUIStyle UIStyle() const override { return ui_style_; }
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    // The bound bars are not given the theme.
    void SetFileTheme(TkivFileTheme* theme) override;

    // Bound external bars (nullptr: none). A bound bar gets SmallChange 5.
    TkivScrollBar* VScrollBar() const { return vbar_.Bar(); }
    void SetVScrollBar(TkivScrollBar* bar);
    TkivScrollBar* HScrollBar() const { return hbar_.Bar(); }
    void SetHScrollBar(TkivScrollBar* bar);
    // Lays the bound bars over the right and bottom edge, then syncs them.
    void PlaceScrollBars();
    // The list's own bar state into the bound bars.
    void SyncScrollBars();

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    intptr_t Perform(unsigned Msg, intptr_t WParam = 0, intptr_t LParam = 0) override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void Paint(TCanvas& Canvas) override;
    void PaintNonClient(TCanvas& Canvas) override;
    void ItemsChanged() override;

protected:
    void VisibleChanged() override;
    // The bound bars change sides with the list's own.
    void BiDiModeChanged() override;
    void EnabledChanged() override;
    // The header in the style's colours over what the list painted.
    void PaintHeader(TCanvas& Canvas);

private:
    void BarMoved(bool vertical);
    void BindBar(skin::BoundScrollBar& slot, TkivScrollBar* bar);

    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
    TColor border_color_ = clBlack;
    TColor header_font_color_ = clBlack;
    TColor header_color_ = clBtnFace;
    skin::BoundScrollBar vbar_{this, sbVertical, [this] { BarMoved(true); }};
    skin::BoundScrollBar hbar_{this, sbHorizontal, [this] { BarMoved(false); }};
    bool scrolling_from_bar_ = false;
    bool left_button_down_ = false;
    bool placing_ = false;
};
