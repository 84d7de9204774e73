#include "platform/ui/form.h"

#include <algorithm>
#include <stdexcept>

#include "platform/gfx/canvas.h"
#include "platform/ui/backend.h"
#include "platform/ui/render.h"
#include "platform/ui/utf8.h"

namespace {

// The classic frame of a form without a frame hook.
constexpr int kFrame = 3;
constexpr int kCaption = 18;
constexpr int kToolCaption = 15;

bool HasClassicFrame(TFormBorderStyle s) { return s != bsNone; }
bool Sizeable(TFormBorderStyle s) { return s == bsSizeable || s == bsSizeToolWin; }
int CaptionHeight(TFormBorderStyle s)
{
    return (s == bsToolWindow || s == bsSizeToolWin) ? kToolCaption : kCaption;
}

template <class T>
void EraseValue(std::vector<T*>& list, T* value)
{
    list.erase(std::remove(list.begin(), list.end(), value), list.end());
}

unsigned ButtonBit(TMouseButton b) { return b == mbLeft ? ssLeft : b == mbRight ? ssRight : ssMiddle; }

// The close box of the classic frame, in window pixels.
TRect CloseBoxRect(const TForm& form)
{
    int h = CaptionHeight(form.BorderStyle()) - 4;
    int right = form.Width() - kFrame - 2;
    return {right - h - 2, kFrame + 2, right, kFrame + 2 + h};
}

TRect CaptionRect(const TForm& form)
{
    return {kFrame, kFrame, form.Width() - kFrame, kFrame + CaptionHeight(form.BorderStyle())};
}

// True once the form that handed out `alive` is being destroyed.
bool Gone(const std::weak_ptr<bool>& alive) { return alive.expired() || !*alive.lock(); }

// The message a mouse event stands for, as the message hooks see it.
unsigned MouseMessageId(const ui::InputEvent& e)
{
    bool dbl = e.clicks >= 2;
    switch (e.kind) {
    case ui::InputEvent::MouseDown:
        if (e.button == mbLeft) return dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
        if (e.button == mbRight) return dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
        return dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
    case ui::InputEvent::MouseUp:
        return e.button == mbLeft ? WM_LBUTTONUP : e.button == mbRight ? WM_RBUTTONUP : WM_MBUTTONUP;
    case ui::InputEvent::MouseWheel: return WM_MOUSEWHEEL;
    default: return WM_MOUSEMOVE;
    }
}

// Where a control's client (0, 0) lies in its form's window pixels.
TPoint WindowOrigin(const TControl& c) { return c.ClientToAncestor({0, 0}, nullptr); }

}  // namespace

TScreen& Screen()
{
    // Never destroyed: forms owned by the application object are freed at
    // exit, possibly after a function-local static would be gone, and they
    // still unregister themselves here.
    static TScreen* const screen = new TScreen;
    return *screen;
}

TControl* TScreen::ActiveControl() const { return active_form_ ? active_form_->ActiveControl() : nullptr; }
TRect TScreen::WorkAreaRect() const { return ui::CurrentBackend().WorkArea(); }
int TScreen::Width() const { return ui::CurrentBackend().ScreenRect().Width(); }
int TScreen::Height() const { return ui::CurrentBackend().ScreenRect().Height(); }
void TScreen::SetCursor(TCursor cursor)
{
    cursor_ = cursor;
    ui::CurrentBackend().SetCursorShape(cursor);
}

TApplicationEvents::TApplicationEvents(TComponent* AOwner) : TComponent(AOwner)
{
    Screen().hooks_.push_back(this);
}

TApplicationEvents::~TApplicationEvents() { EraseValue(Screen().hooks_, this); }

// --- construction -----------------------------------------------------------------

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner), alive_(std::make_shared<bool>(true))
{
    SetFocusable(false);
    TControl::SetVisible(false);
    SetParentFont(false);
    SetBounds(0, 0, 320, 240);
    constraints_.OnChange = [this] { ApplyConstraints(); };
    Screen().forms_.push_back(this);
}

TForm::~TForm()
{
    if (OnDestroy && !EventsMuted()) {
        try {
            OnDestroy(this);
        } catch (...) {}
    }
    *alive_ = false;
    TScreen& screen = Screen();
    EraseValue(screen.forms_, this);
    EraseValue(screen.modal_stack_, this);
    if (screen.active_form_ == this) screen.active_form_ = nullptr;
    if (screen.main_form_ == this) screen.main_form_ = nullptr;
    for (TForm* f : screen.forms_) EraseValue(f->disabled_by_modal_, this);
    // The controls go while this is still a form, so they can unhook.
    while (ControlCount() > 0) delete Controls(ControlCount() - 1);
    active_control_ = hover_ = pressed_ = nullptr;
    window_.reset();
}

void TForm::AfterConstruction()
{
    if (created_) return;
    created_ = true;
    if (!Screen().main_form_ && Owner() == &App()) Screen().main_form_ = this;
    if (OnCreate && !EventsMuted()) OnCreate(this);
}

// --- showing and hiding ---------------------------------------------------------------

