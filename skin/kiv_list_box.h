#pragma once
// TkivListBox: an owner-drawn list box with a flat frame in the style's
// border colour, its own selection colours and text alignment, and an
// optional external vertical TkivScrollBar bound in place of its own bar.
#include <functional>
#include <string>

#include "platform/ui/listbox.h"
#include "skin/kiv_scroll_binding.h"
#include "skin/kiv_themes.h"

class TkivFileTheme;
class TkivScrollBar;

using TMeasureItemEvent = std::function<void(TControl* Control, int Index, int& Height)>;

class TkivListBox : public TListBox, public IkivStyled {
public:
    explicit TkivListBox(TComponent* AOwner = nullptr);
    ~TkivListBox() override;

    TColor BorderColor() const { return border_color_; }
    void SetBorderColor(TColor colour);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TColor SelectedColor() const { return selected_color_; }
    void SetSelectedColor(TColor colour);
    TColor SelectedTextColor() const { return selected_text_color_; }
    void SetSelectedTextColor(TColor colour);
    // Wins over the selected text colour.
    TColor DisabledTextColor() const { return disabled_text_color_; }
    void SetDisabledTextColor(TColor colour);
    bool ShowFocusRect() const { return show_focus_rect_; }
    void SetShowFocusRect(bool on);

    TkivUIStyle UIStyle() const override { return ui_style_; }
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    // The bound bar gets the theme too.
    void SetFileTheme(TkivFileTheme* theme) override;

    // The bound external vertical bar (nullptr: none).
    TkivScrollBar* VScrollBar() const { return vbar_.Bar(); }
    void SetVScrollBar(TkivScrollBar* bar);
    void PlaceScrollBars();
    void SyncScrollBars();

    // The height an item's text needs in `width` pixels (its width when
    // `width` is 0 or less), at most 255.
    int CalcItemHeight(const std::string& text, int width) const;
    // The height of item `index`: OnMeasureItem's answer when assigned,
    // else CalcItemHeight at the client width; an index outside the items
    // leaves `height` as it is.
    virtual void MeasureItem(int index, int& height);
    TMeasureItemEvent OnMeasureItem;

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

protected:
    void VisibleChanged() override;
    // The bound bars change sides with the list's own.
    void BiDiModeChanged() override;
    void EnabledChanged() override;
    // Sets the item's colours, then OnDrawItem draws it, or DrawItemDefault
    // and a focus frame when ShowFocusRect is on.
    void DrawItem(TCanvas& canvas, int index, TRect rect, TOwnerDrawState state) override;
    // Fills the rectangle with the canvas brush and writes the item's text
    // by Alignment, 2 pixels in from the side it is aligned to.
    virtual void DrawItemDefault(TCanvas& canvas, int index, TRect rect, TOwnerDrawState state);

private:
    unsigned TextFlags() const;
    void BarMoved();

    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
    TColor border_color_ = clBlack;
    TAlignment alignment_ = taLeftJustify;
    TColor selected_color_ = clHighlight;
    TColor selected_text_color_ = clHighlightText;
    TColor disabled_text_color_ = clGrayText;
    bool show_focus_rect_ = true;
    skin::BoundScrollBar vbar_{this, sbVertical, [this] { BarMoved(); }};
    bool left_button_down_ = false;
};
