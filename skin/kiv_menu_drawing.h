#pragma once
// What the skinned menus share: the drawing routines of their items and
// TkivMenuBase, the look both menus publish (the style's colours and
// sizes) with the measuring and drawing of every item.
#include <functional>
#include <string>

#include "platform/gfx/types.h"
#include "platform/ui/menus.h"
#include "skin/kiv_themes.h"

class TCanvas;
class TCustomImageList;
class TFont;
class TForm;

namespace skin {

using MenuMeasureHandler = std::function<void(TObject* Sender, TCanvas& Canvas, int& Width, int& Height)>;
using MenuDrawHandler = std::function<void(TObject* Sender, TCanvas& Canvas, TRect Rect, bool Selected)>;

// Gives the item and all its sub-items (depth first) the two handlers.
void HookMenuItemDrawing(TMenuItem* item, const MenuMeasureHandler& measure, const MenuDrawHandler& draw);
void FillMenuRect(TCanvas& canvas, const TRect& r, TColor colour);
void FrameMenuRect(TCanvas& canvas, const TRect& r, TColor colour);
// One line at rect.Top + 2 beside the side bar (on its left when right to left).
void DrawMenuSeparatorLine(TCanvas& canvas, const TRect& r, TColor colour, bool leftToRight, int barWidth);
// The MacOS pictures stretched over the item: the face (20 rows), the
// selection (20 rows), and the top 12 rows of the face for a separator.
void DrawMacMenuItem(TCanvas& canvas, const TRect& r);
void DrawMacMenuSelection(TCanvas& canvas, const TRect& r);
void DrawMacMenuSeparator(TCanvas& canvas, const TRect& r);
// The flat frame round an open menu window, drawn on its canvas over its
// whole area: the outer colour, a white ring, the shadow's top and bottom.
void DrawFlatMenuFrame(TCanvas& windowCanvas, const TRect& window, TColor outer, TColor shadow);
// The system's menu font in the menu text colour; when the system cannot
// tell, the font stays as it was.
void SetSystemMenuFont(TFont& font);
// Where the menu font comes from (tests stand in for a failing system).
using SystemMenuFontQuery = std::function<bool(TFont& font)>;
void SetSystemMenuFontQuery(SystemMenuFontQuery query);
// The check mark of the menus: one list for the whole program.
TCustomImageList& MenuCheckImages();

}  // namespace skin

// The look of a skinned menu over a TPopupMenu or a TMainMenu.
template <class Base>
class TkivMenuBase : public Base, public IkivStyled {
public:
    explicit TkivMenuBase(TComponent* AOwner = nullptr);
    ~TkivMenuBase() override;

    TkivUIStyle UIStyle() const override { return ui_style_; }
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    void SetFileTheme(TkivFileTheme* theme) override;
    // Always on.
    bool OwnerDraw() const override { return true; }
    void SetOwnerDraw(bool) override {}

    int MenuItemHeight() const { return menu_item_height_; }
    virtual void SetMenuItemHeight(int value) { menu_item_height_ = value; }
    // Ignored while the style is MacOS.
    int SeparatorHeight() const { return separator_height_; }
    void SetSeparatorHeight(int value);
    int BarWidth() const { return bar_width_; }
    void SetBarWidth(int value) { bar_width_ = value; }
    TColor BarColor() const { return bar_color_; }
    void SetBarColor(TColor c) { bar_color_ = c; }
    TColor Color() const { return color_; }
    void SetColor(TColor c) { color_ = c; }
    TColor SeparatorColor() const { return separator_color_; }
    void SetSeparatorColor(TColor c) { separator_color_ = c; }
    TColor SelectedBorderColor() const { return selected_border_color_; }
    void SetSelectedBorderColor(TColor c) { selected_border_color_ = c; }
    TColor SelectedColor() const { return selected_color_; }
    void SetSelectedColor(TColor c) { selected_color_ = c; }
    TColor SelectedFontColor() const { return selected_font_color_; }
    void SetSelectedFontColor(TColor c) { selected_font_color_ = c; }
    TColor FontColor() const { return font_color_; }
    void SetFontColor(TColor c) { font_color_ = c; }
    // Stored only.
    TColor BorderColor() const { return border_color_; }
    void SetBorderColor(TColor c) { border_color_ = c; }
    bool FlatMenu() const { return flat_menu_; }
    void SetFlatMenu(bool on) { flat_menu_ = on; }
    const std::string& FontName() const { return font_name_; }
    void SetFontName(const std::string& name)
    {
        font_name_ = name;
        MenuFontChanged();
    }
    int FontSize() const { return font_size_; }
    void SetFontSize(int size)
    {
        font_size_ = size;
        MenuFontChanged();
    }
    int FontCharset() const { return font_charset_; }
    void SetFontCharset(int charset)
    {
        font_charset_ = charset;
        MenuFontChanged();
    }
    bool UseSystemFont() const { return use_system_font_; }
    virtual void SetUseSystemFont(bool on) { use_system_font_ = on; }
    // The item images; nullptr for none.
    virtual TCustomImageList* Images() const { return images_; }
    virtual void SetImages(TCustomImageList* images);

    // Hooks every item (what a menu does once it has loaded).
    virtual void HookItems();
    void Loaded() { HookItems(); }
    void MeasureItem(TObject* Sender, TCanvas& Canvas, int& Width, int& Height);
    void DrawItem(TObject* Sender, TCanvas& Canvas, TRect Rect, bool Selected);

    void Notification(TComponent* AComponent, TComponent::TOperation Operation) override;
    void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;

    // The font the items are drawn in: the system's menu font with
    // UseSystemFont, else FontName, FontSize and FontCharset.
    void ApplyMenuFont(TFont& font) const;

protected:
    // After FontName, FontSize or FontCharset changed.
    virtual void MenuFontChanged() {}
    // The check mark's list for this menu.
    virtual const TCustomImageList& CheckImages() const { return skin::MenuCheckImages(); }
    // The images an item shows: the list as Images answers.
    bool ItemHasImage(const TMenuItem& item) const;

private:
    void Hook(TMenuItem* item);
    bool RightToLeft() const;

    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
    int menu_item_height_ = 21;
    int separator_height_ = 21;
    int bar_width_ = 0;
    TColor bar_color_ = clBtnFace;
    TColor color_ = clWhite;
    TColor separator_color_ = 0x808080;
    TColor selected_border_color_ = clHighlight;
    TColor selected_color_ = clHighlight;
    TColor selected_font_color_ = clWhite;
    TColor font_color_ = clWhite;
    TColor border_color_ = 0;
    bool flat_menu_ = false;
    std::string font_name_ = "MS Sans Serif";
    int font_size_ = 8;
    int font_charset_ = 1;
    bool use_system_font_ = true;
    TCustomImageList* images_ = nullptr;
};

extern template class TkivMenuBase<TPopupMenu>;
extern template class TkivMenuBase<TMainMenu>;
