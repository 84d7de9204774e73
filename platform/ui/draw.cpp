#include "platform/ui/draw.h"

#include "platform/gfx/canvas.h"

namespace ui {

namespace {
void Line(TCanvas& c, int x1, int y1, int x2, int y2, TColor color)
{
    c.Pen().SetColor(color);
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
}
}  // namespace

void DrawEdge1(TCanvas& c, const TRect& r, bool raised)
{
    if (r.IsEmpty()) return;
    TColor tl = raised ? clBtnHighlight : clBtnShadow;
    TColor br = raised ? clBtnShadow : clBtnHighlight;
    Line(c, r.Left, r.Bottom - 1, r.Left, r.Top, tl);
    Line(c, r.Left, r.Top, r.Right, r.Top, tl);
    Line(c, r.Right - 1, r.Top + 1, r.Right - 1, r.Bottom, br);
    Line(c, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1, br);
}

void DrawButtonFace(TCanvas& c, const TRect& r, bool pressed, bool isDefault)
{
    if (r.IsEmpty()) return;
    c.Brush().SetColor(clBtnFace);
    c.FillRect(r);
    TRect face = r;
    if (isDefault) {
        c.Brush().SetColor(clWindowFrame);
        c.FrameRect(face);
        face = face.Inflate(-1, -1);
    }
    if (pressed) {
        c.Brush().SetColor(clBtnShadow);
        c.FrameRect(face);
        return;
    }
    Line(c, face.Left, face.Bottom - 1, face.Left, face.Top, clBtnHighlight);
    Line(c, face.Left, face.Top, face.Right - 1, face.Top, clBtnHighlight);
    Line(c, face.Right - 1, face.Top, face.Right - 1, face.Bottom - 1, cl3DDkShadow);
    Line(c, face.Right - 1, face.Bottom - 1, face.Left - 1, face.Bottom - 1, cl3DDkShadow);
    Line(c, face.Right - 2, face.Top + 1, face.Right - 2, face.Bottom - 2, clBtnShadow);
    Line(c, face.Right - 2, face.Bottom - 2, face.Left, face.Bottom - 2, clBtnShadow);
}

void DrawSunkenEdge(TCanvas& c, const TRect& r)
{
    if (r.Width() < 4 || r.Height() < 4) return;
    Line(c, r.Left, r.Bottom - 1, r.Left, r.Top, clBtnShadow);
    Line(c, r.Left, r.Top, r.Right - 1, r.Top, clBtnShadow);
    Line(c, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1, clBtnHighlight);
    Line(c, r.Right - 1, r.Bottom - 1, r.Left - 1, r.Bottom - 1, clBtnHighlight);
    Line(c, r.Left + 1, r.Bottom - 2, r.Left + 1, r.Top + 1, cl3DDkShadow);
    Line(c, r.Left + 1, r.Top + 1, r.Right - 2, r.Top + 1, cl3DDkShadow);
    Line(c, r.Right - 2, r.Top + 1, r.Right - 2, r.Bottom - 2, cl3DLight);
    Line(c, r.Right - 2, r.Bottom - 2, r.Left, r.Bottom - 2, cl3DLight);
}

void DrawArrow(TCanvas& c, const TRect& r, ArrowDirection direction, TColor color)
{
    // Four lines of 7, 5, 3 and 1 pixels from the base to the tip.
    const bool vertical = direction == ArrowDirection::Up || direction == ArrowDirection::Down;
    const bool towardsEnd = direction == ArrowDirection::Down || direction == ArrowDirection::Right;
    c.Pen().SetColor(color);
    if (vertical) {
        const int cx = (r.Left + r.Right) / 2;
        const int cy = (r.Top + r.Bottom) / 2 - 1;
        for (int i = 0; i < 4; ++i) {
            const int y = towardsEnd ? cy + i : cy + 3 - i;
            c.MoveTo(cx - 3 + i, y);
            c.LineTo(cx + 4 - i, y);
        }
    } else {
        const int cx = (r.Left + r.Right) / 2 - 1;
        const int cy = (r.Top + r.Bottom) / 2;
        for (int i = 0; i < 4; ++i) {
            const int x = towardsEnd ? cx + i : cx + 3 - i;
            c.MoveTo(x, cy - 3 + i);
            c.LineTo(x, cy + 4 - i);
        }
    }
}

void DrawDownArrow(TCanvas& c, const TRect& r, TColor color) { DrawArrow(c, r, ArrowDirection::Down, color); }

}  // namespace ui
