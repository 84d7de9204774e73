#pragma once
// TControl: the base of every visible element. A control sits in a tree
// (Parent and its child controls), has bounds in its parent's client
// coordinates, aligns its children, paints itself into an off-screen bitmap
// of its own size, and receives mouse and keyboard input routed by its form.
//
// Controls are components: created with an owner (normally the form) that
// frees them, and placed with SetParent. A control also frees the children
// that are still parented to it when it goes.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/component.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/font.h"
#include "platform/gfx/types.h"
#include "platform/ui/ui_types.h"

class TCanvas;
class TForm;
class TPopupMenu;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner = nullptr);
    ~TControl() override;

    // --- tree --------------------------------------------------------------
    TControl* Parent() const { return parent_; }
    // Moves the control under another parent (nullptr: out of every tree).
    // The control goes on top of its new siblings.
    virtual void SetParent(TControl* AParent);
    int ControlCount() const { return static_cast<int>(children_.size()); }
    // Children in z-order, bottom first.
    TControl* Controls(int index) const { return children_.at(index); }
    const std::vector<TControl*>& Children() const { return children_; }
    // True for this control and every control below it.
    bool ContainsControl(const TControl* control) const;
    // The form this control sits on (itself for a form), or nullptr.
    TForm* ParentForm() const;
    void BringToFront();
    void SendToBack();

    // --- bounds (in the parent's client coordinates) -----------------------
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    // A no-op when nothing changes; otherwise repositions, realigns the
    // parent and the children and raises Resize when the size changed.
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }

    // The non-client border: the client area is the bounds less these
    // (a form's frame, a sunken edit border). Children sit in the client area.
    virtual TRect NonClientInsets() const { return {}; }
    TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientWidth(int w);
    void SetClientHeight(int h);
    void SetClientSize(int w, int h);
    // Client coordinates of this control to screen pixels and back.
    TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    // Client coordinates of this control to those of `ancestor` (nullptr: its form's window pixels).
    TPoint ClientToAncestor(TPoint p, const TControl* ancestor) const;

    // --- alignment -----------------------------------------------------------
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    // Lays the aligned children out in Rect; Rect shrinks by every
    // top/bottom/left/right child. Override to lay children out your way.
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    // The client rectangle that alignment fills (inside bevels, say).
    virtual void AdjustClientRect(TRect& Rect) const;
    void Realign();
    void DisableAlign() { ++align_disabled_; }
    void EnableAlign();

    // --- visibility and enabled state ---------------------------------------
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, on a visible parent, up to a shown form.
    virtual bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    // Enabled, and so are all parents.
    bool EffectivelyEnabled() const;

    // --- look ----------------------------------------------------------------
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parent_color_; }
    void SetParentColor(bool on);
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font) { font_.Assign(font); }
    bool ParentFont() const { return parent_font_; }
    void SetParentFont(bool on);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    TBiDiMode BiDiMode() const { return bidi_mode_; }
    // Children that take their parent's mode (ParentBiDiMode) follow it.
    void SetBiDiMode(TBiDiMode mode);
    bool ParentBiDiMode() const { return parent_bidi_mode_; }
    void SetParentBiDiMode(bool on);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const std::string& Text() const { return caption_; }
    void SetText(const std::string& text) { SetCaption(text); }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }
    TControlStyle ControlStyle() const { return control_style_; }
    void SetControlStyle(TControlStyle style) { control_style_ = style; }
    TPopupMenu* PopupMenu() const { return popup_menu_; }
    void SetPopupMenu(TPopupMenu* menu);

    // --- painting -------------------------------------------------------------
    // Repaints what the control covers in its window at the next paint;
    // nothing while it or a parent is hidden (showing it repaints).
    void Invalidate();
    // Paints the window now (headless: renders; SDL: presents).
    void Repaint();
    void Update() { Repaint(); }
    // The control's form, and where the control shows in the form's window
    // (window pixels, cut by the client areas around it); nullptr while it
    // or a parent is hidden, or outside any form.
    TForm* WindowArea(TRect& area) const;
    // Renders the control and its visible children into the canvas with the
    // control's top-left at (x, y); works while hidden or off-screen too.
    void PaintTo(TCanvas& canvas, int x, int y);
    // The same into a bitmap (pixels copied, the bitmap's canvas untouched).
    void PaintTo(TBitmap& target, int x, int y);
    // Paints the parent's background (its Paint, not its other children)
    // into `canvas`, which belongs to this control: the pixels that lie
    // behind this control land at canvas (0, 0).
    void DrawParentBackground(TCanvas& canvas);
    // Fills `canvas` with what this control paints (without children), the
    // pixel (dx, dy) of this control at canvas (0, 0). For DrawParentBackground.
    void PaintBackgroundInto(TCanvas& canvas, int dx, int dy);

    // --- focus ----------------------------------------------------------------
    bool TabStop() const { return tab_stop_; }
    void SetTabStop(bool on) { tab_stop_ = on; }
    // Position among the siblings that can take the focus; -1 for a
    // control that can never hold it.
    int TabOrder() const;
    void SetTabOrder(int order);
    // A control that can hold the keyboard focus, shown and enabled.
    virtual bool CanFocus() const;
    bool Focused() const;
    void SetFocus();
    // The controls below this one in tab order (depth first), whatever their state.
    void GetTabOrderList(std::vector<TControl*>& list) const;

    // --- mouse -----------------------------------------------------------------
    bool MouseCapture() const;
    void SetMouseCapture(bool on);
    // The topmost visible child (deepest when `deep`) at a point of the
    // client area; disabled ones only with allowDisabled.
    TControl* ControlAtPos(TPoint pos, bool allowDisabled, bool deep = true) const;

    // --- messages ---------------------------------------------------------------
    // Sends a message to the control and returns its answer (0 when unknown).
    virtual intptr_t Perform(unsigned Msg, intptr_t WParam = 0, intptr_t LParam = 0);

    // --- events -------------------------------------------------------------------
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TMouseWheelEvent OnMouseWheel;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TNotifyEvent OnResize;

    void Notification(TComponent* AComponent, TOperation Operation) override;

    // Events are muted while this control or one of its owners is loading.
    bool EventsMuted() const;

    // --- input entry points (called by the form's input routing) ---------------
    // Coordinates are in this control's client pixels.
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    // True when handled; the form passes unhandled wheel turns to the parent.
    virtual bool MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseEnter();
    virtual void MouseLeave();
    // The mouse was taken away in the middle of something (capture lost,
    // a modal form opened): drop pressed states.
    virtual void CancelMode() {}
    virtual void KeyDown(uint16_t& Key, TShiftState Shift);
    virtual void KeyUp(uint16_t& Key, TShiftState Shift);
    virtual void KeyPress(char32_t& Key);
    // Which dialog keys this control handles itself (dlgc* bits).
    virtual unsigned WantedKeys() const { return 0; }
    // Dialog keys (Enter, Escape) offered to every control of the form;
    // true when taken. The default offers them to the children.
    virtual bool DialogKey(uint16_t Key, TShiftState Shift);
    // Accelerator characters ("&X" captions); true when taken.
    virtual bool DialogChar(char32_t Key, TShiftState Shift);
    virtual void DoEnter();
    virtual void DoExit();
    // Told to every control of a form when its focused control changes.
    virtual void FocusChanged(TControl* NewFocus);

    // Paints the client area; the canvas origin is the client's top-left,
    // clipped to the client area, with the control's font and a brush of
    // its colour. The bitmap already holds what lies behind the control.
    virtual void Paint(TCanvas& Canvas);
    // Paints the non-client border; origin at the control's top-left.
    virtual void PaintNonClient(TCanvas& Canvas);

