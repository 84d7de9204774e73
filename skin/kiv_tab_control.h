#pragma once
// The skinned tab strip TkivTabControlTopPanel and TkivTab, the tabbed
// container that owns one strip and paints the page area beside it. The
// strip measures its tabs at every paint, scrolls with two arrow buttons
// when they do not fit, and tells its owner which tab was chosen.
#include <vector>
#include <functional>

#include "platform/gfx/bitmap.h"
#include "platform/ui/control.h"
#include "platform/ui/strings.h"
#include "skin/kiv_themes.h"

class TCustomImageList;
class TkivTab;

enum TkivTabPosition { kivTop, kivBottom };

using TTabActiveNotify = std::function<void(TObject* Sender, int TabIndex)>;
using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TkivTabControlTopPanel : public TCustomControl, public IkivStyled {
public:
    TkivTabControlTopPanel(TComponent* AOwner, TkivTab* tabControl);

    TStrings& Tabs() { return tabs_; }
    const TStrings& Tabs() const { return tabs_; }
    void SetTabs(const TStrings& tabs) { tabs_.Assign(tabs); }
    int TabIndex() const { return tab_index_; }
    virtual void SetTabIndex(int value);
    int LeftMargin() const { return left_margin_; }
    void SetLeftMargin(int value);
    TkivTabPosition TabPosition() const { return tab_position_; }
    void SetTabPosition(TkivTabPosition position);

    TkivUIStyle UIStyle() const override { return ui_style_; }
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    void SetFileTheme(TkivFileTheme* theme) override;

    // Whether tab i is drawn (its page's TabVisible); true beyond the slots.
    bool TabShown(int index) const;
    void SetTabShown(int index, bool shown);
    // The width of tab i at the last paint: -1 never measured, 0 hidden.
    int TabWidth(int index) const;
    // Shown tabs scrolled off to the left.
    int FirstTab() const { return first_tab_; }
    bool ArrowsShown() const { return arrows_shown_; }
    TColor ActiveFontColor() const { return active_font_color_; }
    TColor InactiveFontColor() const { return inactive_font_color_; }
    // The rectangles of the two arrow buttons (valid while shown).
    TRect LeftArrowRect() const;
    TRect RightArrowRect() const;

    // Renders the strip into a bitmap of its size, refreshing the measured
    // widths, the scroll position and the arrows' state as a paint does.
    void Render(TBitmap& bitmap);
    // Renders (refreshing that state) and schedules the paint.
    void Refresh();

    void Paint(TCanvas& Canvas) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    TkivTab* TabControl() const { return tab_control_; }

private:
    friend class TkivTab;
    friend class TkivPageControl;
    // Follows the owner: top or bottom edge, the owner's width.
    void Reposition();
    void SetTabWidth(int index, int width);
    int DrawTabs(TBitmap& bitmap);
    void DrawScrollArrows(TBitmap& bitmap);
    int HiddenTabsBeforeFirst() const;
    // The image of tab i when the owner's list holds it, else -1.
    int GetImageIndex(int index) const;
    TRect ArrowRect(int dx) const;

    TkivTab* tab_control_;
    TStrings tabs_;
    int tab_index_ = 0;
    int left_margin_ = 10;
    TkivTabPosition tab_position_ = kivTop;
    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
    TBitmap active_picture_, inactive_picture_, line_picture_;
    TBitmap arrow_strip_;          // 4 cells: right, right lit, left, left lit
    std::vector<int> tab_widths_;  // grows with the tabs, -1 = never measured
    std::vector<bool> tab_shown_;  // grows with the tabs, true = shown
    int first_tab_ = 0;
    bool arrows_shown_ = false;
    int arrow_hit_ = 0;  // -1 left arrow, 1 right arrow
    int arrow_width_ = 0, arrow_height_ = 0;
    TColor active_font_color_ = clBlack, inactive_font_color_ = clBlack;
    bool user_click_ = false;
    bool keep_active_visible_ = false;
    int active_height_ = 0;
    int last_drawn_ = -1;   // the last tab the last paint drew
    TPoint mouse_{-1, -1};  // last mouse position over the strip
};

class TkivTab : public TCustomControl, public IkivStyled {
public:
    explicit TkivTab(TComponent* AOwner = nullptr);
    ~TkivTab() override;

    TkivTabControlTopPanel* TopPanel() const { return top_panel_; }

    TkivUIStyle UIStyle() const override { return ui_style_; }
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    void SetFileTheme(TkivFileTheme* theme) override;
    int LeftMargin() const { return top_panel_->LeftMargin(); }
    void SetLeftMargin(int value) { top_panel_->SetLeftMargin(value); }
    TColor BorderColor() const { return border_color_; }
    void SetBorderColor(TColor colour);
    TkivTabPosition TabPosition() const { return tab_position_; }
    void SetTabPosition(TkivTabPosition position);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);

    TTabActiveNotify OnTabActive;
    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

    void AdjustClientRect(TRect& Rect) const override;
    void Paint(TCanvas& Canvas) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    // Builds the strip once the derived object exists (call from its constructor).
    void CreateStrip();
    virtual TkivTabControlTopPanel* CreateTopPanel() = 0;
    virtual int GetTabImageIndex(int index) const = 0;
    virtual void SetTabIndex(int index);
    virtual void BorderColorChanged() {}
    virtual void TabActivated(int index);
    virtual void ApplyUIStyleToPages(TkivUIStyle style, TkivFileTheme* theme);
    void Resize() override;
    // The control's Font is the tab captions' font.
    void FontChanged() override;
    // The strip is part of the control: it shows the same cursor.
    void CursorChanged() override;

private:
    friend class TkivTabControlTopPanel;
    TkivTabControlTopPanel* top_panel_ = nullptr;
    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
    TColor border_color_ = clBlack;
    TkivTabPosition tab_position_ = kivTop;
    TCustomImageList* images_ = nullptr;
};
