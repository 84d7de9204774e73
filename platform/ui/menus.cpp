#include "platform/ui/menus.h"

#include <algorithm>
#include <stdexcept>

#include "platform/gfx/canvas.h"
#include "platform/ui/backend.h"
#include "platform/ui/form.h"

// --- shortcuts --------------------------------------------------------------------

TShortCut ShortCut(uint16_t key, TShiftState shift)
{
    TShortCut s = key;
    if (shift & ssShift) s |= scShift;
    if (shift & ssCtrl) s |= scCtrl;
    if (shift & ssAlt) s |= scAlt;
    return s;
}

std::string ShortCutToText(TShortCut s)
{
    uint16_t key = s & 0xFF;
    if (!key) return {};
    std::string name;
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        name = std::string(1, char(key));
    else if (key >= VK_F1 && key <= VK_F1 + 11) {
        name = "F";
        name += std::to_string(key - VK_F1 + 1);
    } else {
        switch (key) {
        case VK_BACK: name = "BkSp"; break;
        case VK_TAB: name = "Tab"; break;
        case VK_RETURN: name = "Enter"; break;
        case VK_ESCAPE: name = "Esc"; break;
        case VK_SPACE: name = "Space"; break;
        case VK_PRIOR: name = "PgUp"; break;
        case VK_NEXT: name = "PgDn"; break;
        case VK_END: name = "End"; break;
        case VK_HOME: name = "Home"; break;
        case VK_LEFT: name = "Left"; break;
        case VK_UP: name = "Up"; break;
        case VK_RIGHT: name = "Right"; break;
        case VK_DOWN: name = "Down"; break;
        case VK_INSERT: name = "Ins"; break;
        case VK_DELETE: name = "Del"; break;
        default: return {};
        }
    }
    std::string out;
    if (s & scShift) out += "Shift+";
    if (s & scCtrl) out += "Ctrl+";
    if (s & scAlt) out += "Alt+";
    return out + name;
}

// --- items -----------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem()
{
    while (!items_.empty()) delete items_.back();
    if (parent_) parent_->Remove(this);
}

void TMenuItem::SetCaption(const std::string& c)
{
    if (c == caption_) return;
    caption_ = c;
    Changed(false);
}

void TMenuItem::SetEnabled(bool on)
{
    if (on == enabled_) return;
    enabled_ = on;
    Changed(false);
}

void TMenuItem::SetVisible(bool on)
{
    if (on == visible_) return;
    visible_ = on;
    Changed(true);
}

void TMenuItem::Changed(bool rebuild)
{
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(menu, this, rebuild);
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (!item || item == this) throw std::invalid_argument("Invalid menu item");
    if (item->parent_) item->parent_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(menu, item, true);
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* root = this;
    while (root->parent_) root = root->parent_;
    return root->menu_;
}

void TMenuItem::Remove(TMenuItem* item)
{
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(menu, item, true);
}

void TMenuItem::Delete(int index)
{
    TMenuItem* item = items_.at(index);
    Remove(item);
}

