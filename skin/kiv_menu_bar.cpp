#include "skin/kiv_menu_bar.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/ui/menus.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_form.h"
#include "skin/kiv_main_menu.h"
#include "skin/kiv_style_colour.h"
#include "skin/kiv_themes.h"

namespace {

namespace key {
constexpr std::uint8_t kTopSelectedMenuColor = 5, kTopSelectedMenuBorderColor = 6,
                       kTopSelectedMenuFontColor = 7, kTopMenuFontColor = 8;
}  // namespace key

constexpr TColor kDisabledText = 0x808080;

// The popup an item's sub-items ride in while it is open: they keep the
// drawing the menu gave them.
class DropDownMenu : public TPopupMenu {
public:
    explicit DropDownMenu(const TMenu* source) : TPopupMenu(nullptr), source_(source) {}
    bool OwnerDraw() const override { return source_ && source_->OwnerDraw(); }

private:
    const TMenu* source_;
};

}  // namespace

TkivMenuBar::TkivMenuBar(TkivForm* form) : TCustomControl(form), form_(form)
{
    SetControlStyle((ControlStyle() | csOpaque) & ~csAcceptsControls);
    SetFont(gfx::SystemMenuFont());
}

void TkivMenuBar::Rebuild()
{
    std::vector<TMenuItem*> items;
    if (TMainMenu* menu = form_->Menu())
        for (int i = 0; i < menu->Items()->Count(); ++i)
            if (TMenuItem* item = menu->Items()->Items(i); item->Visible()) items.push_back(item);
    // A drop-down lends the open item's sub-items to its popup: the top
    // level stays as it is, and so do the buttons.
    const bool same = std::equal(items.begin(), items.end(), buttons_.begin(), buttons_.end(),
                                 [](const TMenuItem* item, const Button& b) { return item == b.item; });
    if (same) {
        RefreshButtons();
        return;
    }
    buttons_.clear();
    hot_ = pressed_ = -1;
    for (TMenuItem* item : items) buttons_.push_back({item, item->Caption(), item->Enabled(), {}});
    Layout();
}

void TkivMenuBar::ButtonFont(TFont& font) const
{
    font.Assign(Font());
    if (auto* menu = dynamic_cast<const TkivMainMenu*>(form_->Menu())) menu->ApplyMenuFont(font);
}

TkivUIStyle TkivMenuBar::GoverningStyle() const
{
    if (auto* menu = dynamic_cast<const TkivMainMenu*>(form_->Menu())) return menu->UIStyle();
    return form_->UIStyle();
}

TkivFileTheme* TkivMenuBar::GoverningTheme() const
{
    if (auto* menu = dynamic_cast<const TkivMainMenu*>(form_->Menu())) return menu->FileTheme();
    return form_->FileTheme();
}

void TkivMenuBar::RefreshButtons()
{
    for (Button& b : buttons_) {
        b.caption = b.item->Caption();
        b.enabled = b.item->Enabled();
    }
    Layout();
}

void TkivMenuBar::SetButtonHeight(int h)
{
    button_height_ = h;
    SetHeight(h);
    Layout();
}

void TkivMenuBar::Resize()
{
    TCustomControl::Resize();
    Layout();
}

void TkivMenuBar::Layout()
{
    TBitmap scratch(1, 1);
    TCanvas& c = scratch.Canvas();
    ButtonFont(c.Font());
    int x = 0;
    for (Button& b : buttons_) {
        // The caption without its accelerator mark, with room on each side.
        std::string text = b.caption;
        text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
        const int w = c.TextWidth(text) + 16;
        b.rect = {x, 0, x + w, button_height_};
        x += w;
    }
    Invalidate();
}

int TkivMenuBar::ButtonAt(int x, int y) const
{
    for (int i = 0; i < ButtonCount(); ++i)
        if (buttons_[i].rect.Contains(x, y)) return i;
    return -1;
}

