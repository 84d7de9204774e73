#pragma once
// TkivDialog: the base of the library's non-visual dialog components. It
// holds what every skinned dialog box shares: the caption, where the box
// appears, the buttons' cursor, the style with its file theme, and the
// fonts of the text and of the title.
#include <string>

#include "platform/core/component.h"
#include "platform/gfx/font.h"
#include "platform/ui/form.h"
#include "platform/ui/ui_types.h"
#include "skin/kiv_themes.h"

class TkivDialog : public TComponent, public IkivStyled {
public:
    // Takes the owner form's style once the defaults are set.
    explicit TkivDialog(TComponent* AOwner = nullptr);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TCursor ButtonCursor() const { return button_cursor_; }
    void SetButtonCursor(TCursor cursor) { button_cursor_ = cursor; }

    // The style sets the fonts' colours: the skin's title and control font
    // colours when a ready skin is used, else black text and a white title
    // (black on MacOS, whose title bar is light).
    TkivUIStyle UIStyle() const override { return ui_style_; }
    void SetUIStyle(TkivUIStyle style) override;
    TkivFileTheme* FileTheme() const override { return file_theme_; }
    void SetFileTheme(TkivFileTheme* theme) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // The text of the box; the setter copies the font.
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font) { font_.Assign(font); }
    // The title's font (white, bold "Tahoma" at first).
    TFont& CaptionFont() { return caption_font_; }
    const TFont& CaptionFont() const { return caption_font_; }
    void SetCaptionFont(const TFont& font) { caption_font_.Assign(font); }

    // Shows the box modally and returns how it was closed.
    virtual TModalResult ShowModal() = 0;

private:
    std::string caption_ = "kivDialog";
    TPosition position_ = poScreenCenter;
    TCursor button_cursor_ = crHandPoint;
    TkivUIStyle ui_style_ = TkivUIStyle::DeepBlue;
    TkivFileTheme* file_theme_ = nullptr;
    TFont font_;
    TFont caption_font_;
};
