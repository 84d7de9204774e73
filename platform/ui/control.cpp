#include "platform/ui/control.h"

#include <algorithm>
#include <stdexcept>

#include "platform/gfx/canvas.h"
#include "platform/ui/form.h"
#include "platform/ui/menus.h"
#include "platform/ui/utf8.h"

namespace {

TControl* g_capture = nullptr;

void EraseFrom(std::vector<TControl*>& list, TControl* c)
{
    list.erase(std::remove(list.begin(), list.end(), c), list.end());
}

}  // namespace

namespace ui {

TControl* CaptureControl() { return g_capture; }

void SetCaptureControl(TControl* control)
{
    if (control == g_capture) return;
    TControl* old = g_capture;
    g_capture = control;
    if (old) old->CancelMode();
}

}  // namespace ui

// --- construction ---------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
    font_.OnChange = [this](TObject*) { OnOwnFontChange(); };
}

TControl::~TControl()
{
    destroying_ = true;
    // Children still parented here go with their parent.
    while (!children_.empty()) delete children_.back();
    if (parent_) {
        Detaching();
        TControl* old = parent_;
        old->RemoveChild(this);
        parent_ = nullptr;
        if (!old->destroying_) {
            old->ChildChanged(this);
            old->Invalidate();
        }
    }
    if (g_capture && ContainsControl(g_capture)) g_capture = nullptr;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner)
{
    SetFocusable(true);
    SetTabStop(false);
    SetControlStyle(ControlStyle() | csAcceptsControls);
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TCustomControl::Paint(TCanvas& canvas)
{
    TCanvas* saved = canvas_;
    canvas_ = &canvas;
    try {
        PaintControl();
    } catch (...) {
        canvas_ = saved;
        throw;
    }
    canvas_ = saved;
}

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

// --- tree -------------------------------------------------------------------

void TControl::SetParent(TControl* AParent)
{
    if (AParent == parent_) return;
    if (AParent == this || (AParent && ContainsControl(AParent)))
        throw std::invalid_argument("A control cannot be its own parent");
    if (parent_) {
        Detaching();
        TControl* old = parent_;
        old->RemoveChild(this);
        parent_ = nullptr;
        old->ChildChanged(this);
        old->Invalidate();
    }
    parent_ = AParent;
    if (parent_) {
        parent_->InsertChild(this);
        if (parent_color_) ParentColorChanged();
        if (parent_font_) ParentFontChanged();
        if (parent_bidi_mode_) TakeBiDiMode(parent_->bidi_mode_);
        parent_->ChildChanged(this);
    }
    ParentChanged();
    Invalidate();
}

void TControl::InsertChild(TControl* child)
{
    children_.push_back(child);
    if (child->focusable_) tab_list_.push_back(child);
}

void TControl::RemoveChild(TControl* child)
{
    EraseFrom(children_, child);
    EraseFrom(tab_list_, child);
}

void TControl::Detaching()
{
    if (TForm* form = ParentForm()) {
        if (form != this) form->ControlRemoving(this);
    }
    if (g_capture && ContainsControl(g_capture)) g_capture = nullptr;
}

bool TControl::ContainsControl(const TControl* control) const
{
    for (const TControl* c = control; c; c = c->parent_)
        if (c == this) return true;
    return false;
}

TForm* TControl::ParentForm() const
{
    const TControl* c = this;
    while (c->parent_) c = c->parent_;
    return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::BringToFront()
{
    if (!parent_) {
        if (auto* form = dynamic_cast<TForm*>(this)) form->Activate();
        return;
    }
    auto& list = parent_->children_;
    EraseFrom(list, this);
    list.push_back(this);
    parent_->Invalidate();
}

void TControl::SendToBack()
{
    if (!parent_) return;
    auto& list = parent_->children_;
    EraseFrom(list, this);
    list.insert(list.begin(), this);
    parent_->Invalidate();
}

// --- bounds -------------------------------------------------------------------

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
    bool resized = AWidth != width_ || AHeight != height_;
    if (parent_) parent_->Invalidate();
    left_ = ALeft;
    top_ = ATop;
    width_ = AWidth;
    height_ = AHeight;
    if (parent_) parent_->ChildChanged(this);
    if (resized) {
        Realign();
        Resize();
    }
    Invalidate();
}

int TControl::ClientWidth() const
{
    TRect ins = NonClientInsets();
    return std::max(0, width_ - ins.Left - ins.Right);
}

int TControl::ClientHeight() const
{
    TRect ins = NonClientInsets();
    return std::max(0, height_ - ins.Top - ins.Bottom);
}

void TControl::SetClientWidth(int w)
{
    TRect ins = NonClientInsets();
    SetWidth(w + ins.Left + ins.Right);
}

void TControl::SetClientHeight(int h)
{
    TRect ins = NonClientInsets();
    SetHeight(h + ins.Top + ins.Bottom);
}

void TControl::SetClientSize(int w, int h)
{
    TRect ins = NonClientInsets();
    SetBounds(left_, top_, w + ins.Left + ins.Right, h + ins.Top + ins.Bottom);
}

TPoint TControl::ClientToAncestor(TPoint p, const TControl* ancestor) const
{
    const TControl* c = this;
    while (c && c != ancestor) {
        TRect ins = c->NonClientInsets();
        p = p + TPoint{ins.Left, ins.Top};
        if (!c->parent_) return p;
        p = p + TPoint{c->left_, c->top_};
        c = c->parent_;
    }
    return p;
}

TPoint TControl::ClientOrigin() const
{
    const TControl* root = this;
    while (root->parent_) root = root->parent_;
    TPoint inWindow = ClientToAncestor({0, 0}, nullptr);
    return inWindow + TPoint{root->left_, root->top_};
}

TPoint TControl::ClientToScreen(TPoint p) const { return p + ClientOrigin(); }
TPoint TControl::ScreenToClient(TPoint p) const { return p - ClientOrigin(); }

// --- alignment --------------------------------------------------------------------

void TControl::SetAlign(TAlign align)
{
    if (align == align_) return;
    align_ = align;
    if (parent_) parent_->ChildChanged(this);
}

void TControl::AdjustClientRect(TRect&) const {}

void TControl::ChildChanged(TControl* child)
{
    if (child->align_ != alNone) RequestAlign();
}

void TControl::RequestAlign()
{
    if (aligning_) return;
    Realign();
}

void TControl::EnableAlign()
{
    if (align_disabled_ > 0) --align_disabled_;
    if (align_disabled_ == 0 && align_pending_) Realign();
}

void TControl::Realign()
{
    if (align_disabled_ > 0) {
        align_pending_ = true;
        return;
    }
    align_pending_ = false;
    aligning_ = true;
    TRect r = ClientRect();
    AdjustClientRect(r);
    try {
        AlignControls(nullptr, r);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TControl::AlignControls(TControl*, TRect& r)
{
    static constexpr TAlign kOrder[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign a : kOrder) {
        std::vector<TControl*> list;
        for (TControl* c : children_)
            if (c->align_ == a && c->visible_) list.push_back(c);
        std::stable_sort(list.begin(), list.end(), [a](TControl* x, TControl* y) {
            switch (a) {
            case alTop: return x->top_ < y->top_;
            case alBottom: return x->top_ + x->height_ > y->top_ + y->height_;
            case alLeft: return x->left_ < y->left_;
            case alRight: return x->left_ + x->width_ > y->left_ + y->width_;
            default: return false;
            }
        });
        for (TControl* c : list) {
            int w = std::max(0, r.Width()), h = std::max(0, r.Height());
            switch (a) {
            case alTop:
                c->SetBounds(r.Left, r.Top, w, c->height_);
                r.Top += c->height_;
                break;
            case alBottom:
                c->SetBounds(r.Left, r.Bottom - c->height_, w, c->height_);
                r.Bottom -= c->height_;
                break;
            case alLeft:
                c->SetBounds(r.Left, r.Top, c->width_, h);
                r.Left += c->width_;
                break;
            case alRight:
                c->SetBounds(r.Right - c->width_, r.Top, c->width_, h);
                r.Right -= c->width_;
                break;
            case alClient: c->SetBounds(r.Left, r.Top, w, h); break;
            default: break;
            }
        }
    }
}

// --- visibility and state ---------------------------------------------------------

void TControl::SetVisible(bool visible)
{
    if (visible == visible_) return;
    if (!visible) {
        if (TForm* form = ParentForm(); form && form != this) form->ControlRemoving(this);
        if (g_capture && ContainsControl(g_capture)) ui::SetCaptureControl(nullptr);
    }
    visible_ = visible;
    VisibleChanged();
    if (parent_) {
        parent_->ChildChanged(this);
        parent_->Invalidate();
    }
    Invalidate();
}

bool TControl::Showing() const
{
    if (!visible_) return false;
    if (!parent_) return false;  // a control outside any form is not on screen
    return parent_->Showing();
}

void TControl::SetEnabled(bool enabled)
{
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (!enabled) {
        if (TForm* form = ParentForm(); form && form != this) form->ControlRemoving(this);
        if (g_capture && ContainsControl(g_capture)) ui::SetCaptureControl(nullptr);
    }
    EnabledChanged();
    Invalidate();
}

bool TControl::EffectivelyEnabled() const
{
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->enabled_) return false;
    return true;
}

void TControl::SetColor(TColor color)
{
    if (color == color_ && !parent_color_) return;
    color_ = color;
    parent_color_ = false;
    ColorChanged();
    for (TControl* c : children_) c->ParentColorChanged();
    Invalidate();
}

void TControl::SetCursor(TCursor cursor)
{
    if (cursor == cursor_) return;
    cursor_ = cursor;
    CursorChanged();
}

void TControl::SetParentColor(bool on)
{
    if (on == parent_color_) return;
    parent_color_ = on;
    if (on) ParentColorChanged();
}

void TControl::ParentColorChanged()
{
    if (!parent_color_ || !parent_) return;
    color_ = parent_->color_;
    ColorChanged();
    for (TControl* c : children_) c->ParentColorChanged();
    Invalidate();
}

void TControl::SetBiDiMode(TBiDiMode mode)
{
    parent_bidi_mode_ = false;
    TakeBiDiMode(mode);
}

void TControl::SetParentBiDiMode(bool on)
{
    parent_bidi_mode_ = on;
    if (on && parent_) TakeBiDiMode(parent_->bidi_mode_);
}

void TControl::TakeBiDiMode(TBiDiMode mode)
{
    if (mode == bidi_mode_) return;
    bidi_mode_ = mode;
    for (TControl* child : children_)
        if (child->parent_bidi_mode_) child->TakeBiDiMode(mode);
    BiDiModeChanged();
    Invalidate();
}

void TControl::SetParentFont(bool on)
{
    if (on == parent_font_) return;
    parent_font_ = on;
    if (on) ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!parent_font_ || !parent_) return;
    applying_parent_font_ = true;
    try {
        font_.Assign(parent_->font_);
    } catch (...) {
        applying_parent_font_ = false;
        throw;
    }
    applying_parent_font_ = false;
}

void TControl::OnOwnFontChange()
{
    if (!applying_parent_font_) parent_font_ = false;
    FontChanged();
    for (TControl* c : children_) c->ParentFontChanged();
    Invalidate();
}

void TControl::SetCaption(const std::string& caption)
{
    if (caption == caption_) return;
    caption_ = caption;
    TextChanged();
    Invalidate();
}

void TControl::SetPopupMenu(TPopupMenu* menu)
{
    if (popup_menu_) popup_menu_->RemoveFreeNotification(this);
    popup_menu_ = menu;
    if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && popup_menu_ && AComponent == popup_menu_) popup_menu_ = nullptr;
}

