#pragma once
// TkivTitleBar: the caption bar of a skinned form. It draws a row of skin
// sections, the title buttons, the application icon and the caption,
// tracks the mouse over the buttons, moves the form when dragged and
// carries the skinned system menu. Inside a TkivForm it also draws 3 px
// above its top and under the side borders, into strips the form uses for
// its frame and window region.
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/ui/control.h"
#include "platform/ui/menus.h"
#include "skin/kiv_popup_menu.h"
#include "skin/kiv_themes.h"

class TkivTitleBar;

enum TkivTitleBarBtnType {
    kivMax = 0,
    kivMin = 1,
    kivClose = 2,
    kivHelp = 3,
    kivControlBox = 4,
    kivCustom = 5
};
enum TkivTitleBarAlign { kivLeft = 0, kivRight = 1, kivClient = 2 };

using TkivTitleBarButtonClickEvent = std::function<void(TObject* Sender, int ButtonIndex)>;

class TkivTitleBarSections;
class TkivTitleBarButtons;

class TkivTitleBarSection {
public:
    explicit TkivTitleBarSection(TkivTitleBarSections* collection) : collection_(collection) {}

    int Width() const { return width_; }
    void SetWidth(int w);
    TkivTitleBarAlign Align() const { return align_; }
    // A second kivClient section is refused with a message.
    void SetAlign(TkivTitleBarAlign a);
    const TBitmap& Picture() const { return picture_; }
    void SetPicture(const TBitmap& b);
    bool Stretch() const { return stretch_; }
    // Always on for the kivClient section.
    void SetStretch(bool on);
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool on);
    bool CapSec() const { return cap_sec_; }
    void SetCapSec(bool on);
    void Assign(const TkivTitleBarSection& other);
    int Index() const;

private:
    void Changed();
    TkivTitleBarSections* collection_;
    int width_ = 10;
    TkivTitleBarAlign align_ = kivLeft;
    TBitmap picture_;
    bool stretch_ = false, auto_size_ = false, cap_sec_ = false;
};

class TkivTitleBarSections {
public:
    explicit TkivTitleBarSections(TkivTitleBar* bar) : bar_(bar) {}
    int Count() const { return static_cast<int>(items_.size()); }
    TkivTitleBarSection* Items(int i) const { return items_.at(i).get(); }
    TkivTitleBarSection* Add();
    void Clear();
    // Cleared and refilled item by item.
    void Assign(const TkivTitleBarSections& other);
    TkivTitleBar* Bar() const { return bar_; }
    void Update();

private:
    TkivTitleBar* bar_;
    std::vector<std::unique_ptr<TkivTitleBarSection>> items_;
};

class TkivTitleBarButton {
public:
    explicit TkivTitleBarButton(TkivTitleBarButtons* collection) : collection_(collection) {}

    bool Visible() const { return visible_; }
    void SetVisible(bool on)
    {
        visible_ = on;
        Changed();
    }
    TkivTitleBarBtnType ButtonType() const { return type_; }
    // A second kivControlBox is refused with a message.
    void SetButtonType(TkivTitleBarBtnType t);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on)
    {
        transparent_ = on;
        Changed();
    }
    int Top() const { return top_; }
    void SetTop(int t)
    {
        top_ = t;
        Changed();
    }
    TkivUIStyle UIStyle() const { return ui_style_; }
    void SetUIStyle(TkivUIStyle s);
    const TBitmap& PicNormal() const { return pic_normal_; }
    const TBitmap& PicMouseOn() const { return pic_mouse_on_; }
    const TBitmap& PicMouseDown() const { return pic_mouse_down_; }
    void SetPicNormal(const TBitmap& b)
    {
        pic_normal_ = b;
        Changed();
    }
    void SetPicMouseOn(const TBitmap& b)
    {
        pic_mouse_on_ = b;
        Changed();
    }
    void SetPicMouseDown(const TBitmap& b)
    {
        pic_mouse_down_ = b;
        Changed();
    }
    TPopupMenu* ControlBoxMenu() const { return control_box_menu_; }
    void SetControlBoxMenu(TPopupMenu* m)
    {
        control_box_menu_ = m;
        Changed();
    }
    void Assign(const TkivTitleBarButton& other);
    int Index() const;

    // The pictures of its kind from the skin or the built-in style.
    void ApplyUIStyle();
    // kivMax: the restore pictures while the form is maximised.
    void RefreshMaxPicture();
    // What a click on the button does.
    void DoAction();