void TkivMenuBar::DrawButton(TCanvas& canvas, const Button& b, ButtonState state)
{
    const TkivUIStyle style = GoverningStyle();
    TkivFileTheme* theme = GoverningTheme();
    TkivUIStyle effective;
    const bool file = TkivFileTheme::UsingFileTheme(theme, style, effective);
    auto colour = [&](std::uint8_t skinKey, int entry) {
        return skin::StyleColour(file, theme, skinKey, effective, entry);
    };
    std::string text = b.caption;
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    TRect r = b.rect;
    TRect textRect{r.Left, r.Top + 2, r.Right, r.Bottom + 2};
    canvas.Brush().SetStyle(bsClear);
    if (state != ButtonState::Normal && b.enabled) {
        if (!file && effective == TkivUIStyle::MacOS) {
            TBitmap select;
            TBitmap off(r.Width(), r.Height(), colour(key::kTopSelectedMenuColor, 19));
            if (skin::LoadBitmapResource("MACOS_MENU_SELECT", select)) {
                off.Canvas().StretchDraw(off.BoundsRect(), select);
            }
            canvas.Draw(r.Left, r.Top, off);
            canvas.Font().SetColor(skin::GetBuiltInColor(TkivUIStyle::MacOS, 20));
        } else {
            TRect fill = r;
            if (state == ButtonState::Pressed) fill.Right -= 2, textRect.Left += 2;
            canvas.Brush().SetColor(colour(key::kTopSelectedMenuColor, 19));
            canvas.FillRect(fill);
            canvas.Brush().SetColor(colour(key::kTopSelectedMenuBorderColor, 18));
            canvas.FrameRect(fill);
            canvas.Font().SetColor(colour(key::kTopSelectedMenuFontColor, 20));
        }
    } else {
        canvas.Font().SetColor(b.enabled ? colour(key::kTopMenuFontColor, 22) : kDisabledText);
    }
    canvas.Brush().SetStyle(bsClear);
    canvas.DrawText(text, textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TkivMenuBar::Paint(TCanvas& Canvas)
{
    TBitmap off(std::max(1, Width()), std::max(1, Height()), Color());
    TCanvas& c = off.Canvas();
    TkivUIStyle effective;
    const bool file = TkivFileTheme::UsingFileTheme(GoverningTheme(), GoverningStyle(), effective);
    TBitmap bar;
    if (!file && effective == TkivUIStyle::MacOS && skin::LoadBitmapResource("MACOS_MENU_BAR", bar))
        c.StretchDraw(off.BoundsRect(), bar);
    for (int i = 0; i < ButtonCount(); ++i) {
        ButtonFont(c.Font());
        const ButtonState state = i == pressed_ ? ButtonState::Pressed
                                  : i == hot_   ? ButtonState::Hot
                                                : ButtonState::Normal;
        DrawButton(c, buttons_[i], state);
    }
    Canvas.Draw(0, 0, off);
}

void TkivMenuBar::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    const int i = ButtonAt(X, Y);
    if (i != hot_) {
        hot_ = i;
        Invalidate();
    }
}

void TkivMenuBar::MouseLeave()
{
    TCustomControl::MouseLeave();
    hot_ = -1;
    Invalidate();
}

void TkivMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    const int i = ButtonAt(X, Y);
    if (i >= 0) DropDown(i);
}

void TkivMenuBar::DropDown(int index)
{
    if (index < 0 || index >= ButtonCount() || !buttons_[index].enabled) return;
    TMenuItem* item = buttons_[index].item;
    SetMouseCapture(false);
    if (item->Count() == 0) {
        item->Click();
        return;
    }
    // The item's sub-items ride in a popup menu while it is open, and go
    // back to the item afterwards, whatever happens.
    DropDownMenu popup(form_->Menu());
    std::vector<TMenuItem*> moved;
    while (item->Count() > 0) {
        TMenuItem* sub = item->Items(0);
        item->Remove(sub);
        popup.Items()->Add(sub);
        moved.push_back(sub);
    }
    auto restore = [&] {
        for (TMenuItem* sub : moved) {
            popup.Items()->Remove(sub);
            item->Add(sub);
        }
    };
    pressed_ = index;
    Invalidate();
    const TPoint p = ClientToScreen({buttons_[index].rect.Left, buttons_[index].rect.Bottom});
    try {
        popup.Popup(p.X, p.Y);
    } catch (...) {
        restore();
        pressed_ = -1;
        throw;
    }
    restore();
    pressed_ = -1;
    Invalidate();
}