void TForm::SetVisible(bool visible)
{
    if (visible == Visible()) {
        if (visible) Activate();
        return;
    }
    if (visible) {
        // OnShow may size the form (the main window does): the position
        // follows the size it ends with.
        DoShow();
        PlaceOnScreen();
        TControl::SetVisible(true);
        ShowWindow();
        if (!active_control_ || !active_control_->CanFocus()) {
            active_control_ = nullptr;
            SelectNext(nullptr, true, true);
        }
        Activate();
    } else {
        if (modal_ && modal_result_ == mrNone) modal_result_ = mrCancel;
        if (ui::CaptureControl() && ui::CaptureControl()->ParentForm() == this)
            ui::SetCaptureControl(nullptr);
        move_drag_ = false;
        size_edges_ = 0;
        UpdateHover(nullptr);
        TControl::SetVisible(false);
        DoHide();
        HideWindow();
        bool was_active = active_;
        SetActiveBySystem(false);
        if (was_active) {
            // The topmost remaining visible form takes over.
            TScreen& screen = Screen();
            TForm* next = screen.ModalForm();
            if (!next || !next->Visible()) {
                next = nullptr;
                for (auto it = screen.forms_.rbegin(); it != screen.forms_.rend(); ++it)
                    if ((*it)->Visible() && *it != this) {
                        next = *it;
                        break;
                    }
            }
            if (next) next->Activate();
        }
    }
}

void TForm::DoShow()
{
    if (OnShow && !EventsMuted()) OnShow(this);
}

void TForm::DoHide()
{
    if (OnHide && !EventsMuted()) OnHide(this);
}

void TForm::PlaceOnScreen()
{
    if (window_state_ == wsMaximized) {
        SetBounds(Screen().WorkAreaRect().Left, Screen().WorkAreaRect().Top, Screen().WorkAreaRect().Width(),
                  Screen().WorkAreaRect().Height());
        return;
    }
    TRect area;
    switch (position_) {
    case poScreenCenter:
    case poDesktopCenter: area = Screen().WorkAreaRect(); break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TForm* main = Screen().MainForm();
        area = (main && main != this && main->Visible()) ? main->BoundsRect() : Screen().WorkAreaRect();
        break;
    }
    default: return;
    }
    SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(),
              Height());
}

void TForm::ShowWindow()
{
    ui::Backend& backend = ui::CurrentBackend();
    if (App().EventSource() != backend.EventSource()) App().SetEventSource(backend.EventSource());
    if (!window_) {
        window_ = backend.CreateWindow(*this);
        window_->SetTitle(Caption());
        window_->SetResizable(Sizeable(border_style_));
        window_->SetSizeLimits(constraints_.MinWidth(), constraints_.MinHeight(), constraints_.MaxWidth(),
                               constraints_.MaxHeight());
    }
    window_->SetBounds(BoundsRect());
    window_->SetShape(region_);
    window_->SetMinimized(window_state_ == wsMinimized);
    window_->SetVisible(true);
    PaintWindowNow();
}

void TForm::HideWindow()
{
    if (window_) window_->SetVisible(false);
}

TModalResult TForm::ShowModal()
{
    if (Visible() || modal_) throw std::logic_error("Cannot make a visible window modal");
    TScreen& screen = Screen();
    if (TControl* cap = ui::CaptureControl()) {
        (void)cap;
        ui::SetCaptureControl(nullptr);
    }
    TForm* opener = screen.active_form_;
    if (opener) opener->move_drag_ = false, opener->size_edges_ = 0;
    modal_result_ = mrNone;
    modal_ = true;
    screen.modal_stack_.push_back(this);
    std::weak_ptr<bool> alive = alive_;
    auto finish = [&] {
        EraseValue(screen.modal_stack_, this);
        modal_ = false;
    };
    try {
        Show();
        if (window_) window_->SetModalFor(opener && opener->window_ ? opener->window_.get() : nullptr);
        for (;;) {
            App().RunUntil([&] { return alive.expired() || !*alive.lock() || modal_result_ != mrNone; });
            if (alive.expired() || !*alive.lock()) return mrCancel;
            if (App().Terminated()) {
                modal_result_ = mrCancel;
                break;
            }
            if (!Visible()) break;  // hidden from outside: no close questions
            TCloseAction action = caNone;
            if (CloseQuery()) {
                action = caHide;
                if (OnClose && !EventsMuted()) OnClose(this, action);
            }
            if (action == caNone) {
                modal_result_ = mrNone;
                continue;
            }
            break;
        }
    } catch (...) {
        if (!alive.expired() && *alive.lock()) {
            finish();
            if (Visible()) Hide();
        }
        throw;
    }
    TModalResult result = modal_result_;
    finish();
    if (Visible()) Hide();
    if (opener && opener != this && opener->Visible() &&
        std::find(screen.forms_.begin(), screen.forms_.end(), opener) != screen.forms_.end())
        opener->Activate();
    return result;
}

bool TForm::CloseQuery()
{
    bool can_close = true;
    if (OnCloseQuery && !EventsMuted()) OnCloseQuery(this, can_close);
    return can_close;
}