private:
    void Changed();
    // Cells from..from+2 of the title-button strip into the three pictures.
    void LoadCells(int first);
    TkivTitleBarButtons* collection_;
    bool visible_ = true;
    TkivTitleBarBtnType type_ = kivCustom;
    bool transparent_ = false;
    int top_ = 2;
    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TBitmap pic_normal_, pic_mouse_on_, pic_mouse_down_;
    TPopupMenu* control_box_menu_ = nullptr;
};

class TkivTitleBarButtons {
public:
    explicit TkivTitleBarButtons(TkivTitleBar* bar) : bar_(bar) {}
    int Count() const { return static_cast<int>(items_.size()); }
    TkivTitleBarButton* Items(int i) const { return items_.at(i).get(); }
    TkivTitleBarButton* Add();
    void Clear();
    void Assign(const TkivTitleBarButtons& other);
    TkivTitleBar* Bar() const { return bar_; }
    void Update();

private:
    TkivTitleBar* bar_;
    std::vector<std::unique_ptr<TkivTitleBarButton>> items_;
};

// The skinned system menu: minimise, maximise/restore, a line, close,
// drawn as every skinned menu is, in the bar's style.
class TkivTitleBarPopupMenu : public TkivPopupMenu {
public:
    explicit TkivTitleBarPopupMenu(TkivTitleBar* bar);
    // Enables each item by the bar's visible buttons, then pops up.
    void Popup(int X, int Y) override;
    TMenuItem* MinimizeItem() const { return Items()->Items(0); }
    TMenuItem* MaximizeItem() const { return Items()->Items(1); }
    TMenuItem* CloseItem() const { return Items()->Items(3); }

private:
    TkivTitleBar* bar_;
};

class TkivTitleBar : public TCustomControl, public IkivStyled {
public:
    explicit TkivTitleBar(TComponent* AOwner = nullptr);
    ~TkivTitleBar() override;