// --- painting -----------------------------------------------------------------------

TForm* TControl::WindowArea(TRect& area) const
{
    area = {0, 0, width_, height_};
    const TControl* c = this;
    while (c->parent_) {
        if (!c->visible_) return nullptr;
        const TControl* p = c->parent_;
        const TRect ins = p->NonClientInsets();
        area = area.Offset(ins.Left + c->left_, ins.Top + c->top_)
                   .Intersect({ins.Left, ins.Top, p->width_ - ins.Right, p->height_ - ins.Bottom});
        if (area.IsEmpty()) return nullptr;
        c = p;
    }
    return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::Invalidate()
{
    if (destroying_) return;
    TRect area;
    TForm* form = WindowArea(area);
    if (!form) return;
    if (form == this)
        form->InvalidateWindow();
    else
        form->InvalidateWindowRect(area);
}

void TControl::Repaint()
{
    Invalidate();
    if (TForm* form = ParentForm()) form->PaintChangedNow();
}

TBitmap& TControl::Buffer(int w, int h)
{
    if (!buffer_)
        buffer_ = std::make_unique<TBitmap>(w, h);
    else if (buffer_->Width() != w || buffer_->Height() != h)
        buffer_->SetSize(w, h);
    return *buffer_;
}

void TControl::Paint(TCanvas&) {}
void TControl::PaintNonClient(TCanvas&) {}

// --- focus -------------------------------------------------------------------------------

int TControl::TabOrder() const
{
    if (!focusable_ || !parent_) return -1;
    auto& list = parent_->tab_list_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TControl::SetTabOrder(int order)
{
    if (!focusable_ || !parent_) return;
    auto& list = parent_->tab_list_;
    EraseFrom(list, this);
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

bool TControl::CanFocus() const { return focusable_ && Showing() && EffectivelyEnabled(); }

bool TControl::Focused() const
{
    TForm* form = ParentForm();
    return form && form->ActiveControl() == this;
}

void TControl::SetFocus()
{
    if (TForm* form = ParentForm()) form->SetActiveControl(this);
}

void TControl::GetTabOrderList(std::vector<TControl*>& list) const
{
    for (TControl* c : tab_list_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

// --- mouse ---------------------------------------------------------------------------------

bool TControl::MouseCapture() const { return g_capture == this; }

void TControl::SetMouseCapture(bool on)
{
    if (on) {
        ui::SetCaptureControl(this);
    } else if (g_capture == this) {
        g_capture = nullptr;  // released by its holder: no cancel
    }
}

TControl* TControl::ControlAtPos(TPoint pos, bool allowDisabled, bool deep) const
{
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        TControl* c = *it;
        if (!c->visible_ || !(allowDisabled || c->enabled_)) continue;
        if (!c->BoundsRect().Contains(pos)) continue;
        if (!deep) return c;
        TRect ins = c->NonClientInsets();
        TPoint inner = pos - TPoint{c->left_ + ins.Left, c->top_ + ins.Top};
        if (c->ClientRect().Contains(inner)) {
            if (TControl* sub = c->ControlAtPos(inner, allowDisabled, true)) return sub;
        }
        return c;
    }
    return nullptr;
}

intptr_t TControl::Perform(unsigned, intptr_t, intptr_t) { return 0; }

bool TControl::EventsMuted() const
{
    for (const TComponent* c = this; c; c = c->Owner())
        if (c->Loading()) return true;
    return false;
}

// --- default input handling: raise the events ---------------------------------------------

void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    if (OnMouseDown && !EventsMuted()) OnMouseDown(this, b, s, x, y);
}
void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    if (OnMouseUp && !EventsMuted()) OnMouseUp(this, b, s, x, y);
}
void TControl::MouseMove(TShiftState s, int x, int y)
{
    if (OnMouseMove && !EventsMuted()) OnMouseMove(this, s, x, y);
}
bool TControl::MouseWheel(TShiftState s, int delta, TPoint pos)
{
    bool handled = false;
    if (OnMouseWheel && !EventsMuted()) OnMouseWheel(this, s, delta, pos, handled);
    return handled;
}
void TControl::Click()
{
    if (OnClick && !EventsMuted()) OnClick(this);
}
void TControl::DblClick()
{
    if (OnDblClick && !EventsMuted()) OnDblClick(this);
}
void TControl::MouseEnter()
{
    if (OnMouseEnter && !EventsMuted()) OnMouseEnter(this);
}
void TControl::MouseLeave()
{
    if (OnMouseLeave && !EventsMuted()) OnMouseLeave(this);
}
void TControl::KeyDown(uint16_t& key, TShiftState s)
{
    if (OnKeyDown && !EventsMuted()) OnKeyDown(this, key, s);
}
void TControl::KeyUp(uint16_t& key, TShiftState s)
{
    if (OnKeyUp && !EventsMuted()) OnKeyUp(this, key, s);
}
void TControl::KeyPress(char32_t& key)
{
    if (OnKeyPress && !EventsMuted()) OnKeyPress(this, key);
}
void TControl::DoEnter()
{
    if (OnEnter && !EventsMuted()) OnEnter(this);
}
void TControl::DoExit()
{
    if (OnExit && !EventsMuted()) OnExit(this);
}
void TControl::Resize()
{
    if (OnResize && !EventsMuted()) OnResize(this);
}

bool TControl::DialogKey(uint16_t key, TShiftState shift)
{
    std::vector<TControl*> list = children_;
    for (TControl* c : list) {
        if (!c->visible_ || !c->enabled_) continue;
        if (c->DialogKey(key, shift)) return true;
    }
    return false;
}

bool TControl::DialogChar(char32_t key, TShiftState shift)
{
    std::vector<TControl*> list = children_;
    for (TControl* c : list) {
        if (!c->visible_ || !c->enabled_) continue;
        if (c->DialogChar(key, shift)) return true;
    }
    return false;
}

void TControl::FocusChanged(TControl* newFocus)
{
    std::vector<TControl*> list = children_;
    for (TControl* c : list) c->FocusChanged(newFocus);
}

bool TControl::IsAccel(char32_t key, const std::string& caption)
{
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (i + 1 >= caption.size()) return false;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        char32_t c = ui::utf8::Decode(caption, i + 1);
        return ui::utf8::ToLowerAscii(c) == ui::utf8::ToLowerAscii(key);
    }
    return false;
}
