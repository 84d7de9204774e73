#pragma once
// TForm: a top-level window. Forms are created once (CreateForm), shown
// with Show or ShowModal, and route the window's mouse and keyboard input
// to their controls. A frame hook lets a skinned panel take over the
// window frame.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/application.h"
#include "platform/core/timer.h"
#include "platform/gfx/region.h"
#include "platform/ui/control.h"
#include "platform/ui/size_constraints.h"

namespace ui {
class NativeWindow;
struct InputEvent;
}  // namespace ui

enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TForm;

// How a skinned panel takes over a form's window frame. Installed with
// TForm::SetFrameHook; not owned.
class TFormFrameHook {
public:
    virtual ~TFormFrameHook() = default;
    // The frame's widths on each side (Left, Top, Right, Bottom).
    virtual TRect FrameInsets(const TForm& form) = 0;
    // Paints the frame over the whole window picture (client already drawn).
    virtual void PaintFrame(TForm& /*form*/, TCanvas& /*canvas*/) {}
    // A message sent to the form (Perform); true when answered in `result`.
    virtual bool FrameMessage(TForm& /*form*/, unsigned /*msg*/, intptr_t /*wparam*/, intptr_t /*lparam*/,
                              intptr_t& /*result*/)
    {
        return false;
    }
    virtual void FormActivated(TForm& /*form*/, bool /*active*/) {}
    // After the window's size or window state changed.
    virtual void FormResized(TForm& /*form*/) {}
};

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner = nullptr);
    ~TForm() override;

    // Runs OnCreate; CreateForm calls it once the form is built.
    void AfterConstruction();

    // --- showing ----------------------------------------------------------
    void SetVisible(bool visible) override;
    bool Showing() const override { return Visible() && WindowState() != wsMinimized; }
    // Shows the form modally: input to the other forms is blocked until
    // ModalResult becomes non-zero (or Close); returns that result.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return modal_result_; }
    void SetModalResult(TModalResult result) { modal_result_ = result; }
    bool Modal() const { return modal_; }
    // A popup (menu, drop-down list): while it runs modally, a press on
    // another form, or losing the activation, ends it with mrCancel.
    bool CloseOnOutsideClick() const { return close_on_outside_; }
    void SetCloseOnOutsideClick(bool on) { close_on_outside_ = on; }
    // Asks OnCloseQuery, then OnClose; the form hides (or ends its modal
    // loop with mrCancel) once the running handler has returned.
    void Close();
    bool CloseQuery();
    bool Active() const { return active_; }
    // Raises the window and makes it the active form.
    void Activate();

    // --- window -------------------------------------------------------------
    TFormBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TFormBorderStyle style);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TWindowState WindowState() const { return window_state_; }
    void SetWindowState(TWindowState state);
    bool KeyPreview() const { return key_preview_; }
    void SetKeyPreview(bool on) { key_preview_ = on; }
    TControl* ActiveControl() const { return active_control_; }
    void SetActiveControl(TControl* control);
    // Moves the focus to the next (or previous) control in tab order.
    void SelectNext(TControl* current, bool forward, bool checkTabStop);
    TRect NonClientInsets() const override;
    // Every size the form takes keeps to Constraints.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TSizeConstraints& Constraints() { return constraints_; }
    const TSizeConstraints& Constraints() const { return constraints_; }
    intptr_t Perform(unsigned Msg, intptr_t WParam = 0, intptr_t LParam = 0) override;

    // --- frame hook -----------------------------------------------------------
    void SetFrameHook(TFormFrameHook* hook);
    TFormFrameHook* FrameHook() const { return frame_hook_; }
    // The window's shape in window pixels (nullopt: the whole rectangle).
    void SetWindowRegion(std::optional<gfx::Region> region);
    const std::optional<gfx::Region>& WindowRegion() const { return region_; }
    // Starts moving the window with the mouse (the left button is down):
    // the window follows the mouse until the button is released.
    void BeginMoveDrag();
    bool MoveDragging() const { return move_drag_; }
    // A press on the frame of a sizeable form (bsSizeable, bsSizeToolWin)
    // at its outer edge resizes it with the mouse.
    bool SizeDragging() const { return size_edges_ != 0; }
    // Re-reads the frame insets (after the hook's borders changed).
    void FrameChanged();

    // --- picture ----------------------------------------------------------------
    // The window as it would appear now (client, controls and frame).
    TBitmap RenderWindow();
    ui::NativeWindow* Window() const { return window_.get(); }

    // --- events -------------------------------------------------------------------
    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    std::function<void(TObject* Sender, TCanvas& Canvas)> OnPaint;

    // --- back end entry points ----------------------------------------------------
    void HandleInput(const ui::InputEvent& event);
    // The window needs painting (scheduled once per batch of invalidations).
    void InvalidateWindow();
    // Only this rectangle of the window (window pixels) changed: the next
    // paint composes and presents the changed rectangles alone.
    void InvalidateWindowRect(const TRect& rect);
    // Paints the whole window now.
    void PaintWindowNow();
    // Paints what was invalidated now, if anything.
    void PaintChangedNow();
    // At most one paint every ms milliseconds of the application's clock;
    // a paint asked for sooner comes when the interval has passed. 0 (the
    // default): every batch of invalidations paints at once.
    void SetMinPaintInterval(int ms);
    // The window was activated or lost activation by the system.
    void SetActiveBySystem(bool active);
    void Paint(TCanvas& Canvas) override;
    void PaintNonClient(TCanvas& Canvas) override;

    // Bookkeeping when a control leaves this form or is destroyed.
    void ControlRemoving(TControl* control);

