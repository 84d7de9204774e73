#include "skin/kiv_form.h"

#include "platform/gfx/canvas.h"

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
