#include "skin/kiv_image_button.h"

#include "platform/gfx/canvas.h"

TkivImageButton::TkivImageButton(TComponent* AOwner) : TButton(AOwner)
{
    picture_.OnChange = [this](TObject*) { Invalidate(); };
}

void TkivImageButton::Paint(TCanvas& Canvas)
{
    if (picture_.Empty()) {
        TButton::Paint(Canvas);
        return;
    }
    Canvas.StretchDraw(ClientRect(), picture_.Bitmap());
}
