#include "skin/kiv_image_panel.h"

#include "platform/gfx/canvas.h"

TkivImagePanel::TkivImagePanel(TComponent* AOwner) : TPanel(AOwner)
{
    picture_.OnChange = [this](TObject*) { Invalidate(); };
}

void TkivImagePanel::Paint(TCanvas& Canvas)
{
    if (picture_.Empty()) {
        TPanel::Paint(Canvas);
        return;
    }
    Canvas.StretchDraw(ClientRect(), picture_.Bitmap());
}
