#pragma once
// TLabel: a caption on the parent, sized to its text when AutoSize is on.
#include "platform/ui/control.h"

enum TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* AOwner = nullptr);

    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool on);
    bool WordWrap() const { return word_wrap_; }
    void SetWordWrap(bool on);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout l);
    // A transparent label shows its parent behind the text.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    // "&X" marks X as the accelerator that focuses FocusControl.
    bool ShowAccelChar() const { return show_accel_; }
    void SetShowAccelChar(bool on);
    TControl* FocusControl() const { return focus_control_; }
    void SetFocusControl(TControl* control);

    void Paint(TCanvas& Canvas) override;
    bool DialogChar(char32_t Key, TShiftState Shift) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Re-measures the text when AutoSize is on.
    void AdjustBounds();

protected:
    void TextChanged() override { AdjustBounds(); }
    void FontChanged() override { AdjustBounds(); }

private:
    unsigned TextFlags() const;
    bool auto_size_ = true;
    bool word_wrap_ = false;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool transparent_ = false;
    bool show_accel_ = true;
    TControl* focus_control_ = nullptr;
};
