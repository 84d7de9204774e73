#include "skin/kiv_menu_drawing.h"

#include <algorithm>
#include <string_view>

#include "platform/gfx/canvas.h"
#include "platform/gfx/font.h"
#include "platform/ui/form.h"
#include "platform/ui/image_list.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_locale.h"
#include "skin/kiv_public.h"
#include "skin/kiv_skin_keys.h"
#include "skin/kiv_style_colour.h"

namespace skin {

namespace {

SystemMenuFontQuery& FontQuery()
{
    static SystemMenuFontQuery query;
    return query;
}

void DrawMacPicture(TCanvas& canvas, const TRect& r, std::string_view name, int rows)
{
    // Loaded afresh for every item: nothing is kept between draws.
    TBitmap picture;
    if (!LoadBitmapResource(name, picture)) return;
    picture.SetHeight(std::min(rows, picture.Height()));
    StretchBitmap(picture, canvas, r);
}

}  // namespace

void HookMenuItemDrawing(TMenuItem* item, const MenuMeasureHandler& measure, const MenuDrawHandler& draw)
{
    if (!item) return;
    item->OnMeasureItem = measure;
    item->OnDrawItem = draw;
    for (int i = 0; i < item->Count(); ++i) HookMenuItemDrawing(item->Items(i), measure, draw);
}

void FillMenuRect(TCanvas& canvas, const TRect& r, TColor colour)
{
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(colour);
    canvas.FillRect(r);
}

void FrameMenuRect(TCanvas& canvas, const TRect& r, TColor colour)
{
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(colour);
    canvas.FrameRect(r);
}

void DrawMenuSeparatorLine(TCanvas& canvas, const TRect& r, TColor colour, bool leftToRight, int barWidth)
{
    canvas.Pen().SetColor(colour);
    const int y = r.Top + 2;
    if (leftToRight) {
        canvas.MoveTo(r.Left + barWidth + 4, y);
        canvas.LineTo(r.Right - 2, y);
    } else {
        canvas.MoveTo(r.Left + 2, y);
        canvas.LineTo(r.Right - barWidth - 4, y);
    }
}

void DrawMacMenuItem(TCanvas& canvas, const TRect& r) { DrawMacPicture(canvas, r, "MACOS_MENU_BAR", 20); }
void DrawMacMenuSelection(TCanvas& canvas, const TRect& r)
{
    DrawMacPicture(canvas, r, "MACOS_MENU_SELECT", 20);
}
void DrawMacMenuSeparator(TCanvas& canvas, const TRect& r)
{
    DrawMacPicture(canvas, r, "MACOS_MENU_BAR", 12);
}

void DrawFlatMenuFrame(TCanvas& canvas, const TRect& w, TColor outer, TColor shadow)
{
    TCanvasStateSaver saver(canvas);
    FrameMenuRect(canvas, {w.Left, w.Top + 1, w.Right - 1, w.Bottom - 1}, outer);
    FrameMenuRect(canvas, {w.Left + 1, w.Top + 2, w.Right - 2, w.Bottom - 2}, clWhite);
    canvas.Pen().SetColor(shadow);
    const TPoint line[] = {{w.Left, w.Bottom - 1},
                           {w.Right - 1, w.Bottom - 1},
                           {w.Right - 1, w.Top},
                           {w.Right, w.Top},
                           {w.Left, w.Top}};
    canvas.Polyline(line);
}

void SetSystemMenuFontQuery(SystemMenuFontQuery query) { FontQuery() = std::move(query); }

void SetSystemMenuFont(TFont& font)
{
    TFont menu;
    if (FontQuery()) {
        if (!FontQuery()(menu)) return;
    } else {
        menu = gfx::SystemMenuFont();
    }
    menu.SetColor(clMenuText);
    font.Assign(menu);
}

TCustomImageList& MenuCheckImages()
{
    static TCustomImageList* images = [] {
        auto* list = new TCustomImageList(nullptr, 16, 16);
        TBitmap glyph;
        LoadBitmapResource("MENU_CHECKED", glyph);
        list->AddMasked(glyph, clWhite);
        return list;
    }();
    return *images;
}

}  // namespace skin

namespace {

std::uint8_t ColourKey(std::string_view name)
{
    for (int i = 0; i < skin::kFirstBitmapKey; ++i)
        if (skin::kSkinKeys[i] == name) return static_cast<std::uint8_t>(i);
    return 0x7F;
}

}  // namespace

