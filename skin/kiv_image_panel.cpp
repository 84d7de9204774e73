#include "skin/kiv_image_panel.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "skin/kiv_public.h"

TkivCustomPanel::TkivCustomPanel(TComponent* AOwner) : TPanel(AOwner)
{
    SetBevelOuter(bvNone);
    SetBevelInner(bvNone);
    picture_.OnChange = [this](TObject*) { PictureChanged(); };
}

void TkivCustomPanel::SetTransparent(bool on)
{
    transparent_ = on;
    if (!picture_.Empty()) picture_.Bitmap().SetTransparent(on);
    Invalidate();
}

void TkivCustomPanel::SetAutoSize(bool on)
{
    auto_size_ = on;
    ApplyAutoSize();
}

void TkivCustomPanel::SetDrawStyle(TkivDrawStyle style)
{
    draw_style_ = style;
    DrawBackground();
    Invalidate();
}

void TkivCustomPanel::ApplyAutoSize()
{
    if (!auto_size_ || picture_.Empty()) return;
    const TAlign a = Align();
    const int w = a == alTop || a == alBottom || a == alClient ? Width() : picture_.Width();
    const int h = a == alLeft || a == alRight || a == alClient ? Height() : picture_.Height();
    SetBounds(Left(), Top(), w, h);
}

void TkivCustomPanel::PictureChanged()
{
    if (!picture_.Empty()) {
        ApplyAutoSize();
        picture_.Bitmap().SetTransparent(transparent_);
    }
    DrawBackground();
    Invalidate();
}

void TkivCustomPanel::TextChanged()
{
    CaptionChanged();
    Invalidate();
}

void TkivCustomPanel::Resize()
{
    TPanel::Resize();
    Invalidate();
}

void TkivCustomPanel::Paint(TCanvas& Canvas)
{
    const int W = ClientWidth(), H = ClientHeight();
    if (W <= 0 || H <= 0) return;
    TBitmap off(W, H, Color());
    TCanvas& canvas = off.Canvas();
    const TRect client = ClientRect();
    if (transparent_) skin::DrawParentBackground(canvas, *this);
    if (!picture_.Empty()) {
        const TBitmap& picture = picture_.Bitmap();
        switch (draw_style_) {
        case kivStretch: canvas.StretchDraw(client, picture); break;
        case kivTile: skin::TilePicture(canvas, picture, client); break;
        default:
            // What a smaller picture leaves uncovered shows the panel's colour.
            if (!transparent_) {
                canvas.Brush().SetColor(Color());
                canvas.FillRect(client);
            }
            canvas.Draw(0, 0, picture);
            break;
        }
    } else if (!transparent_) {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(client);
    }
    canvas.Brush().SetStyle(bsClear);
    const std::string& text = Caption();
    const bool blank = std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
    if (PaintsCaption() && !blank) {
        canvas.Font().Assign(Font());
        const unsigned align = Alignment() == taLeftJustify    ? DT_LEFT
                               : Alignment() == taRightJustify ? DT_RIGHT
                                                               : DT_CENTER;
        TRect r = client;
        canvas.DrawText(text, r, align | DT_VCENTER | DT_SINGLELINE);
    }
    Canvas.CopyRect(client, off, off.BoundsRect());
}