void TMenuItem::Clear()
{
    while (!items_.empty()) delete items_.back();
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Click()
{
    if (!enabled_) return;
    if (OnClick && !Loading()) OnClick(this);
}

// --- menus -----------------------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), items_(new TMenuItem(nullptr))
{
    items_->menu_ = this;
}

TMenu::~TMenu()
{
    items_->menu_ = nullptr;
    delete items_;
}

TBiDiMode TMenu::BiDiMode() const
{
    if (parent_bidi_mode_)
        if (auto* owner = dynamic_cast<const TControl*>(Owner())) return owner->BiDiMode();
    return bidi_mode_;
}

void TMenu::MenuChanged(TObject*, TMenuItem*, bool) {}

TMenuItem* TMenu::FindItemByShortCut(TShortCut shortcut) const
{
    std::vector<TMenuItem*> stack{items_};
    while (!stack.empty()) {
        TMenuItem* item = stack.back();
        stack.pop_back();
        if (item != items_ && item->ShortCut() == shortcut && shortcut != 0) return item;
        for (int i = item->Count() - 1; i >= 0; --i) stack.push_back(item->Items(i));
    }
    return nullptr;
}

bool TMenu::IsShortCut(uint16_t key, TShiftState shift)
{
    TMenuItem* item = FindItemByShortCut(ShortCut(key, shift));
    if (!item || !item->Enabled() || !item->Visible()) return false;
    item->Click();
    return true;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

// --- the menu window --------------------------------------------------------------------

namespace {

TForm* g_running_menu = nullptr;
// The menu window painting now and its canvas.
TForm* g_painting_menu = nullptr;
const TCanvas* g_painting_canvas = nullptr;

class TMenuWindow : public TForm {
public:
    explicit TMenuWindow(TPopupMenu& menu) : TForm(nullptr), menu_(menu)
    {
        SetBorderStyle(bsNone);
        SetCloseOnOutsideClick(true);
        SetColor(clMenu);
        for (int i = 0; i < menu.Items()->Count(); ++i)
            if (menu.Items()->Items(i)->Visible()) items_.push_back(menu.Items()->Items(i));
        Layout();
    }

    TMenuItem* Chosen() const { return chosen_; }

    void Layout()
    {
        TBitmap scratch(1, 1);
        TCanvas& c = scratch.Canvas();
        c.Font().Assign(gfx::SystemMenuFont());
        int y = 2, width = 80;
        for (TMenuItem* item : items_) {
            int h = item->IsLine() ? 8 : std::max(18, c.TextHeight(item->Caption()) + 6);
            int w = c.TextWidth(item->Caption()) + c.TextWidth(ShortCutToText(item->ShortCut())) + 40;
            if (menu_.OwnerDraw() && item->OnMeasureItem) item->OnMeasureItem(item, c, w, h);
            rects_.push_back({2, y, 0, y + h});
            width = std::max(width, w);
            y += h;
        }
        for (TRect& r : rects_) r.Right = 2 + width;
        SetBounds(Left(), Top(), width + 4, y + 2);
    }

    void Paint(TCanvas& canvas) override
    {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(ClientRect());
        // The frame first: an owner-drawn item may draw its own over it.
        canvas.Brush().SetColor(clBtnShadow);
        canvas.FrameRect(ClientRect());
        TForm* const painting = g_painting_menu;
        const TCanvas* const painting_canvas = g_painting_canvas;
        g_painting_menu = this;
        g_painting_canvas = &canvas;
        struct Restore {
            TForm* form;
            const TCanvas* canvas;
            ~Restore()
            {
                g_painting_menu = form;
                g_painting_canvas = canvas;
            }
        } restore{painting, painting_canvas};
        for (size_t i = 0; i < items_.size(); ++i) {
            TMenuItem* item = items_[i];
            bool selected = static_cast<int>(i) == hot_;
            TCanvasStateSaver saver(canvas);
            canvas.Font().Assign(gfx::SystemMenuFont());
            if (menu_.OwnerDraw() && item->OnDrawItem) {
                item->OnDrawItem(item, canvas, rects_[i], selected);
                continue;
            }
            TRect r = rects_[i];
            if (item->IsLine()) {
                canvas.Pen().SetColor(clBtnShadow);
                canvas.MoveTo(r.Left + 2, r.Top + 3);
                canvas.LineTo(r.Right - 2, r.Top + 3);
                continue;
            }
            bool lit = selected && item->Enabled();
            canvas.Brush().SetColor(lit ? clHighlight : Color());
            canvas.FillRect(r);
            canvas.Brush().SetStyle(bsClear);
            canvas.Font().SetColor(!item->Enabled() ? clGrayText : lit ? clHighlightText : clMenuText);
            canvas.Font().SetBold(item->Default());
            TRect text{r.Left + 20, r.Top, r.Right - 4, r.Bottom};
            canvas.DrawText(item->Caption(), text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            canvas.DrawText(ShortCutToText(item->ShortCut()), text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
            if (item->Checked()) {
                canvas.Pen().SetColor(canvas.Font().Color());
                int x = r.Left + 6, y = (r.Top + r.Bottom) / 2;
                canvas.MoveTo(x, y);
                canvas.LineTo(x + 3, y + 3);
                canvas.LineTo(x + 9, y - 3);
            }
        }
    }

    int ItemAt(int x, int y) const
    {
        for (size_t i = 0; i < rects_.size(); ++i)
            if (rects_[i].Contains(x, y)) return static_cast<int>(i);
        return -1;
    }

    void SetHot(int i)
    {
        if (i == hot_) return;
        hot_ = i;
        Invalidate();
    }

    void MouseMove(TShiftState Shift, int X, int Y) override
    {
        int i = ItemAt(X, Y);
        if (i >= 0 && !items_[i]->IsLine()) SetHot(i);
        TForm::MouseMove(Shift, X, Y);
    }

    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        int i = ItemAt(X, Y);
        if (i >= 0) Choose(i);
        TForm::MouseUp(Button, Shift, X, Y);
    }

    void KeyDown(uint16_t& Key, TShiftState Shift) override
    {
        switch (Key) {
        case VK_UP: Step(-1); break;
        case VK_DOWN: Step(1); break;
        case VK_HOME:
            hot_ = -1;
            Step(1);
            break;
        case VK_END:
            hot_ = static_cast<int>(items_.size());
            Step(-1);
            break;
        case VK_RETURN:
            if (hot_ >= 0) Choose(hot_);
            break;
        case VK_ESCAPE: SetModalResult(mrCancel); break;
        default: TForm::KeyDown(Key, Shift); return;
        }
        Key = 0;
    }

    void KeyPress(char32_t& Key) override
    {
        for (size_t i = 0; i < items_.size(); ++i)
            if (!items_[i]->IsLine() && items_[i]->Enabled() && IsAccel(Key, items_[i]->Caption())) {
                Choose(static_cast<int>(i));
                return;
            }
    }

private:
    void Step(int dir)
    {
        int n = static_cast<int>(items_.size());
        int i = hot_;
        for (int k = 0; k < n; ++k) {
            i += dir;
            if (i < 0) i = n - 1;
            if (i >= n) i = 0;
            if (!items_[i]->IsLine()) {
                SetHot(i);
                return;
            }
        }
    }

    void Choose(int i)
    {
        TMenuItem* item = items_[i];
        if (item->IsLine() || !item->Enabled()) return;
        chosen_ = item;
        SetModalResult(mrOk);
    }

    TPopupMenu& menu_;
    std::vector<TMenuItem*> items_;
    std::vector<TRect> rects_;
    int hot_ = -1;
    TMenuItem* chosen_ = nullptr;
};

}  // namespace

void TPopupMenu::Popup(int X, int Y)
{
    last_chosen_ = nullptr;
    if (OnPopup && !Loading()) OnPopup(this);
    if (Items()->Count() == 0) return;
    TMenuWindow window(*this);
    TRect area = Screen().WorkAreaRect();
    int x = X, y = Y;
    if (alignment_ == paRight) x -= window.Width();
    if (alignment_ == paCenter) x -= window.Width() / 2;
    x = std::clamp(x, area.Left, std::max(area.Left, area.Right - window.Width()));
    if (y + window.Height() > area.Bottom) y = std::max(area.Top, Y - window.Height());
    window.SetBounds(x, y, window.Width(), window.Height());
    TForm* previous = g_running_menu;
    g_running_menu = &window;
    try {
        window.ShowModal();
    } catch (...) {
        g_running_menu = previous;
        throw;
    }
    g_running_menu = previous;
    last_chosen_ = window.Chosen();
    // The action runs once the menu is gone.
    if (last_chosen_) last_chosen_->Click();
}

namespace ui {

TForm* RunningMenuWindow() { return g_running_menu; }

TForm* MenuWindowOf(const TCanvas& canvas)
{
    return &canvas == g_painting_canvas ? g_painting_menu : nullptr;
}

void ShowContextMenu(TControl& control, TPoint pos)
{
    TPopupMenu* menu = control.PopupMenu();
    if (!menu || !menu->AutoPopup()) return;
    TPoint screen = control.ClientToScreen(pos);
    menu->SetPopupComponent(&control);
    menu->Popup(screen.X, screen.Y);
}

}  // namespace ui