template <class Base>
TkivMenuBase<Base>::TkivMenuBase(TComponent* AOwner) : Base(AOwner)
{
    SetUIStyle(skin::GetOwnerUIStyle(AOwner));
}

template <class Base>
TkivMenuBase<Base>::~TkivMenuBase() = default;

template <class Base>
void TkivMenuBase<Base>::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    bar_width_ = 26;
    if (style == TkivUIStyle::MacOS) {
        menu_item_height_ = 20;
        separator_height_ = 12;
        separator_color_ = clBlack;
    } else {
        menu_item_height_ = 21;
        separator_height_ = 5;
        separator_color_ = 0x848284;
    }
    TkivUIStyle effective;
    if (TkivFileTheme::UsingFileTheme(file_theme_, style, effective)) {
        // A colour the skin lacks is DeepBlue's, never -1 taken for white.
        auto colour = [this, effective](const char* key, int position) {
            return skin::StyleColour(true, file_theme_, ColourKey(key), effective, position);
        };
        bar_color_ = colour("SKIN2_LEFTBARSTARTCOLOR", 23);
        color_ = colour("SKIN2_MENUITEMCOLOR", 21);
        font_color_ = colour("SKIN2_MENUITEMFONTCOLOR", 22);
        selected_border_color_ = colour("SKIN2_SELECTEDMENUBORDERCOLOR", 18);
        selected_color_ = colour("SKIN2_SELECTEDMENUCOLOR", 19);
        selected_font_color_ = colour("SKIN2_SELECTEDMENUFONTCOLOR", 20);
    } else {
        bar_color_ = skin::GetBuiltInColor(effective, 23);
        color_ = skin::GetBuiltInColor(effective, 21);
        font_color_ = skin::GetBuiltInColor(effective, 22);
        selected_border_color_ = skin::GetBuiltInColor(effective, 18);
        selected_color_ = skin::GetBuiltInColor(effective, 19);
        selected_font_color_ = skin::GetBuiltInColor(effective, 20);
    }
}

template <class Base>
void TkivMenuBase<Base>::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    SetUIStyle(ui_style_);
}

template <class Base>
void TkivMenuBase<Base>::SetSeparatorHeight(int value)
{
    if (ui_style_ != TkivUIStyle::MacOS) separator_height_ = value;
}

template <class Base>
void TkivMenuBase<Base>::SetImages(TCustomImageList* images)
{
    if (images == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = images;
    if (images_) images_->FreeNotification(this);
}

template <class Base>
void TkivMenuBase<Base>::Notification(TComponent* AComponent, TComponent::TOperation Operation)
{
    Base::Notification(AComponent, Operation);
    if (Operation != TComponent::TOperation::opRemove || !AComponent) return;
    if (AComponent == file_theme_) {
        file_theme_ = nullptr;
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
    if (AComponent == images_) images_ = nullptr;
}

template <class Base>
void TkivMenuBase<Base>::Hook(TMenuItem* item)
{
    skin::HookMenuItemDrawing(
        item, [this](TObject* s, TCanvas& c, int& w, int& h) { MeasureItem(s, c, w, h); },
        [this](TObject* s, TCanvas& c, TRect r, bool selected) { DrawItem(s, c, r, selected); });
}

template <class Base>
void TkivMenuBase<Base>::HookItems()
{
    for (int i = 0; i < this->Items()->Count(); ++i) Hook(this->Items()->Items(i));
}

template <class Base>
void TkivMenuBase<Base>::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild)
{
    Base::MenuChanged(Sender, Source, Rebuild);
    // Items added at run time draw skinned too.
    if (Rebuild && Source && Source->Parent()) Hook(Source);
}

template <class Base>
void TkivMenuBase<Base>::ApplyMenuFont(TFont& font) const
{
    if (use_system_font_) {
        skin::SetSystemMenuFont(font);
    } else {
        font.SetName(font_name_);
        font.SetSize(font_size_);
        font.SetCharset(font_charset_);
    }
}

template <class Base>
bool TkivMenuBase<Base>::RightToLeft() const
{
    const TBiDiMode mode = this->BiDiMode();
    return skin::UseRightToLeftLayout(mode);
}

template <class Base>
bool TkivMenuBase<Base>::ItemHasImage(const TMenuItem& item) const
{
    const TCustomImageList* images = Images();
    return item.ImageIndex() != -1 && images && item.ImageIndex() >= 0 && item.ImageIndex() < images->Count();
}

template <class Base>
void TkivMenuBase<Base>::MeasureItem(TObject* Sender, TCanvas& Canvas, int& Width, int& Height)
{
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item) return;
    if (item->Caption() == "-") {
        Height = separator_height_;
    } else {
        Height = std::max(Canvas.TextHeight(item->Caption()), menu_item_height_);
    }
    Width = Canvas.TextWidth(item->Caption()) + Canvas.TextWidth(ShortCutToText(item->ShortCut())) +
            bar_width_ + 40;
}

