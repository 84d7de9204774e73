#include "platform/ui/image.h"

#include "platform/gfx/canvas.h"
#include "platform/gfx/image_io.h"

void TPicture::LoadFromFile(const std::filesystem::path& path)
{
    TBitmap loaded = gfx::LoadImage(path);
    bitmap_ = std::move(loaded);
    Changed();
}

void TPicture::Assign(const TBitmap& bitmap)
{
    bitmap_.Assign(bitmap);
    Changed();
}

void TPicture::Clear()
{
    bitmap_ = TBitmap();
    Changed();
}

void TPicture::Changed()
{
    if (OnChange) OnChange(this);
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 105, 105);
    picture_.OnChange = [this](TObject*) { PictureChanged(); };
}

void TImage::SetAutoSize(bool on)
{
    auto_size_ = on;
    PictureChanged();
}

void TImage::PictureChanged()
{
    if (auto_size_ && !picture_.Empty()) SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    Invalidate();
}

TRect TImage::DestRect() const
{
    int pw = picture_.Width(), ph = picture_.Height();
    int w = pw, h = ph;
    int cw = ClientWidth(), ch = ClientHeight();
    if (stretch_ || (proportional_ && (pw > cw || ph > ch))) {
        if (proportional_ && pw > 0 && ph > 0) {
            if (static_cast<long long>(cw) * ph > static_cast<long long>(ch) * pw) {
                h = ch;
                w = static_cast<int>(static_cast<long long>(ch) * pw / ph);
            } else {
                w = cw;
                h = static_cast<int>(static_cast<long long>(cw) * ph / pw);
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    int x = 0, y = 0;
    if (center_) {
        x = (cw - w) / 2;
        y = (ch - h) / 2;
    }
    return Bounds(x, y, w, h);
}

void TImage::Paint(TCanvas& canvas)
{
    if (picture_.Empty()) return;
    TRect dest = DestRect();
    TBitmap& b = picture_.Bitmap();
    bool was = b.Transparent();
    if (transparent_) b.SetTransparent(true);
    if (dest.Width() == b.Width() && dest.Height() == b.Height())
        canvas.Draw(dest.Left, dest.Top, b);
    else
        canvas.StretchDraw(dest, b);
    b.SetTransparent(was);
}
