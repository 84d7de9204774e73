#include "skin/kiv_group_box.h"

#include <cstdlib>

#include "platform/gfx/canvas.h"
#include "skin/kiv_file_theme.h"
#include "skin/kiv_locale.h"
#include "skin/kiv_public.h"

namespace {
constexpr std::uint8_t kSkinBorderColor = 22;  // "SKIN2_CONTROLBORDERCOLOR"
constexpr std::uint8_t kSkinFontColor = 23;    // "SKIN2_CONTROLFONTCOLOR"
constexpr int kBuiltInBorder = 25;
constexpr int kBuiltInCaption = 27;
constexpr TColor kDisabledGrey = 0x808080;
}  // namespace

TkivCustomGroupBox::TkivCustomGroupBox(TComponent* AOwner) : TkivCustomPanel(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetBounds(0, 0, 185, 105);
    SetParentColor(true);
    SetTransparent(false);
    SetUIStyle(skin::GetOwnerUIStyle(AOwner));
}

void TkivCustomGroupBox::SetBorderColor(TColor colour)
{
    border_color_ = colour;
    Invalidate();
}

void TkivCustomGroupBox::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    ApplyUIStyle(style, file_theme_);
}

void TkivCustomGroupBox::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    SetUIStyle(ui_style_);
}

void TkivCustomGroupBox::ApplyUIStyle(TkivUIStyle style, TkivFileTheme* theme)
{
    skin::ApplyUIStyleToChildren(*this, style, theme);
    TkivUIStyle effective;
    TColor border, caption;
    if (TkivFileTheme::UsingFileTheme(file_theme_, ui_style_, effective)) {
        // A skin that lacks a colour gives black.
        const std::int32_t b = file_theme_->GetColor(kSkinBorderColor);
        const std::int32_t f = file_theme_->GetColor(kSkinFontColor);
        border = b < 0 ? clBlack : static_cast<TColor>(b);
        caption = f < 0 ? clBlack : static_cast<TColor>(f);
    } else {
        border = skin::GetBuiltInColor(effective, kBuiltInBorder);
        caption = skin::GetBuiltInColor(effective, kBuiltInCaption);
    }
    SetBorderColor(border);
    // Only a real change, so that the box keeps its parent's font otherwise.
    if (Font().Color() != caption) Font().SetColor(caption);
    Invalidate();
}

void TkivCustomGroupBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TkivCustomPanel::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && file_theme_ && AComponent == file_theme_) {
        file_theme_ = nullptr;
        skin::ApplyUIStyleToChildren(*this, TkivUIStyle::DeepBlue, nullptr);
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
}

void TkivCustomGroupBox::AdjustClientRect(TRect& Rect) const
{
    Rect.Left += 3;
    Rect.Right -= 3;
    Rect.Bottom -= 3;
    Rect.Top += std::abs(Font().Height()) + 5;
}

void TkivCustomGroupBox::FontChanged()
{
    Realign();
    Invalidate();
}

void TkivCustomGroupBox::Paint(TCanvas& Canvas)
{
    const int W = ClientWidth(), H = ClientHeight();
    if (W <= 0 || H <= 0) return;
    if (Transparent()) {
        TkivCustomPanel::Paint(Canvas);
    } else {
        Canvas.Brush().SetColor(Color());
        Canvas.FillRect(ClientRect());
    }
    Canvas.Font().Assign(Font());
    Canvas.Pen().SetColor(border_color_);
    Canvas.Pen().SetStyle(psSolid);
    const int L = 0, R = W, B = H;
    const int Y = std::abs(Font().Height()) / 2 + 1;
    const std::string& caption = Caption();
    const int TW = caption.empty() ? 0 : Canvas.TextWidth(caption);
    // Right to left only where the system locale runs that way too.
    const bool rtl = BiDiMode() == bdRightToLeft && skin::MiddleEastLocale();
    if (!rtl) {
        Canvas.MoveTo(L + 2, Y);
        Canvas.LineTo(L, Y);
        Canvas.LineTo(L, B - 1);
        Canvas.LineTo(R - 1, B - 1);
        Canvas.LineTo(R - 1, Y);
        if (!caption.empty())
            Canvas.LineTo(L + TW + 6, Y);
        else
            Canvas.LineTo(L, Y);
    } else {
        Canvas.MoveTo(R - 3, Y);
        Canvas.LineTo(R - 1, Y);
        Canvas.LineTo(R - 1, B - 1);
        Canvas.LineTo(L + 1, B - 1);
        Canvas.LineTo(L + 1, Y);
        if (!caption.empty())
            Canvas.LineTo(R - TW - 7, Y);
        else
            Canvas.LineTo(R - 1, Y);
    }
    if (!caption.empty()) {
        Canvas.Font().Assign(Font());
        if (!EffectivelyEnabled()) Canvas.Font().SetColor(kDisabledGrey);
        Canvas.Brush().SetStyle(bsClear);
        Canvas.TextOut(rtl ? Width() - TW - 6 : 5, 0, caption);
    }
}
