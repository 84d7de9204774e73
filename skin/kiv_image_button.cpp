#include "skin/kiv_image_button.h"

#include "platform/gfx/canvas.h"

TkivImageButton::TkivImageButton(TComponent* AOwner) : TkivCustomButton(AOwner)
{
    for (TPicture* picture : {&pic_normal_, &pic_mouse_on_, &pic_mouse_down_, &pic_disabled_})
        picture->OnChange = [this](TObject*) { PictureChanged(); };
}

void TkivImageButton::PictureChanged()
{
    UpdateAutoSize();
    Invalidate();
}

void TkivImageButton::SetStretch(bool on)
{
    stretch_ = on;
    Invalidate();
}

void TkivImageButton::SetDrawFocused(bool on)
{
    draw_focused_ = on;
    Invalidate();
}

void TkivImageButton::UpdateAutoSize()
{
    if (!Parent() || !AutoSize() || pic_normal_.Empty()) return;
    SetBounds(Left(), Top(), pic_normal_.Width(), pic_normal_.Height());
}

void TkivImageButton::ParentChanged()
{
    TkivCustomButton::ParentChanged();
    UpdateAutoSize();
}

void TkivImageButton::GetNormalPic(TBitmap& destination)
{
    if (!pic_normal_.Empty()) destination.Assign(pic_normal_.Bitmap());
}

void TkivImageButton::CopyPic(const TPicture& own, TBitmap& destination) const
{
    if (!own.Empty())
        destination.Assign(own.Bitmap());
    else if (!pic_normal_.Empty())
        destination.Assign(pic_normal_.Bitmap());
}

void TkivImageButton::PaintPic(TCanvas& canvas, TBitmap& picture)
{
    if (picture.Empty()) return;
    picture.SetTransparentColor(gfx::ColorRGB(picture.Pixel(0, 0)));
    if (stretch_)
        canvas.StretchDraw({0, 0, Width(), Height()}, picture);
    else
        canvas.Draw(0, 0, picture);
}

void TkivImageButton::PaintFocus(TCanvas& canvas)
{
    if (draw_focused_) TkivCustomButton::PaintFocus(canvas);
}
