#pragma once
// TkivForm: the panel that fills a skinned form and carries its caption
// strip. Plain for now; the skinned frame and title bar come later. Its
// UIStyle is the style that new controls of the form start with.
#include "platform/ui/control.h"
#include "skin/kiv_themes.h"

class TkivForm : public TCustomControl, public IkivStyled {
public:
    explicit TkivForm(TComponent* AOwner = nullptr);

    // Height of the caption strip at the top of the panel.
    static constexpr int kCaptionHeight = 24;

    void Paint(TCanvas& Canvas) override;

    TkivUIStyle UIStyle() const override { return ui_style_; }
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    void SetFileTheme(TkivFileTheme* theme) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void TextChanged() override { Invalidate(); }

private:
    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
};
