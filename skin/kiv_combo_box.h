#pragma once
// TkivCustomComboBox / TkivComboBox: the platform's drop-down list with a
// frame, a button face and an arrow painted in the style's colours over
// the platform's own look. The list and the keys stay the platform's.
#include <memory>

#include "platform/gfx/bitmap.h"
#include "platform/ui/combobox.h"
#include "platform/ui/form.h"
#include "skin/kiv_themes.h"

class TTimer;

class TkivCustomComboBox : public TComboBox, public IkivStyled {
public:
    // Takes the owner form's style.
    explicit TkivCustomComboBox(TComponent* AOwner = nullptr);
    ~TkivCustomComboBox() override;

    TColor BorderColor() const { return border_color_; }
    void SetBorderColor(TColor colour);
    TColor ArrowColor() const { return arrow_color_; }
    void SetArrowColor(TColor colour);
    TColor ButtonColor() const { return button_color_; }
    void SetButtonColor(TColor colour);
    void SetEnabled(bool enabled) override;

    // Black arrow; border and button face from a ready skin (its control
    // border and control colours), else from the style.
    TkivUIStyle UIStyle() const override { return ui_style_; }
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    void SetFileTheme(TkivFileTheme* theme) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // Where the drop-down button lies, in client pixels.
    TRect ButtonRect() const;
    // The x, in client pixels, of the line beside the button.
    int DividerX() const;

    void Paint(TCanvas& Canvas) override;
    void PaintNonClient(TCanvas& Canvas) override;
    // The list drops from these; it gets a frame in BorderColor once up.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;

protected:
    void ColorChanged() override { Invalidate(); }

private:
    // Frames the dropped list's window in the border colour.
    class ListFrame : public TFormFrameHook {
    public:
        explicit ListFrame(const TkivCustomComboBox& combo) : combo_(combo) {}
        TRect FrameInsets(const TForm&) override { return {}; }
        void PaintFrame(TForm& form, TCanvas& canvas) override;

    private:
        const TkivCustomComboBox& combo_;
    };

    bool Skinned() const { return Style() != csSimple; }
    void WatchForList();
    void FrameList();
    void ListClosed();

    TColor border_color_ = clBlack;
    TColor arrow_color_ = clBlack;
    TColor button_color_ = clBtnFace;
    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
    // MacOS and WinXP paint their button from art, loaded with the style.
    TBitmap button_art_;
    ListFrame list_frame_{*this};
    // The list is a window of its own that comes up inside the drop-down
    // call: this finds it once the call's loop runs.
    std::unique_ptr<TTimer> list_watch_;
    bool list_framed_ = false;
};

class TkivComboBox : public TkivCustomComboBox {
public:
    explicit TkivComboBox(TComponent* AOwner = nullptr);
};