void TForm::Close()
{
    if (modal_) {
        modal_result_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    if (OnClose && !EventsMuted()) OnClose(this, action);
    if (action == caNone) return;
    std::weak_ptr<bool> alive = alive_;
    bool is_main = Screen().MainForm() == this;
    App().PostMessage([this, alive, action, is_main] {
        if (alive.expired() || !*alive.lock()) return;
        if (is_main) {
            Hide();
            App().Terminate();
        } else if (action == caHide) {
            Hide();
        } else if (action == caMinimize) {
            SetWindowState(wsMinimized);
        } else {
            delete this;
        }
    });
}

void TForm::Activate()
{
    if (!Visible()) return;
    if (window_) window_->Raise();
    SetActiveBySystem(true);
}

void TForm::SetActiveBySystem(bool active)
{
    if (active == active_) return;
    TScreen& screen = Screen();
    if (active) {
        TForm* previous = screen.active_form_;
        if (previous && previous != this) previous->SetActiveBySystem(false);
        screen.active_form_ = this;
        active_ = true;
        if (frame_hook_) frame_hook_->FormActivated(*this, true);
        std::weak_ptr<bool> alive = alive_;
        if (OnActivate && !EventsMuted()) OnActivate(this);
        if (Gone(alive)) return;
        if (active_) RestoreFocus();
    } else {
        active_ = false;
        if (modal_ && close_on_outside_ && modal_result_ == mrNone) modal_result_ = mrCancel;
        if (screen.active_form_ == this) screen.active_form_ = nullptr;
        if (ui::CaptureControl() && ui::CaptureControl()->ParentForm() == this)
            ui::SetCaptureControl(nullptr);
        move_drag_ = false;
        size_edges_ = 0;
        buttons_down_ = 0;
        if (frame_hook_) frame_hook_->FormActivated(*this, false);
        if (OnDeactivate && !EventsMuted()) OnDeactivate(this);
    }
    InvalidateWindow();
}

// --- window ------------------------------------------------------------------------------

void TForm::SetBorderStyle(TFormBorderStyle style)
{
    if (style == border_style_) return;
    border_style_ = style;
    if (window_) window_->SetResizable(Sizeable(border_style_));
    FrameChanged();
}

TRect TForm::NonClientInsets() const
{
    if (frame_hook_) return frame_hook_->FrameInsets(*this);
    if (!HasClassicFrame(border_style_)) return {};
    return {kFrame, kFrame + CaptionHeight(border_style_) + 1, kFrame, kFrame};
}

void TForm::FrameChanged()
{
    Realign();
    Invalidate();
}

void TForm::SetFrameHook(TFormFrameHook* hook)
{
    frame_hook_ = hook;
    FrameChanged();
}

void TForm::SetWindowRegion(std::optional<gfx::Region> region)
{
    region_ = std::move(region);
    if (window_) window_->SetShape(region_);
}

void TForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AWidth = constraints_.ClampWidth(AWidth);
    AHeight = constraints_.ClampHeight(AHeight);
    bool resized = AWidth != Width() || AHeight != Height();
    bool moved = ALeft != Left() || ATop != Top();
    if (!resized && !moved) return;
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (window_) window_->SetBounds(BoundsRect());
    if (resized && frame_hook_) frame_hook_->FormResized(*this);
}

void TForm::ApplyConstraints()
{
    if (window_)
        window_->SetSizeLimits(constraints_.MinWidth(), constraints_.MinHeight(), constraints_.MaxWidth(),
                               constraints_.MaxHeight());
    SetBounds(Left(), Top(), Width(), Height());
}

void TForm::SetWindowState(TWindowState state)
{
    if (state == window_state_) return;
    // Without a window manager a minimised window could not be brought
    // back: it stays as it is and keeps painting.
    if (state == wsMinimized && window_ && !window_->CanMinimize()) return;
    TWindowState old = window_state_;
    if (old == wsNormal) normal_bounds_ = BoundsRect();
    if (state == wsMinimized) restore_state_ = old;
    window_state_ = state;
    if (window_) window_->SetMinimized(state == wsMinimized);
    if (state == wsMaximized) {
        TRect area = Screen().WorkAreaRect();
        SetBounds(area.Left, area.Top, area.Width(), area.Height());
    } else if (state == wsNormal && old == wsMaximized && !normal_bounds_.IsEmpty()) {
        SetBoundsRect(normal_bounds_);
    }
    if (frame_hook_) frame_hook_->FormResized(*this);
    if (state != wsMinimized) InvalidateWindow();
}

// The window system minimised or restored the window itself (its own
// minimise, the taskbar, an activation): the state follows without asking
// the window again, and a restored window is painted at once.
void TForm::MinimizedBySystem(bool minimized)
{
    if (!Visible() || minimized == (window_state_ == wsMinimized)) {
        if (!minimized) InvalidateWindow();
        return;
    }
    if (minimized) {
        restore_state_ = window_state_;
        if (window_state_ == wsNormal) normal_bounds_ = BoundsRect();
        window_state_ = wsMinimized;
    } else {
        window_state_ = restore_state_;
    }
    if (frame_hook_) frame_hook_->FormResized(*this);
    InvalidateWindow();
}

// The window manager moved or sized the window: the form takes the bounds
// its limits allow and gives the window back what it kept.
void TForm::BoundsChangedBySystem(const TRect& bounds)
{
    if (!Visible() || !window_ || window_state_ == wsMinimized || move_drag_ || size_edges_) return;
    SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    window_->SetBounds(BoundsRect());
    InvalidateWindow();
}

void TForm::TextChanged()
{
    if (window_) window_->SetTitle(Caption());
}