    bool Custom() const { return custom_; }
    void SetCustom(bool on) { custom_ = on; }
    TkivUIStyle UIStyle() const override { return ui_style_; }
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    void SetFileTheme(TkivFileTheme* theme) override;
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool on);

    TkivTitleBarSections& Sections() { return sections_; }
    TkivTitleBarButtons& Buttons() { return buttons_; }
    void SetSections(const TkivTitleBarSections& s) { sections_.Assign(s); }
    // The buttons a form stores: the collection cleared and refilled with
    // these kinds, in this order, in the bar's style.
    void SetButtonKinds(std::initializer_list<TkivTitleBarBtnType> kinds);
    void SetButtons(const TkivTitleBarButtons& b) { buttons_.Assign(b); }

    int ButtonInterval() const { return button_interval_; }
    void SetButtonInterval(int v)
    {
        button_interval_ = v;
        Invalidate();
    }
    // The caption is the control's own text (Caption/SetCaption).
    bool FormActive() const { return form_active_; }
    void SetFormActive(bool on);
    int LeftBtnXOffset() const { return left_offset_; }
    void SetLeftBtnXOffset(int v)
    {
        left_offset_ = v;
        Invalidate();
    }
    int RightBtnXOffset() const { return right_offset_; }
    void SetRightBtnXOffset(int v)
    {
        right_offset_ = v;
        Invalidate();
    }
    bool DrawAppIcon() const { return draw_app_icon_; }
    void SetDrawAppIcon(bool on)
    {
        draw_app_icon_ = on;
        Invalidate();
    }
    int RoundCorner() const { return round_corner_; }
    void SetRoundCorner(int v) { round_corner_ = v; }
    int RoundCornerBottom() const { return round_corner_bottom_; }
    void SetRoundCornerBottom(int v) { round_corner_bottom_ = v; }
    TColor InactiveCaptionColor() const { return inactive_caption_color_; }
    void SetInactiveCaptionColor(TColor c)
    {
        inactive_caption_color_ = c;
        Invalidate();
    }

    TkivTitleBarButtonClickEvent OnCustomBtnsClick;
    TkivTitleBarButtonClickEvent OnHelpBtnClick;

    // Services for the skinned form.
    // The parent is a TkivForm.
    bool IsInSkinForm() const;
    void RefreshMaxButtons();
    // -1: sections only (under the borders too); -2: that over the form
    // colour; i >= 0: section i's picture when there are more than two
    // sections. nullptr otherwise.
    const TBitmap* GetStripBitmap(int index) const;
    bool HasStandardSections() const { return sections_.Count() == 3 || sections_.Count() == 5; }
    // Paints at once, refreshing the strips.
    void PaintNow();
    TkivTitleBarPopupMenu* SystemMenu() const { return system_menu_; }
    // The strip's see-through colour and the skin's form colour (black
    // until a skin file has been applied).
    TColor TransparentColor() const { return trans_color_; }
    TColor FormColor() const { return form_color_; }
    int ButtonRowTop() const { return button_top_; }
    // The button under the mouse (-1: none).
    int HotIndex() const { return hot_index_; }
    // Where button `index` was last drawn (empty: not shown).
    TRect ButtonRect(int index) const
    {
        return index >= 0 && index < static_cast<int>(button_rects_.size()) ? button_rects_[index] : TRect{};
    }
    // The caption as last drawn (fitted to the space).
    const std::string& DrawnCaption() const { return drawn_caption_; }

    // The text cut to `width` with "..." (see the caption rule).
    static std::string FitCaption(const TCanvas& canvas, const std::string& text, int width);

    void Paint(TCanvas& Canvas) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // The buttons' and the form's shared actions.
    TForm* HostForm() const;
    void MinimizeForm();
    void ToggleMaximize();

protected:
    virtual void DrawSections(TBitmap& bitmap);
    virtual void DrawButtonsAndCaption(TBitmap& bitmap);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    void DblClick() override;
    void TextChanged() override { Invalidate(); }
    void FontChanged() override { Invalidate(); }

private:
    friend class TkivTitleBarButton;
    void BuildFileThemeSections();
    void BuildBuiltInSections();
    void ApplyButtonsStyle(TkivUIStyle effective);
    int BorderAnswer() const;
    // The button rectangles of the last paint, by index (empty: not shown).
    void RenderTo(TBitmap& bitmap);

    bool custom_ = false;
    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
    bool auto_size_ = false;
    TkivTitleBarSections sections_{this};
    TkivTitleBarButtons buttons_{this};
    int button_interval_ = 0;
    bool form_active_ = true;
    int left_offset_ = 0, right_offset_ = 0;
    bool draw_app_icon_ = true;
    int round_corner_ = 0, round_corner_bottom_ = 0;
    TColor inactive_caption_color_ = clInactiveCaption;
    TkivTitleBarPopupMenu* system_menu_ = nullptr;
    bool five_sections_ = false;
    std::string fitted_caption_;
    std::string drawn_caption_;
    TBitmap strip1_, strip2_;
    TColor form_color_ = clBlack;
    TColor trans_color_ = clBlack;
    int button_top_ = 0;
    int hot_index_ = -1;
    bool pressed_ = false;
    bool font_colour_locked_ = false;
    TPoint mouse_{-1, -1};
    std::vector<TRect> button_rects_;
    TRect control_box_rect_{};
};
