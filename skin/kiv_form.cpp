#include "skin/kiv_form.h"

#include "platform/gfx/canvas.h"
#include "skin/kiv_file_theme.h"

TkivForm::TkivForm(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
}

void TkivForm::Paint(TCanvas& Canvas)
{
    Canvas.Brush().SetColor(Color());
    Canvas.FillRect(ClientRect());
    const TRect strip{0, 0, ClientWidth(), kCaptionHeight};
    Canvas.Brush().SetColor(clNavy);
    Canvas.FillRect(strip);
    Canvas.Font().Assign(Font());
    Canvas.Font().SetColor(clWhite);
    Canvas.Brush().SetStyle(bsClear);
    Canvas.TextOut(6, (kCaptionHeight - Canvas.TextHeight(Caption())) / 2, Caption());
}

void TkivForm::SetUIStyle(TkivUIStyle style)
{
    ui_style_ = style;
    Invalidate();
}

void TkivForm::SetFileTheme(TkivFileTheme* theme)
{
    if (theme != file_theme_) {
        if (file_theme_) file_theme_->RemoveFreeNotification(this);
        file_theme_ = theme;
        if (file_theme_) file_theme_->FreeNotification(this);
    }
    SetUIStyle(ui_style_);
}

void TkivForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == file_theme_ && file_theme_) {
        file_theme_ = nullptr;
        SetUIStyle(TkivUIStyle::DeepBlue);
    }
}