intptr_t TForm::Perform(unsigned Msg, intptr_t WParam, intptr_t LParam)
{
    intptr_t result = 0;
    if (frame_hook_ && frame_hook_->FrameMessage(*this, Msg, WParam, LParam, result)) return result;
    return TWinControl::Perform(Msg, WParam, LParam);
}

void TForm::BeginMoveDrag()
{
    if (window_state_ == wsMaximized) return;
    move_drag_ = true;
    drag_origin_ = last_screen_mouse_;
    drag_bounds_ = BoundsRect();
    // The move takes the mouse: the control that had it hears no release.
    if (ui::CaptureControl() && ui::CaptureControl()->ParentForm() == this) {
        TControl* cap = ui::CaptureControl();
        cap->SetMouseCapture(false);
    }
    implicit_capture_ = false;
    pressed_ = nullptr;
}

// --- focus --------------------------------------------------------------------------------

void TForm::SetActiveControl(TControl* control)
{
    if (control == active_control_) return;
    if (control && (control->ParentForm() != this || !control->CanFocus())) return;
    TControl* old = active_control_;
    active_control_ = control;
    std::weak_ptr<bool> alive = alive_;
    if (old) {
        old->DoExit();
        old->Invalidate();
    }
    if (alive.expired() || active_control_ != control) return;
    if (control) {
        control->DoEnter();
        control->Invalidate();
    }
    if (alive.expired() || active_control_ != control) return;
    FocusChanged(control);
    UpdateTextInput();
}

// Typed text is turned on for a focused control that takes characters.
// The back end has one text input for all windows, so each activation
// sets it again.
void TForm::UpdateTextInput()
{
    TControl* control = active_control_;
    if (control && (control->WantedKeys() & dlgcWantChars)) {
        TPoint o = control->ClientOrigin();
        ui::CurrentBackend().StartTextInput(
            Bounds(o.X, o.Y, control->ClientWidth(), control->ClientHeight()));
    } else {
        ui::CurrentBackend().StopTextInput();
    }
}

// On activation (a message box or modal form above has closed, or the
// user came back) the control that had the focus gets it back; when it
// can no longer take it, the next one in tab order does.
void TForm::RestoreFocus()
{
    if (!active_control_ || !active_control_->CanFocus()) SelectNext(active_control_, true, true);
    if (active_control_ && !active_control_->CanFocus()) SetActiveControl(nullptr);
    UpdateTextInput();
}

