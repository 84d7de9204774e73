#pragma once
// TkivCheckBox: a box drawn from a cell of the style's check-box strip,
// beside its caption. OnClick reports every change of Checked, whether the
// user or code made it (never while the form loads).
#include "platform/ui/control.h"
#include "skin/kiv_themes.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TkivCheckBox : public TCustomControl, public IkivStyled {
public:
    explicit TkivCheckBox(TComponent* AOwner = nullptr);

    bool Checked() const { return checked_; }
    // An equal value does nothing; a change repaints, then Changed.
    void SetChecked(bool on);
    // Grayed is not kept: it unchecks.
    TCheckBoxState State() const { return checked_ ? cbChecked : cbUnchecked; }
    void SetState(TCheckBoxState state) { SetChecked(state == cbChecked); }

    TkivUIStyle UIStyle() const override { return ui_style_; }
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    void SetFileTheme(TkivFileTheme* theme) override;
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    // The size follows the cell, the font and the caption.
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool on);

    void SetEnabled(bool enabled) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint(TCanvas& Canvas) override;

    // The user's toggle; no click event of its own beyond Changed's.
    void Click() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyUp(uint16_t& Key, TShiftState Shift) override;
    bool DialogChar(char32_t Key, TShiftState Shift) override;
    void FocusChanged(TControl* NewFocus) override;
    void DoEnter() override;
    void DoExit() override;

    // The cell of the state strip for the current state: its number and the
    // number of cells it is cut from.
    void StateCell(int& index, int& count) const;

protected:
    virtual bool NeedDrawFocus() const { return TabStop() && Focused(); }
    virtual bool GetPicTransparent() const { return false; }
    virtual int GetBuiltInItem() const { return 3; }
    virtual std::uint8_t GetFileThemeBitmap() const { return 16; }  // "SKIN2_CHECKBOX"
    // Cells of the skin's strip: six for the check box, of which 2 and 5
    // are not shown.
    virtual int FileThemeCells() const { return 6; }
    virtual void Changed();
    virtual void BeforeToggle() {}
    virtual void Toggle();
    virtual bool KeyToggles() const { return true; }

    void FontChanged() override;
    void TextChanged() override;
    // Fires OnClick unless the form is loading.
    void FireClick();

private:
    void GetCell(TBitmap& picture) const;
    void UpdateAutoSize();

    bool checked_ = false;
    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
    bool transparent_ = false;
    bool auto_size_ = false;  // true once constructed
    // Space or Enter went down on this control: its release toggles.
    uint16_t key_pressed_ = 0;
};
