#pragma once
// TkivForm: the panel that turns its host form into a skinned window. It
// fills the host's client area, carries the skinned title bar and, with a
// main menu, the skinned menu bar; it takes over the host's frame (the
// platform's caption goes), paints the border, shapes the window and
// answers WM_SKIN_GETBORDERWIDTH. Its UIStyle is the style that new
// controls of the form start with.
#include <optional>
#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/region.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "skin/kiv_main_menu.h"
#include "skin/kiv_themes.h"
#include "skin/kiv_title_bar.h"

class TkivMenuBar;
class TMainMenu;

class TkivForm : public TCustomControl, public IkivStyled, public TFormFrameHook, public IkivMenuBarHost {
public:
    explicit TkivForm(TComponent* AOwner = nullptr);
    ~TkivForm() override;

    // Height of the caption strip at the top of the panel (the built-in
    // styles' title bar); forms lay out their controls below it.
    static constexpr int kCaptionHeight = 24;

    // A second TkivForm on a host stays an inert panel: no title bar, no
    // frame of its own.
    bool Inert() const { return host_ == nullptr; }
    TForm* Host() const { return host_; }
    TkivTitleBar* TitleBar() const { return title_bar_; }
    TkivMenuBar* MenuBar() const { return menu_bar_; }

    // --- published ------------------------------------------------------------------
    bool TitleBarCustom() const { return title_bar_ && title_bar_->Custom(); }
    void SetTitleBarCustom(bool on);
    TkivUIStyle UIStyle() const override { return ui_style_; }
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    void SetFileTheme(TkivFileTheme* theme) override;
    bool UIStyleAutoUpdateSub() const { return auto_update_sub_; }
    void SetUIStyleAutoUpdateSub(bool on) { auto_update_sub_ = on; }
    TColor BorderColor() const { return border_color_; }
    void SetBorderColor(TColor c);
    int BorderWidth() const { return border_width_; }
    void SetBorderWidth(int w);
    bool TitleBarVisible() const { return title_bar_ && title_bar_->Visible(); }
    void SetTitleBarVisible(bool on) { SetTitleBarVisibleFrom(on, true); }
    bool TitleBarDrawAppIcon() const { return title_bar_ ? title_bar_->DrawAppIcon() : true; }
    void SetTitleBarDrawAppIcon(bool on);
    TColor InactiveCaptionColor() const;
    void SetInactiveCaptionColor(TColor c);
    // Read 0 while the title bar is hidden.
    int RoundCorner() const;
    void SetRoundCorner(int v);
    int RoundCornerBottom() const;
    void SetRoundCornerBottom(int v);
    std::string Version() const { return "6.0"; }
    void SetVersion(const std::string&) {}
    // The title bar's font (nullptr without a title bar).
    TFont* GetFont() const { return title_bar_ ? &title_bar_->Font() : nullptr; }
    // Takes the one skin the program stores (the TkivBuiltInFileTheme of
    // the host, else of the application's main form) with UIStyle
    // FromThemeFile; without one the style stays as it is.
    void UseProgramSkin();
    // The title buttons the form stores (replacing the four defaults).
    void SetTitleBarButtons(std::initializer_list<TkivTitleBarBtnType> kinds)
    {
        if (title_bar_) title_bar_->SetButtonKinds(kinds);
    }
    TControl* FormPanel() const { return form_panel_; }
    // The panel fills the form (alClient); the form itself is refused.
    void SetFormPanel(TControl* panel);

    TMainMenu* Menu() const { return menu_; }
    // A TkivMainMenu shown here is linked back (MenuForm) while it is the
    // form's menu, so its changes reach the bar.
    void SetMenu(TMainMenu* menu);
    TColor MenuBarColor() const { return menu_bar_color_; }
    void SetMenuBarColor(TColor c);
    int MenuBarHeight() const { return menu_bar_height_; }
    void SetMenuBarHeight(int h);

    TkivTitleBarButtonClickEvent OnTitleBarCustomBtnsClick;
    TkivTitleBarButtonClickEvent OnTitleBarHelpBtnClick;

    // --- services ---------------------------------------------------------------------
    // The title bar's height + 3 while it shows, else 0.
    int GetTitleBarSpace() const;
    // Repaints the host's border (at the host's next paint).
    void PaintFormBorder();
    // Draws the whole border over the window picture `canvas` (window
    // pixels).
    void PaintFormBorderTo(TCanvas& canvas);
    // Sets the host's window region.
    void UpdateRegion();
    // Takes the platform's caption off the host again.
    void RemoveHostCaption();
    void RebuildMenuBar() override;
    void RefreshMenuBar() override;
    void UpdateMenuBarFont() override;
    // What WM_SKIN_GETBORDERWIDTH answers.
    int BorderWidthAnswer() const;

    // The skin border sizes and region switches in use (0 / off in the
    // built-in styles).
    int LeftBorderWidth() const { return left_border_; }
    int RightBorderWidth() const { return right_border_; }
    int BottomBorderHeight() const { return bottom_border_; }
    TColor TransparentColor() const { return trans_color_; }
    bool TitleNeedsRegion() const { return title_needs_region_; }
    bool BottomNeedsRegion() const { return bottom_needs_region_; }
    const TBitmap& BottomBorderBitmap() const { return bottom_bitmap_; }
    // The host's border style when the panel was created.
    TFormBorderStyle HostBorderStyleAtCreation() const { return host_border_style_; }

    void Paint(TCanvas& Canvas) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // --- frame hook -----------------------------------------------------------------
    TRect FrameInsets(const TForm& form) override;
    void PaintFrame(TForm& form, TCanvas& canvas) override;
    bool FrameMessage(TForm& form, unsigned msg, intptr_t wparam, intptr_t lparam, intptr_t& result) override;
    void FormActivated(TForm& form, bool active) override;
    void FormResized(TForm& form) override;

protected:
    void TextChanged() override;
    void Resize() override;

private:
    void SetTitleBarVisibleFrom(bool on, bool byCaller);
    void CreateMenuBar();
    void DestroyMenuBar();
    // A TkivMainMenu linked to this form is linked no more.
    void Unlink(TMainMenu* menu);
    void AppMessage(TMsg& msg, bool& handled);
    bool HandleMenuShortCut(const TMsg& msg);
    bool UsingFile(TkivUIStyle& effective) const;
    void PaintSkinBorder(TCanvas& canvas, int W, int H);
    void PaintBuiltInBorder(TCanvas& canvas, int W, int H);
    void ComposeBottomBorder(int W);

    TForm* host_ = nullptr;
    TkivTitleBar* title_bar_ = nullptr;
    TkivMenuBar* menu_bar_ = nullptr;
    TMainMenu* menu_ = nullptr;
    TApplicationEvents* app_events_ = nullptr;
    TControl* form_panel_ = nullptr;
    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
    bool auto_update_sub_ = false;
    TColor border_color_ = clBlack;
    int border_width_ = 1;
    TColor menu_bar_color_ = clBtnFace;
    int menu_bar_height_ = 22;
    int left_border_ = 0, right_border_ = 0, bottom_border_ = 0;
    TBitmap bottom_bitmap_;
    TColor trans_color_ = clMagenta;
    bool title_needs_region_ = false, bottom_needs_region_ = false;
    int title_min_y_ = 0, title_max_y_ = 0, bottom_min_y_ = 0, bottom_max_y_ = 0;
    TFormBorderStyle host_border_style_ = bsSizeable;
    bool created_maximized_ = false;
    bool title_wanted_visible_ = true;
    bool destroying_ = false;
    bool resizing_ = false;
};