void TForm::SelectNext(TControl* current, bool forward, bool checkTabStop)
{
    std::vector<TControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return;
    int n = static_cast<int>(list.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (list[i] == current) start = i;
    for (int step = 1; step <= n; ++step) {
        int i;
        if (start < 0)
            i = forward ? step - 1 : n - step;
        else
            i = ((start + (forward ? step : -step)) % n + n) % n;
        TControl* c = list[i];
        if (c == current) break;
        if (c->CanFocus() && (!checkTabStop || c->TabStop())) {
            SetActiveControl(c);
            return;
        }
    }
}

TControl* TForm::FocusTarget() const
{
    if (active_control_ && active_control_->CanFocus()) return active_control_;
    return const_cast<TForm*>(this);
}

void TForm::ControlRemoving(TControl* control)
{
    if (active_control_ && control->ContainsControl(active_control_)) active_control_ = nullptr;
    if (hover_ && control->ContainsControl(hover_)) hover_ = nullptr;
    if (pressed_ && control->ContainsControl(pressed_)) pressed_ = nullptr;
}

// --- painting --------------------------------------------------------------------------------

void TForm::InvalidateWindow()
{
    changed_all_ = true;
    SchedulePaint();
}

void TForm::InvalidateWindowRect(const TRect& rect)
{
    TRect r = rect.Intersect({0, 0, Width(), Height()});
    if (r.IsEmpty() || changed_all_) {
        if (!r.IsEmpty()) SchedulePaint();
        return;
    }
    changed_ |= gfx::Region(r);
    SchedulePaint();
}

void TForm::SchedulePaint()
{
    if (!Visible() || paint_pending_ || !window_) return;
    paint_pending_ = true;
    std::weak_ptr<bool> alive = alive_;
    App().PostMessage([this, alive] {
        if (alive.expired() || !*alive.lock()) return;
        paint_pending_ = false;
        PaintWhenDue();
    });
}

void TForm::SetMinPaintInterval(int ms) { min_paint_us_ = std::max(ms, 0) * int64_t{1000}; }

void TForm::PaintWhenDue()
{
    if (min_paint_us_ > 0) {
        const int64_t now = App().Clock().NowUs();
        if (painted_ && now - last_paint_us_ < min_paint_us_) {
            if (!paint_timer_) {
                paint_timer_ = std::make_unique<TTimer>();
                paint_timer_->OnTimer = [this](TObject*) {
                    paint_timer_->SetEnabled(false);
                    paint_pending_ = false;
                    PaintWhenDue();
                };
            }
            // Later invalidations wait for this paint.
            paint_pending_ = true;
            paint_timer_->SetInterval(
                static_cast<int>((min_paint_us_ - (now - last_paint_us_) + 999) / 1000));
            paint_timer_->SetEnabled(true);
            return;
        }
    }
    PaintChangedNow();
}

void TForm::PaintWindowNow()
{
    changed_all_ = true;
    PaintChangedNow();
}

void TForm::PaintChangedNow()
{
    if (!window_ || !Visible() || window_state_ == wsMinimized) return;
    if (back_buffer_.Width() != Width() || back_buffer_.Height() != Height()) changed_all_ = true;
    std::vector<TRect> rects;
    if (changed_all_) {
        rects.push_back({0, 0, Width(), Height()});
    } else {
        rects = changed_.Rects();
        if (rects.empty()) return;
    }
    changed_all_ = false;
    changed_ = {};
    painted_ = true;
    last_paint_us_ = App().Clock().NowUs();
    for (const TRect& r : rects) RenderInto(back_buffer_, r);
    window_->Present(back_buffer_, rects);
}

void TForm::RenderInto(TBitmap& picture, const TRect& clip)
{
    if (picture.Width() != Width() || picture.Height() != Height()) picture.SetSize(Width(), Height());
    const TRect area = clip.Intersect(picture.BoundsRect());
    for (int y = area.Top; y < area.Bottom; ++y)
        std::fill(picture.ScanLine(y) + area.Left, picture.ScanLine(y) + area.Right, Color());
    ui::RenderControl(*this, picture, clip);
    if (frame_hook_) {
        TCanvas& canvas = picture.Canvas();
        TCanvasStateSaver saver(canvas);
        canvas.SetOrigin({0, 0});
        canvas.IntersectClipRect(clip);
        frame_hook_->PaintFrame(*this, canvas);
    }
}

TBitmap TForm::RenderWindow()
{
    TBitmap picture(Width(), Height());
    RenderInto(picture, picture.BoundsRect());
    return picture;
}

void TForm::Paint(TCanvas& canvas)
{
    canvas.Brush().SetColor(Color());
    canvas.FillRect(ClientRect());
    if (OnPaint && !EventsMuted()) OnPaint(this, canvas);
}

void TForm::PaintNonClient(TCanvas& canvas)
{
    if (frame_hook_ || !HasClassicFrame(border_style_)) return;
    int w = Width(), h = Height();
    // Raised outer edge.
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect({0, 0, w, h});
    canvas.Pen().SetColor(clBtnHighlight);
    canvas.MoveTo(0, h - 1);
    canvas.LineTo(0, 0);
    canvas.LineTo(w - 1, 0);
    canvas.Pen().SetColor(cl3DDkShadow);
    canvas.LineTo(w - 1, h - 1);
    canvas.LineTo(-1, h - 1);
    // Caption bar.
    TRect cap = CaptionRect(*this);
    canvas.Brush().SetColor(active_ ? clActiveCaption : clInactiveCaption);
    canvas.FillRect(cap);
    canvas.Font().Assign(Font());
    canvas.Font().SetColor(active_ ? clCaptionText : clInactiveCaptionText);
    canvas.Font().SetBold(true);
    canvas.Brush().SetStyle(bsClear);
    TRect text{cap.Left + 4, cap.Top, CloseBoxRect(*this).Left - 2, cap.Bottom};
    canvas.DrawText(Caption(), text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    // Close box.
    TRect box = CloseBoxRect(*this);
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(box);
    canvas.Pen().SetColor(clBtnText);
    int inset = 4;
    canvas.MoveTo(box.Left + inset, box.Top + inset - 1);
    canvas.LineTo(box.Right - inset + 1, box.Bottom - inset);
    canvas.MoveTo(box.Right - inset, box.Top + inset - 1);
    canvas.LineTo(box.Left + inset - 1, box.Bottom - inset);
}

// --- input ----------------------------------------------------------------------------------

bool TForm::InputBlocked() const
{
    TForm* modal = Screen().ModalForm();
    return modal && modal != this;
}

bool TForm::RunMessageHooks(TMsg& msg)
{
    std::vector<TApplicationEvents*> hooks = Screen().hooks_;
    for (TApplicationEvents* h : hooks) {
        auto& live = Screen().hooks_;
        if (std::find(live.begin(), live.end(), h) == live.end()) continue;
        if (!h->OnMessage || h->Loading()) continue;
        bool handled = false;
        h->OnMessage(msg, handled);
        if (handled) return true;
    }
    return false;
}

void TForm::HandleInput(const ui::InputEvent& event)
{
    std::weak_ptr<bool> alive = alive_;
    switch (event.kind) {
    case ui::InputEvent::Activated:
        if (InputBlocked()) {
            if (TForm* modal = Screen().ModalForm()) modal->Activate();
        } else {
            SetActiveBySystem(true);
        }
        return;
    case ui::InputEvent::Deactivated: SetActiveBySystem(false); return;
    case ui::InputEvent::CloseRequest:
        if (!InputBlocked()) Close();
        return;
    case ui::InputEvent::Exposed: InvalidateWindow(); return;
    case ui::InputEvent::Minimized: MinimizedBySystem(true); return;
    case ui::InputEvent::Restored: MinimizedBySystem(false); return;
    case ui::InputEvent::BoundsChanged:
        BoundsChangedBySystem(Bounds(event.screen_pos.X, event.screen_pos.Y, event.width, event.height));
        return;
    case ui::InputEvent::KeyDown:
    case ui::InputEvent::KeyUp:
    case ui::InputEvent::Text: DispatchKey(event); return;
    default: DispatchMouse(event); return;
    }
}

void TForm::UpdateHover(TControl* now)
{
    if (now == hover_) return;
    TControl* old = hover_;
    hover_ = now;
    std::weak_ptr<bool> alive = alive_;
    if (old) old->MouseLeave();
    if (alive.expired() || hover_ != now) return;
    if (now) {
        now->MouseEnter();
        if (!alive.expired()) {
            TCursor cursor = now->Cursor();
            if (Screen().Cursor() == crDefault) ui::CurrentBackend().SetCursorShape(cursor);
        }
    }
}

// The buttons held once this event has been taken into account.
TShiftState TForm::ButtonsAfter(const ui::InputEvent& e) const
{
    TShiftState buttons = buttons_down_;
    if (e.kind == ui::InputEvent::MouseDown) buttons |= ButtonBit(e.button);
    if (e.kind == ui::InputEvent::MouseUp) buttons &= ~ButtonBit(e.button);
    return buttons;
}

void TForm::FollowMoveDrag(const ui::InputEvent& e, TShiftState buttons)
{
    if (e.kind == ui::InputEvent::MouseMove) {
        TPoint d = e.screen_pos - drag_origin_;
        SetBounds(drag_bounds_.Left + d.X, drag_bounds_.Top + d.Y, Width(), Height());
    } else if (e.kind == ui::InputEvent::MouseUp) {
        buttons_down_ = buttons;
        if (buttons_down_ == 0) move_drag_ = false;
    }
}

unsigned TForm::SizeEdgesAt(TPoint pos) const
{
    if ((border_style_ != bsSizeable && border_style_ != bsSizeToolWin) || window_state_ != wsNormal)
        return 0;
    // The outer pixels of the frame, as wide as the classic one.
    unsigned edges = 0;
    if (pos.X < kFrame) edges |= 1;
    if (pos.Y < kFrame) edges |= 2;
    if (pos.X >= Width() - kFrame) edges |= 4;
    if (pos.Y >= Height() - kFrame) edges |= 8;
    return edges;
}

void TForm::FollowSizeDrag(const ui::InputEvent& e, TShiftState buttons)
{
    if (e.kind == ui::InputEvent::MouseMove) {
        const TPoint d = e.screen_pos - drag_origin_;
        TRect r = drag_bounds_;
        if (size_edges_ & 1) r.Left += d.X;
        if (size_edges_ & 2) r.Top += d.Y;
        if (size_edges_ & 4) r.Right += d.X;
        if (size_edges_ & 8) r.Bottom += d.Y;
        // Held by the limits, the edge opposite the dragged one stays put.
        const int w = constraints_.ClampWidth(std::max(1, r.Width()));
        const int h = constraints_.ClampHeight(std::max(1, r.Height()));
        if (size_edges_ & 1) r.Left = r.Right - w;
        if (size_edges_ & 2) r.Top = r.Bottom - h;
        SetBounds(r.Left, r.Top, w, h);
    } else if (e.kind == ui::InputEvent::MouseUp) {
        buttons_down_ = buttons;
        if (buttons_down_ == 0) size_edges_ = 0;
    }
}

TControl* TForm::MouseHit(const ui::InputEvent& e)
{
    if (e.kind == ui::InputEvent::MouseLeaveWindow) return nullptr;
    TRect ins = NonClientInsets();
    TPoint cp = e.pos - TPoint{ins.Left, ins.Top};
    if (!ClientRect().Contains(cp)) return nullptr;
    TControl* hit = ControlAtPos(cp, true);
    return hit ? hit : this;
}

bool TForm::RunMouseHooks(const ui::InputEvent& e, const MouseRoute& route)
{
    TMsg msg;
    msg.message = MouseMessageId(e);
    msg.target = route.hit ? route.hit : this;
    msg.shift = route.shift;
    msg.pos = e.pos;
    msg.wheel_delta = e.wheel_delta;
    return RunMessageHooks(msg);
}

// A press on a form under a modal one ends a popup, or brings the modal
// form forward.
void TForm::PressWhileBlocked(const ui::InputEvent& e)
{
    if (e.kind != ui::InputEvent::MouseDown) return;
    TForm* modal = Screen().ModalForm();
    if (modal && modal->close_on_outside_)
        modal->SetModalResult(mrCancel);
    else if (modal)
        modal->Activate();
}

void TForm::DispatchMouse(const ui::InputEvent& e)
{
    std::weak_ptr<bool> alive = alive_;
    last_screen_mouse_ = e.screen_pos;
    TShiftState buttons = ButtonsAfter(e);
    if (move_drag_) {
        FollowMoveDrag(e, buttons);
        return;
    }
    if (size_edges_) {
        FollowSizeDrag(e, buttons);
        return;
    }
    MouseRoute route;
    route.hit = MouseHit(e);
    route.shift = (e.shift & (ssShift | ssAlt | ssCtrl)) | buttons;
    if (e.kind != ui::InputEvent::MouseLeaveWindow && (RunMouseHooks(e, route) || Gone(alive))) return;
    if (InputBlocked()) {
        PressWhileBlocked(e);
        return;
    }
    if (e.kind == ui::InputEvent::MouseDown && !active_) Activate();

    buttons_down_ = buttons;
    UpdateHover(route.hit);
    if (Gone(alive)) return;

    route.capture = ui::CaptureControl();
    if (route.capture && route.capture->ParentForm() != this) route.capture = nullptr;
    // A disabled control takes no presses: they go to its nearest enabled
    // parent, as the system routes them.
    route.pressable = route.hit;
    while (route.pressable && route.pressable != this && !route.pressable->EffectivelyEnabled())
        route.pressable = route.pressable->Parent();

    switch (e.kind) {
    case ui::InputEvent::MouseMove: RouteMouseMove(e, route); return;
    case ui::InputEvent::MouseDown: RouteMouseDown(e, route); return;
    case ui::InputEvent::MouseUp: RouteMouseUp(e, route); return;
    case ui::InputEvent::MouseWheel: RouteMouseWheel(e, route); return;
    default: return;
    }
}

void TForm::RouteMouseMove(const ui::InputEvent& e, const MouseRoute& route)
{
    TControl* target = route.capture ? route.capture : route.hit;
    if (!target) {
        if (frame_close_pressed_) InvalidateWindow();
        if (Screen().Cursor() == crDefault) {
            const unsigned edges = SizeEdgesAt(e.pos);
            const bool across = (edges & 1) || (edges & 4), along = (edges & 2) || (edges & 8);
            const bool falling = edges == (1 | 2) || edges == (4 | 8);
            ui::CurrentBackend().SetCursorShape(across && along ? (falling ? crSizeNWSE : crSizeNESW)
                                                : across        ? crSizeWE
                                                : along         ? crSizeNS
                                                                : crDefault);
        }
        return;
    }
    if (!route.capture && !target->EffectivelyEnabled()) return;
    TPoint p = e.pos - WindowOrigin(*target);
    target->MouseMove(route.shift, p.X, p.Y);
}

// The classic frame: the caption moves the window, the box closes it.
void TForm::PressFrame(const ui::InputEvent& e)
{
    if (frame_hook_ || !HasClassicFrame(border_style_) || e.button != mbLeft) return;
    if (CloseBoxRect(*this).Contains(e.pos)) {
        frame_close_pressed_ = true;
    } else if (CaptionRect(*this).Contains(e.pos)) {
        if (e.clicks >= 2 && (border_style_ == bsSizeable || border_style_ == bsSizeToolWin))
            SetWindowState(window_state_ == wsMaximized ? wsNormal : wsMaximized);
        else
            BeginMoveDrag();
    }
}

void TForm::RouteMouseDown(const ui::InputEvent& e, const MouseRoute& route)
{
    if (!route.hit && !route.capture) {
        if (e.button == mbLeft && (size_edges_ = SizeEdgesAt(e.pos)) != 0) {
            drag_origin_ = e.screen_pos;
            drag_bounds_ = BoundsRect();
            return;
        }
        PressFrame(e);
        return;
    }
    std::weak_ptr<bool> alive = alive_;
    TControl* target = route.capture ? route.capture : route.pressable;
    if (!target->EffectivelyEnabled()) return;
    if (!route.capture && (target->ControlStyle() & csCaptureMouse)) {
        target->SetMouseCapture(true);
        implicit_capture_ = true;
    }
    pressed_ = target;
    pressed_button_ = e.button;
    bool dbl = e.clicks >= 2 && (target->ControlStyle() & csDoubleClicks);
    click_armed_ = e.button == mbLeft && !dbl && (target->ControlStyle() & csClickEvents);
    TPoint p = e.pos - WindowOrigin(*target);
    if (dbl) {
        if (e.button == mbLeft) target->DblClick();
        if (Gone(alive) || pressed_ != target) return;
        target->MouseDown(e.button, route.shift | ssDouble, p.X, p.Y);
    } else {
        target->MouseDown(e.button, route.shift, p.X, p.Y);
    }
}

void TForm::RouteMouseUp(const ui::InputEvent& e, const MouseRoute& route)
{
    if (frame_close_pressed_ && e.button == mbLeft) {
        frame_close_pressed_ = false;
        if (!route.hit && !route.capture && !frame_hook_ && CloseBoxRect(*this).Contains(e.pos)) Close();
        return;
    }
    std::weak_ptr<bool> alive = alive_;
    TControl* target = route.capture ? route.capture : route.pressable;
    if (implicit_capture_ && buttons_down_ == 0) {
        implicit_capture_ = false;
        if (route.capture) route.capture->SetMouseCapture(false);
    }
    if (!target || !target->EffectivelyEnabled()) return;
    TPoint p = e.pos - WindowOrigin(*target);
    TRect target_ins = target->NonClientInsets();
    bool inside =
        Bounds(0, 0, target->Width(), target->Height()).Contains(p + TPoint{target_ins.Left, target_ins.Top});
    bool click = e.button == mbLeft && click_armed_ && pressed_ == target && inside;
    if (e.button == mbLeft) click_armed_ = false;
    if (click) {
        target->Click();
        if (Gone(alive) || target->ParentForm() != this) return;
    }
    target->MouseUp(e.button, route.shift, p.X, p.Y);
    if (Gone(alive)) return;
    if (e.button == mbRight && target->ParentForm() == this) ui::ShowContextMenu(*target, p);
    if (buttons_down_ == 0) pressed_ = nullptr;
}

// The wheel goes up from the control under the mouse until one takes it,
// then to the focused control.
void TForm::RouteMouseWheel(const ui::InputEvent& e, const MouseRoute& route)
{
    std::weak_ptr<bool> alive = alive_;
    for (TControl* c = route.capture ? route.capture : route.hit; c; c = c->Parent()) {
        if (!c->EffectivelyEnabled()) continue;
        if (c->MouseWheel(route.shift, e.wheel_delta, e.screen_pos)) return;
        if (Gone(alive)) return;
    }
    if (active_control_ && active_control_->CanFocus() && !active_control_->ContainsControl(route.hit))
        active_control_->MouseWheel(route.shift, e.wheel_delta, e.screen_pos);
}

void TForm::DeliverChar(char32_t ch, bool system)
{
    std::weak_ptr<bool> alive = alive_;
    auto gone = [&] { return alive.expired() || !*alive.lock(); };
    TControl* focus = FocusTarget();
    TMsg msg;
    msg.message = system ? WM_SYSCHAR : WM_CHAR;
    msg.target = focus;
    msg.ch = ch;
    msg.shift = system ? ssAlt : 0;
    if (RunMessageHooks(msg) || gone()) return;
    if (InputBlocked()) return;
    if (system) {
        DialogChar(ch, ssAlt);
        return;
    }
    unsigned want = focus != this ? focus->WantedKeys() : 0;
    if (!(want & dlgcWantChars) && ch > 32 && DialogChar(ch, 0)) return;
    if (gone()) return;
    if (key_preview_ && focus != this) {
        KeyPress(ch);
        if (gone() || ch == 0) return;
    }
    focus = FocusTarget();
    focus->KeyPress(ch);
}

void TForm::DispatchText(const ui::InputEvent& e)
{
    std::weak_ptr<bool> alive = alive_;
    for (char32_t ch : ui::utf8::CodePoints(e.text)) {
        if (Gone(alive)) return;
        DeliverChar(ch, false);
    }
}

void TForm::DispatchKey(const ui::InputEvent& e)
{
    if (e.kind == ui::InputEvent::Text) {
        DispatchText(e);
        return;
    }
    std::weak_ptr<bool> alive = alive_;
    TShiftState shift = e.shift & (ssShift | ssAlt | ssCtrl);
    TControl* focus = FocusTarget();
    bool alt = shift & ssAlt;
    TMsg msg;
    msg.message = e.kind == ui::InputEvent::KeyDown ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN)
                                                    : (alt ? WM_SYSKEYUP : WM_KEYUP);
    msg.target = focus;
    msg.key = e.key;
    msg.shift = shift;
    if (RunMessageHooks(msg) || Gone(alive)) return;
    if (InputBlocked()) return;
    if (e.kind == ui::InputEvent::KeyUp)
        DispatchKeyUp(e.key, shift, focus);
    else
        DispatchKeyDown(e.key, shift, focus);
}

void TForm::DispatchKeyUp(uint16_t key, TShiftState shift, TControl* focus)
{
    std::weak_ptr<bool> alive = alive_;
    if (key_preview_ && focus != this) {
        KeyUp(key, shift);
        if (Gone(alive) || key == 0) return;
    }
    FocusTarget()->KeyUp(key, shift);
}

// Tab, the arrows, Enter and Escape move the focus or press the default
// and cancel buttons, unless the focused control wants them; true when
// the key was used so.
bool TForm::DialogNavigation(uint16_t key, TShiftState shift, unsigned want)
{
    bool alt = shift & ssAlt;
    bool arrow = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
    if (key == VK_TAB && !(want & dlgcWantTab) && !(shift & (ssAlt | ssCtrl))) {
        SelectNext(active_control_, !(shift & ssShift), true);
        return true;
    }
    if (arrow && !(want & dlgcWantArrows) && !alt && active_control_) {
        SelectNext(active_control_, key == VK_RIGHT || key == VK_DOWN, false);
        return true;
    }
    if ((key == VK_RETURN || key == VK_ESCAPE) && !(want & dlgcWantAllKeys)) return DialogKey(key, shift);
    return false;
}

void TForm::DispatchKeyDown(uint16_t key, TShiftState shift, TControl* focus)
{
    std::weak_ptr<bool> alive = alive_;
    unsigned want = focus != this ? focus->WantedKeys() : 0;
    if (DialogNavigation(key, shift, want) || Gone(alive)) return;
    if (key_preview_ && focus != this) {
        KeyDown(key, shift);
        if (Gone(alive) || key == 0) return;
    }
    FocusTarget()->KeyDown(key, shift);
    if (Gone(alive) || key == 0) return;
    bool alt = shift & ssAlt;
    // The keys that also type a character.
    if (!(shift & (ssCtrl | ssAlt)) &&
        (key == VK_BACK || key == VK_RETURN || key == VK_ESCAPE || (key == VK_TAB && (want & dlgcWantTab)))) {
        DeliverChar(static_cast<char32_t>(key), false);
        return;
    }
    // Alt with a letter, a digit or the space bar: a system character.
    if (alt && !(shift & ssCtrl) &&
        ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || key == VK_SPACE)) {
        DeliverChar(ui::utf8::ToLowerAscii(static_cast<char32_t>(key)), true);
    }
}
