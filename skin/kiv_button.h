#pragma once
// The library's push buttons. TkivCustomButton keeps the visual state
// (normal, hover, pressed, disabled), paints one state picture, the caption
// and the focus mark, repeats OnMouseContinuouslyDown while the left button
// is held, and gives its form ModalResult on a click. TkivButton draws a
// cell of the style's 3-cell button strip stretched nine-slice and may carry
// a glyph; TkivImageButton (skin/kiv_image_button.h) draws user pictures.
#include <memory>
#include <string>

#include "platform/core/timer.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/control.h"
#include "skin/kiv_themes.h"

class TkivFileTheme;

class TkivCustomButton : public TCustomControl {
public:
    explicit TkivCustomButton(TComponent* AOwner = nullptr);
    ~TkivCustomButton() override;

    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool on);
    // Escape clicks the button.
    bool Cancel() const { return cancel_; }
    void SetCancel(bool on) { cancel_ = on; }
    // Enter clicks the button while no other TkivButton has the focus.
    bool Default() const { return default_; }
    void SetDefault(bool on);
    // The parent's background shows behind the button; the state picture is
    // drawn see-through.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    // Given to the parent form on every click (0 too).
    TModalResult ModalResult() const { return modal_result_; }
    void SetModalResult(TModalResult result) { modal_result_ = result; }
    TkivUIStyle UIStyle() const { return ui_style_; }
    void SetUIStyle(TkivUIStyle style);
    // Period of OnMouseContinuouslyDown while the left button is held.
    int MouseContinuouslyDownInterval() const { return repeat_interval_; }
    void SetMouseContinuouslyDownInterval(int ms) { repeat_interval_ = ms; }
    int FocusedRectMargin() const { return focus_margin_; }
    void SetFocusedRectMargin(int margin);
    bool PicTransparent() const { return pic_transparent_; }

    bool IsActive() const { return active_; }
    bool IsMouseOn() const { return mouse_on_; }
    bool IsDown() const { return down_; }
    // Whether the repeat timer lives (from a left press to its end).
    bool Repeating() const { return repeat_timer_ != nullptr; }
    // Clicks the button as the user would.
    void Press() { Click(); }

    TNotifyEvent OnMouseExit;
    TNotifyEvent OnMouseContinuouslyDown;

    void SetEnabled(bool enabled) override;
    void Paint(TCanvas& Canvas) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    void Click() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void CancelMode() override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyUp(uint16_t& Key, TShiftState Shift) override;
    bool DialogKey(uint16_t Key, TShiftState Shift) override;
    bool DialogChar(char32_t Key, TShiftState Shift) override;
    void FocusChanged(TControl* NewFocus) override;
    void DoEnter() override;
    void DoExit() override;

protected:
    virtual void UpdateAutoSize();
    virtual void CaptionChanged() {}
    void FontChanged() override { Invalidate(); }
    virtual void TransparentChanged();
    virtual void UIStyleChanged() {}
    // The state picture; the caption; the focus mark.
    virtual void PaintPic(TCanvas& canvas, TBitmap& picture);
    virtual void PaintText(TCanvas& canvas, const std::string& caption);
    virtual void PaintFocus(TCanvas& canvas);
    virtual void GetNormalPic(TBitmap& destination) { GetStatePicCell(destination, 1); }
    virtual void GetMouseOnPic(TBitmap& destination) { GetStatePicCell(destination, 2); }
    virtual void GetMouseDownPic(TBitmap& destination) { GetStatePicCell(destination, 3); }
    virtual void GetDisabledPic(TBitmap& destination) { GetStatePicCell(destination, 1); }
    // Cell `cell` of 3 of the skin's button strip, or of the style's.
    void GetStatePicCell(TBitmap& destination, int cell) const;

    void TextChanged() override;
    void ParentChanged() override;

    TkivFileTheme* file_theme_ = nullptr;
    // Bold caption for the paint in progress only.
    bool bold_caption_ = false;

private:
    void StopRepeat();
    void FireContinuouslyDown();
    void DrawCaptionCentred(TCanvas& canvas, const std::string& caption, const TRect& r, TColor colour);

    bool auto_size_ = false;
    bool cancel_ = false;
    bool default_ = false;
    bool transparent_ = false;
    TModalResult modal_result_ = mrNone;
    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    bool pic_transparent_ = false;
    std::unique_ptr<TTimer> repeat_timer_;
    int repeat_interval_ = 100;
    int focus_margin_ = 2;
    bool active_ = false;
    bool mouse_on_ = false;
    bool down_ = false;
};

enum TButtonLayout { blGlyphLeft = 0, blGlyphRight = 1, blGlyphTop = 2, blGlyphBottom = 3 };

class TkivButton : public TkivCustomButton, public IkivStyled {
public:
    explicit TkivButton(TComponent* AOwner = nullptr);

    TkivUIStyle UIStyle() const override { return TkivCustomButton::UIStyle(); }
    void SetUIStyle(TkivUIStyle style) override { TkivCustomButton::SetUIStyle(style); }
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    void SetFileTheme(TkivFileTheme* theme) override;

    // A glyph twice as wide as high is two cells: enabled, disabled.
    TBitmap& Glyph() { return glyph_; }
    const TBitmap& Glyph() const { return glyph_; }
    void SetGlyph(const TBitmap& glyph);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout layout);
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);
    // Where the last paint put the caption beside a glyph.
    TPoint TextOrigin() const { return text_origin_; }
    // Kept for stored forms: always 0, writes ignored.
    unsigned ResHandle() const { return 0; }
    void SetResHandle(unsigned) {}

protected:
    void UIStyleChanged() override;
    void PaintPic(TCanvas& canvas, TBitmap& picture) override;
    void PaintText(TCanvas& canvas, const std::string& caption) override;
    void PaintFocus(TCanvas& canvas) override;

private:
    TBitmap glyph_;
    TButtonLayout layout_ = blGlyphLeft;
    TPoint text_origin_{};
    int spacing_ = 4;
};
