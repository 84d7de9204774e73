// Composition: each control paints into a bitmap of its own size that
// starts out as the pixels behind it; the children are composed into the
// parent's bitmap in z-order.
#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/ui/control.h"
#include "platform/ui/render.h"

namespace {

// Copies src's rectangle r (src pixels) to dst at (dx, dy), clipped to both.
void CopyPixels(const TBitmap& src, TRect r, TBitmap& dst, int dx, int dy)
{
    TRect rs = r.Intersect(src.BoundsRect());
    if (rs.IsEmpty()) return;
    dx += rs.Left - r.Left;
    dy += rs.Top - r.Top;
    TRect d = Bounds(dx, dy, rs.Width(), rs.Height()).Intersect(dst.BoundsRect());
    if (d.IsEmpty()) return;
    int sx = rs.Left + (d.Left - dx);
    int sy = rs.Top + (d.Top - dy);
    for (int y = 0; y < d.Height(); ++y) {
        const uint32_t* from = src.ScanLine(sy + y) + sx;
        std::copy(from, from + d.Width(), dst.ScanLine(d.Top + y) + d.Left);
    }
}

void PrepareCanvas(TCanvas& canvas, const TControl& control)
{
    canvas.Font().Assign(control.Font());
    canvas.Brush().SetColor(control.Color());
    canvas.Pen().SetColor(clBlack);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetMode(pmCopy);
}

}  // namespace

struct UiRender {
    // Only the pixels inside clip (bmp pixels) are composed; children that
    // lie outside it are not painted at all.
    static void Render(TControl& c, TBitmap& bmp, const TRect& clip)
    {
        TCanvas& canvas = bmp.Canvas();
        TRect ins = c.NonClientInsets();
        {
            TCanvasStateSaver saver(canvas);
            canvas.SetOrigin({0, 0});
            canvas.IntersectClipRect(clip);
            PrepareCanvas(canvas, c);
            c.PaintNonClient(canvas);
        }
        TRect client{ins.Left, ins.Top, c.width_ - ins.Right, c.height_ - ins.Bottom};
        TRect shown = client.Intersect(clip);
        if (shown.IsEmpty()) return;
        {
            TCanvasStateSaver saver(canvas);
            canvas.SetOrigin(client.TopLeft());
            canvas.IntersectClipRect(shown.Offset(-client.Left, -client.Top));
            PrepareCanvas(canvas, c);
            c.Paint(canvas);
        }
        std::vector<TControl*> children = c.children_;
        for (TControl* child : children) {
            if (!child->visible_ || child->width_ <= 0 || child->height_ <= 0) continue;
            TRect dst =
                Bounds(client.Left + child->left_, client.Top + child->top_, child->width_, child->height_);
            TRect vis = dst.Intersect(shown);
            if (vis.IsEmpty()) continue;
            TBitmap& cb = child->Buffer(child->width_, child->height_);
            TRect own = vis.Offset(-dst.Left, -dst.Top);
            CopyPixels(bmp, vis, cb, own.Left, own.Top);
            Render(*child, cb, own);
            CopyPixels(cb, own, bmp, vis.Left, vis.Top);
        }
    }
    static void Render(TControl& c, TBitmap& bmp) { Render(c, bmp, bmp.BoundsRect()); }

    static void PaintSelf(TControl& c, TCanvas& canvas, int dx, int dy)
    {
        TFont font(canvas.Font());
        TBrush brush;
        brush.Assign(canvas.Brush());
        TPen pen;
        pen.Assign(canvas.Pen());
        {
            TCanvasStateSaver saver(canvas);
            canvas.MoveOrigin(-dx, -dy);
            PrepareCanvas(canvas, c);
            c.PaintNonClient(canvas);
            TRect ins = c.NonClientInsets();
            canvas.MoveOrigin(ins.Left, ins.Top);
            canvas.IntersectClipRect(c.ClientRect());
            PrepareCanvas(canvas, c);
            c.Paint(canvas);
        }
        canvas.Font().Assign(font);
        canvas.Brush().Assign(brush);
        canvas.Pen().Assign(pen);
    }
};

namespace ui {

void RenderControl(TControl& control, TBitmap& picture, const TRect& clip)
{
    UiRender::Render(control, picture, clip.Intersect(picture.BoundsRect()));
}

void CopyBitmapRect(const TBitmap& src, const TRect& r, TBitmap& dst, int dx, int dy)
{
    CopyPixels(src, r, dst, dx, dy);
}

}  // namespace ui

void TControl::PaintTo(TBitmap& target, int x, int y)
{
    if (width_ <= 0 || height_ <= 0) return;
    TBitmap picture(width_, height_, color_);
    CopyPixels(target, Bounds(x, y, width_, height_), picture, 0, 0);
    UiRender::Render(*this, picture);
    CopyPixels(picture, picture.BoundsRect(), target, x, y);
}

void TControl::PaintTo(TCanvas& canvas, int x, int y)
{
    if (width_ <= 0 || height_ <= 0) return;
    TBitmap picture(width_, height_, color_);
    TPoint device = canvas.Origin() + TPoint{x, y};
    CopyPixels(canvas.Target(), Bounds(device.X, device.Y, width_, height_), picture, 0, 0);
    UiRender::Render(*this, picture);
    // Straight into the canvas's pixels, within its clip.
    TRect clip = canvas.ClipRect().Offset(canvas.Origin().X, canvas.Origin().Y);
    TRect dest = Bounds(device.X, device.Y, width_, height_).Intersect(clip);
    if (dest.IsEmpty()) return;
    CopyPixels(picture, dest.Offset(-device.X, -device.Y), canvas.Target(), dest.Left, dest.Top);
}

void TControl::PaintBackgroundInto(TCanvas& canvas, int dx, int dy)
{
    UiRender::PaintSelf(*this, canvas, dx, dy);
}

void TControl::DrawParentBackground(TCanvas& canvas)
{
    if (!parent_) return;
    TRect pins = parent_->NonClientInsets();
    TRect ins = NonClientInsets();
    parent_->PaintBackgroundInto(canvas, pins.Left + left_ + ins.Left, pins.Top + top_ + ins.Top);
}
