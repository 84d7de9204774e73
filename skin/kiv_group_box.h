#pragma once
// TkivGroupBox: a one-pixel frame with its caption in the top edge. It
// passes its style to the skinned controls inside it. Children keep the
// positions they are given (from the box's top-left); aligned children are
// laid out inside the frame, below the caption.
#include "skin/kiv_image_panel.h"
#include "skin/kiv_themes.h"

class TkivCustomGroupBox : public TkivCustomPanel, public IkivStyled {
public:
    explicit TkivCustomGroupBox(TComponent* AOwner = nullptr);

    TColor BorderColor() const { return border_color_; }
    void SetBorderColor(TColor colour);
    TkivUIStyle UIStyle() const override { return ui_style_; }
    // Restyles the children at once, then takes the style's colours.
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    void SetFileTheme(TkivFileTheme* theme) override;

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void AdjustClientRect(TRect& Rect) const override;
    void Paint(TCanvas& Canvas) override;

protected:
    virtual void ApplyUIStyle(TkivUIStyle style, TkivFileTheme* theme);
    bool PaintsCaption() const override { return false; }
    void FontChanged() override;

private:
    TColor border_color_ = clBlack;
    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
};

class TkivGroupBox : public TkivCustomGroupBox {
public:
    explicit TkivGroupBox(TComponent* AOwner = nullptr) : TkivCustomGroupBox(AOwner) {}
};