protected:
    void DoShow();
    void DoHide();
    void TextChanged() override;

private:
    void ShowWindow();
    void HideWindow();
    void PlaceOnScreen();
    void ApplyCloseAction();
    // Where a mouse event lands, worked out once before it is routed.
    struct MouseRoute {
        TControl* hit = nullptr;        // under the mouse; nullptr on the frame
        TControl* capture = nullptr;    // this form's control holding the mouse
        TControl* pressable = nullptr;  // hit, or its nearest enabled parent
        TShiftState shift = 0;
    };
    void DispatchMouse(const ui::InputEvent& event);
    TShiftState ButtonsAfter(const ui::InputEvent& event) const;
    void FollowMoveDrag(const ui::InputEvent& event, TShiftState buttons);
    // The frame edges under a window point (a bit each: left 1, top 2,
    // right 4, bottom 8), none unless the form can be sized there now.
    unsigned SizeEdgesAt(TPoint pos) const;
    void FollowSizeDrag(const ui::InputEvent& event, TShiftState buttons);
    void ApplyConstraints();
    void MinimizedBySystem(bool minimized);
    void BoundsChangedBySystem(const TRect& bounds);
    TControl* MouseHit(const ui::InputEvent& event);
    bool RunMouseHooks(const ui::InputEvent& event, const MouseRoute& route);
    void PressWhileBlocked(const ui::InputEvent& event);
    void RouteMouseMove(const ui::InputEvent& event, const MouseRoute& route);
    void RouteMouseDown(const ui::InputEvent& event, const MouseRoute& route);
    void PressFrame(const ui::InputEvent& event);
    void RouteMouseUp(const ui::InputEvent& event, const MouseRoute& route);
    void RouteMouseWheel(const ui::InputEvent& event, const MouseRoute& route);
    void DispatchKey(const ui::InputEvent& event);
    void DispatchText(const ui::InputEvent& event);
    void DispatchKeyUp(uint16_t key, TShiftState shift, TControl* focus);
    void DispatchKeyDown(uint16_t key, TShiftState shift, TControl* focus);
    bool DialogNavigation(uint16_t key, TShiftState shift, unsigned want);
    void UpdateHover(TControl* now);
    void DeliverChar(char32_t ch, bool system);
    void RenderInto(TBitmap& picture, const TRect& clip);
    void SchedulePaint();
    bool RunMessageHooks(TMsg& msg);
    bool InputBlocked() const;
    TControl* FocusTarget() const;
    void UpdateTextInput();
    void RestoreFocus();

    std::shared_ptr<bool> alive_;
    TBitmap back_buffer_;
    TModalResult modal_result_ = mrNone;
    bool modal_ = false;
    bool close_on_outside_ = false;
    bool created_ = false;
    bool active_ = false;
    bool close_pending_ = false;
    TFormBorderStyle border_style_ = bsSizeable;
    TPosition position_ = poDesigned;
    TWindowState window_state_ = wsNormal;
    TWindowState restore_state_ = wsNormal;  // what a restore from minimised returns to
    TRect normal_bounds_{};
    bool key_preview_ = false;
    TControl* active_control_ = nullptr;
    TFormFrameHook* frame_hook_ = nullptr;
    std::optional<gfx::Region> region_;
    std::unique_ptr<ui::NativeWindow> window_;
    bool paint_pending_ = false;
    // What the next paint composes: everything, or these rectangles.
    bool changed_all_ = true;
    gfx::Region changed_;
    void PaintWhenDue();
    int64_t min_paint_us_ = 0;
    int64_t last_paint_us_ = 0;
    bool painted_ = false;
    std::unique_ptr<TTimer> paint_timer_;  // brings a paint that came too soon
    // Mouse routing.
    TControl* hover_ = nullptr;
    TControl* pressed_ = nullptr;  // the control that took the last press
    TMouseButton pressed_button_ = mbLeft;
    unsigned buttons_down_ = 0;
    bool implicit_capture_ = false;
    bool click_armed_ = false;
    TPoint last_screen_mouse_{};
    bool move_drag_ = false;
    TPoint drag_origin_{};  // mouse position in screen pixels at drag start
    TRect drag_bounds_{};
    unsigned size_edges_ = 0;  // the edges a size drag moves
    TSizeConstraints constraints_;
    bool frame_close_pressed_ = false;
    std::vector<TForm*> disabled_by_modal_;
};

