#include "skin/kiv_edit.h"

#include "platform/gfx/canvas.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_public.h"

namespace {

constexpr int kFrameWidth = 2;
constexpr std::uint8_t kSkinBorderColour = 22;  // SKIN2_CONTROLBORDERCOLOR
constexpr int kStyleBorderColour = 25;

}  // namespace

TkivEdit::TkivEdit(TComponent* AOwner) : TEdit(AOwner)
{
    SetControlStyle(ControlStyle() | csOpaque);
    SetBorderStyle(bsNone);
    SetUIStyle(skin::GetOwnerUIStyle(AOwner));
}

void TkivEdit::SetBorderColor(TColor colour)
{
    border_color_ = colour;
    Invalidate();
}

void TkivEdit::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    TkivUIStyle effective;
    if (TkivFileTheme::UsingFileTheme(file_theme_, style, effective)) {
        // A skin that lacks the colour gets the fallback style's.
        const std::int32_t skin = file_theme_->GetColor(kSkinBorderColour);
        border_color_ = skin >= 0 ? static_cast<TColor>(skin)
                                  : skin::GetBuiltInColor(TkivUIStyle::DeepBlue, kStyleBorderColour);
    } else {
        border_color_ = skin::GetBuiltInColor(effective, kStyleBorderColour);
    }
    UIStyleChanged();
    Invalidate();
}

void TkivEdit::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    SetUIStyle(ui_style_);
}

void TkivEdit::Notification(TComponent* AComponent, TOperation Operation)
{
    TEdit::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == file_theme_ && file_theme_) {
        file_theme_ = nullptr;
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
}

TRect TkivEdit::NonClientInsets() const { return {kFrameWidth, kFrameWidth, kFrameWidth, kFrameWidth}; }

void TkivEdit::PaintNonClient(TCanvas& Canvas)
{
    skin::DrawControlBorder(Canvas, *this, border_color_, Color(), true);
}
