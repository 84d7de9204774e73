#include "skin/kiv_dialog.h"

#include "skin/kiv_file_theme.h"

namespace {

// Skin colour indexes of the title's and the controls' text.
constexpr std::uint8_t kTitleFontColour = 1;
constexpr std::uint8_t kControlFontColour = 23;

}  // namespace

TkivDialog::TkivDialog(TComponent* AOwner) : TComponent(AOwner)
{
    caption_font_.SetColor(clWhite);
    caption_font_.SetName("Tahoma");
    caption_font_.SetBold(true);
    SetUIStyle(skin::GetOwnerUIStyle(AOwner));
}

void TkivDialog::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    TkivUIStyle effective;
    const bool light_title = style == TkivUIStyle::MacOS;
    TColor text = clBlack;
    TColor title = light_title ? clBlack : clWhite;
    if (TkivFileTheme::UsingFileTheme(file_theme_, style, effective)) {
        // A skin without these colours keeps the built-in ones.
        const std::int32_t skin_title = file_theme_->GetColor(kTitleFontColour);
        const std::int32_t skin_text = file_theme_->GetColor(kControlFontColour);
        if (skin_title >= 0) title = static_cast<TColor>(skin_title);
        if (skin_text >= 0) text = static_cast<TColor>(skin_text);
    }
    font_.SetColor(text);
    caption_font_.SetColor(title);
}

void TkivDialog::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    SetUIStyle(ui_style_);
}

void TkivDialog::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == file_theme_ && file_theme_) {
        file_theme_ = nullptr;
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
}