template <class Base>
void TkivMenuBase<Base>::DrawItem(TObject* Sender, TCanvas& Canvas, TRect Rect, bool Selected)
{
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item) return;
    const bool ltr = !RightToLeft();
    const bool mac = ui_style_ == TkivUIStyle::MacOS;
    TkivUIStyle effective;
    const bool skinned = TkivFileTheme::UsingFileTheme(file_theme_, ui_style_, effective);

    if (flat_menu_)
        if (TForm* window = ui::MenuWindowOf(Canvas)) {
            const TColor shadow =
                skin::StyleColour(skinned, file_theme_, ColourKey("SKIN2_FORMCOLOR"), effective, 15);
            skin::DrawFlatMenuFrame(Canvas, window->ClientRect(), clBlack, shadow);
        }

    auto plainBackground = [&] {
        if (bar_width_ > 0) {
            TRect bar = Rect, rest = Rect;
            if (ltr) {
                bar.Right = std::min(Rect.Right, Rect.Left + bar_width_);
                rest.Left = bar.Right;
            } else {
                bar.Left = std::max(Rect.Left, Rect.Right - bar_width_);
                rest.Right = bar.Left;
            }
            skin::FillMenuRect(Canvas, bar, bar_color_);
            skin::FillMenuRect(Canvas, rest, color_);
        } else {
            skin::FillMenuRect(Canvas, Rect, color_);
        }
    };

    if (item->Caption() == "-") {
        if (mac) {
            skin::DrawMacMenuSeparator(Canvas, Rect);
        } else {
            plainBackground();
            skin::DrawMenuSeparatorLine(Canvas, Rect, separator_color_, ltr, bar_width_);
        }
        return;
    }

    const bool lit = Selected && item->Enabled();
    if (lit) {
        if (mac) {
            skin::DrawMacMenuSelection(Canvas, Rect);
        } else {
            skin::FillMenuRect(Canvas, Rect, selected_color_);
            skin::FrameMenuRect(Canvas, Rect, selected_border_color_);
        }
    } else if (mac) {
        skin::DrawMacMenuItem(Canvas, Rect);
    } else {
        plainBackground();
    }

    ApplyMenuFont(Canvas.Font());
    Canvas.Brush().SetStyle(bsClear);
    Canvas.Font().SetColor(!item->Enabled() ? TColor(0x808080) : lit ? selected_font_color_ : font_color_);
    if (item->Default()) Canvas.Font().SetBold(true);

    const unsigned line = DT_SINGLELINE | DT_VCENTER;
    TRect caption = ltr ? TRect{Rect.Left + bar_width_ + 4, Rect.Top, Rect.Right, Rect.Bottom}
                        : TRect{Rect.Left + bar_width_, Rect.Top, Rect.Right - 4, Rect.Bottom};
    Canvas.DrawText(item->Caption(), caption, line | (ltr ? DT_LEFT : DT_RIGHT));
    const std::string shortcut = ShortCutToText(item->ShortCut());
    if (!shortcut.empty()) {
        TRect keys =
            ltr ? TRect{Rect.Right - Canvas.TextWidth(shortcut) - 16, Rect.Top, Rect.Right, Rect.Bottom}
                : TRect{Rect.Left + bar_width_ + 4, Rect.Top, Rect.Right, Rect.Bottom};
        Canvas.DrawText(shortcut, keys, line | DT_LEFT);
    }

    const int x = ltr ? Rect.Left + 4 : Rect.Right - 20;
    const bool image = ItemHasImage(*item);
    if (item->Checked()) {
        if (image) {
            skin::FrameMenuRect(Canvas, {x - 2, Rect.Top + 1, x + 17, Rect.Top + 20}, clBlack);
            skin::FillMenuRect(Canvas, {x - 1, Rect.Top + 2, x + 16, Rect.Top + 19}, selected_color_);
        } else {
            CheckImages().Draw(Canvas, x, Rect.Top + 3, 0, item->Enabled());
        }
    }
    if (image) Images()->Draw(Canvas, x, Rect.Top + 3, item->ImageIndex(), item->Enabled());
}

template class TkivMenuBase<TPopupMenu>;
template class TkivMenuBase<TMainMenu>;
