#pragma once
// TkivEdit: the platform's one-line edit inside a frame drawn in the
// style's border colour, with a ring of the edit's own colour inside it.
#include "platform/ui/edit.h"
#include "skin/kiv_themes.h"

class TkivEdit : public TEdit, public IkivStyled {
public:
    // Takes the owner form's style.
    explicit TkivEdit(TComponent* AOwner = nullptr);

    TColor BorderColor() const { return border_color_; }
    void SetBorderColor(TColor colour);

    // The border colour: the skin's control border colour when a ready skin
    // is used, else the style's.
    TkivUIStyle UIStyle() const override { return ui_style_; }
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    void SetFileTheme(TkivFileTheme* theme) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // The frame: two pixels on every side.
    TRect NonClientInsets() const override;
    void PaintNonClient(TCanvas& Canvas) override;

protected:
    // Runs after every style change.
    virtual void UIStyleChanged() {}
    void ColorChanged() override { Invalidate(); }

private:
    TColor border_color_ = clBlack;
    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
};
