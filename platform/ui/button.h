#pragma once
// TButton: the plain push button. A click gives the form its ModalResult;
// Default buttons answer Enter and Cancel buttons Escape.
#include "platform/ui/control.h"

class TButton : public TCustomControl {
public:
    explicit TButton(TComponent* AOwner = nullptr);

    bool Default() const { return default_; }
    void SetDefault(bool on);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool on) { cancel_ = on; }
    TModalResult ModalResult() const { return modal_result_; }
    void SetModalResult(TModalResult result) { modal_result_ = result; }
    // Clicks the button as the user would.
    void Press() { Click(); }

    void Click() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void CancelMode() override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyUp(uint16_t& Key, TShiftState Shift) override;
    bool DialogKey(uint16_t Key, TShiftState Shift) override;
    bool DialogChar(char32_t Key, TShiftState Shift) override;
    void FocusChanged(TControl* NewFocus) override;
    void Paint(TCanvas& Canvas) override;

    bool IsDown() const { return down_; }

private:
    bool default_ = false;
    bool cancel_ = false;
    // Enter goes to this default button: no other button has the focus.
    bool active_ = false;
    TModalResult modal_result_ = mrNone;
    bool down_ = false;
    bool mouse_in_ = false;
    bool key_down_ = false;
};