protected:
    virtual void Resize();
    // After the BiDiMode changed: a control that lays itself out by it
    // does so again.
    virtual void BiDiModeChanged() {}
    virtual void VisibleChanged() {}
    virtual void EnabledChanged() {}
    virtual void FontChanged() {}
    virtual void ColorChanged() {}
    virtual void CursorChanged() {}
    virtual void TextChanged() {}
    // The control's parent changed (after the move).
    virtual void ParentChanged() {}
    // A child was added, removed, moved, resized, shown or hidden. The
    // default realigns when the child is aligned.
    virtual void ChildChanged(TControl* child);
    // Windowed controls can hold the focus; graphic ones cannot.
    bool IsFocusable() const { return focusable_; }
    void SetFocusable(bool on) { focusable_ = on; }
    // True when `Key` is this caption's accelerator ("&X", case-insensitive).
    static bool IsAccel(char32_t Key, const std::string& caption);

private:
    friend class TForm;
    friend struct UiRender;
    void InsertChild(TControl* child);
    void RemoveChild(TControl* child);
    void ParentColorChanged();
    void ParentFontChanged();
    // The mode without giving up ParentBiDiMode, passed on to the children.
    void TakeBiDiMode(TBiDiMode mode);
    void OnOwnFontChange();
    void RequestAlign();
    void Detaching();  // leaving a form: clear its references
    TBitmap& Buffer(int w, int h);

    TControl* parent_ = nullptr;
    std::vector<TControl*> children_;
    std::vector<TControl*> tab_list_;  // children that can take the focus, in tab order
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = alNone;
    int align_disabled_ = 0;
    bool align_pending_ = false;
    bool aligning_ = false;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clBtnFace;
    bool parent_color_ = false;
    TFont font_;
    bool parent_font_ = true;
    bool applying_parent_font_ = false;
    TCursor cursor_ = crDefault;
    TBiDiMode bidi_mode_ = bdLeftToRight;
    bool parent_bidi_mode_ = true;
    std::string caption_;
    std::string hint_;
    int tag_ = 0;
    TControlStyle control_style_ = csCaptureMouse | csClickEvents | csDoubleClicks | csSetCaption;
    TPopupMenu* popup_menu_ = nullptr;
    bool tab_stop_ = false;
    bool focusable_ = false;
    bool destroying_ = false;
    std::unique_ptr<TBitmap> buffer_;  // the off-screen picture of the last paint
};

// A control that can hold the focus and contain other controls.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner = nullptr);
};

// A windowed control that draws itself: override Paint. Canvas() is the
// canvas of the paint in progress (nullptr outside Paint).
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner = nullptr);
    TCanvas* Canvas() const { return canvas_; }
    void Paint(TCanvas& Canvas) override;

protected:
    // Override this in place of Paint(TCanvas&) when Canvas() is handier.
    virtual void PaintControl() {}

private:
    TCanvas* canvas_ = nullptr;
};

// A control without focus that paints onto its parent (labels, images).
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner = nullptr);
};

namespace ui {
// The control that holds the mouse capture, or nullptr.
TControl* CaptureControl();
// Explicit capture: mouse input goes to `control` until released. Taking
// the capture from another control tells that one CancelMode.
void SetCaptureControl(TControl* control);
}  // namespace ui
