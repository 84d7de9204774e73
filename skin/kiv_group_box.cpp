#include "skin/kiv_group_box.h"

#include "platform/gfx/canvas.h"
#include "platform/ui/draw.h"

TkivGroupBox::TkivGroupBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
}

void TkivGroupBox::Paint(TCanvas& Canvas)
{
    Canvas.Brush().SetColor(Color());
    Canvas.FillRect(ClientRect());
    Canvas.Font().Assign(Font());
    const int text_height = Caption().empty() ? 0 : Canvas.TextHeight(Caption());
    const TRect frame{0, text_height / 2, ClientWidth(), ClientHeight()};
    ui::DrawEdge1(Canvas, frame, false);
    ui::DrawEdge1(Canvas, {frame.Left + 1, frame.Top + 1, frame.Right, frame.Bottom}, true);
    if (!Caption().empty()) {
        Canvas.Brush().SetColor(Color());
        if (!EffectivelyEnabled()) Canvas.Font().SetColor(clGray);
        Canvas.TextOut(8, 0, " " + Caption() + " ");
    }
}