// Creates a form of type T owned by the application and runs its OnCreate;
// the first form created becomes the main form.
template <class T, class... Args>
T* CreateForm(Args&&... args)
{
    T* form = new T(&App(), std::forward<Args>(args)...);
    form->AfterConstruction();
    return form;
}

// An application-level hook: OnMessage sees every input message before it
// is routed; setting Handled drops the message.
class TApplicationEvents : public TComponent {
public:
    explicit TApplicationEvents(TComponent* AOwner = nullptr);
    ~TApplicationEvents() override;
    std::function<void(TMsg& Msg, bool& Handled)> OnMessage;
};

// The desktop and the forms on it.
class TScreen {
public:
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TForm* Forms(int index) const { return forms_.at(index); }
    TForm* ActiveForm() const { return active_form_; }
    TControl* ActiveControl() const;
    TForm* MainForm() const { return main_form_; }
    void SetMainForm(TForm* form) { main_form_ = form; }
    // The part of the desktop that windows may fill (without panels).
    TRect WorkAreaRect() const;
    int Width() const;
    int Height() const;
    // A cursor shown over every window while not crDefault (crHourGlass).
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    // The innermost modal form, or nullptr.
    TForm* ModalForm() const { return modal_stack_.empty() ? nullptr : modal_stack_.back(); }

private:
    friend class TForm;
    friend class TApplicationEvents;
    std::vector<TForm*> forms_;
    std::vector<TForm*> modal_stack_;
    std::vector<TApplicationEvents*> hooks_;
    TForm* active_form_ = nullptr;
    TForm* main_form_ = nullptr;
    TCursor cursor_ = crDefault;
};

TScreen& Screen();

namespace ui {
// Right-button release on a control: shows its PopupMenu, if any, at the
// point (the control's client pixels). Provided by the menus.
void ShowContextMenu(TControl& control, TPoint pos);
}  // namespace ui
