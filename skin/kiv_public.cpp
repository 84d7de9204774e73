#include "skin/kiv_public.h"

#include <algorithm>
#include <cctype>

#include "platform/gfx/canvas.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "skin/kiv_themes.h"

namespace skin {

void StretchBitmap(const TBitmap& bitmap, TCanvas& canvas, const TRect& r)
{
    if (bitmap.Empty() || r.IsEmpty()) return;
    canvas.DrawBitmap(r, bitmap, bitmap.BoundsRect(), {gfx::StretchFilter::Box, std::nullopt});
}

void ReplaceBitmapColor(TBitmap& bitmap, TColor from, TColor to)
{
    bitmap.SetPixelFormat(pf24bit);
    const TColor key = gfx::ColorRGB(from);
    const std::uint32_t top = bitmap.AlphaBits();
    std::uint32_t* p = bitmap.Pixels();
    const std::size_t n = static_cast<std::size_t>(bitmap.Width()) * std::max(0, bitmap.Height());
    for (std::size_t i = 0; i < n; ++i)
        if (gfx::ColorRGB(p[i]) == key) p[i] = gfx::ColorRGB(to) | top;
}

void DrawParentBackground(TCanvas& canvas, TControl& control)
{
    if (!control.Parent()) return;
    control.DrawParentBackground(canvas);
}

void TilePicture(TCanvas& canvas, const TBitmap& picture, const TRect& r)
{
    if (picture.Empty() || r.IsEmpty()) return;
    const int pw = picture.Width();
    const int ph = picture.Height();
    TCanvasStateSaver saver(canvas);
    canvas.IntersectClipRect(r);
    // The first tile at or left of / above the rect, on the origin's grid.
    auto first = [](int edge, int size) {
        int q = edge / size;
        if (edge < 0 && edge % size != 0) --q;
        return q * size;
    };
    for (int y = first(r.Top, ph); y < r.Bottom; y += ph)
        for (int x = first(r.Left, pw); x < r.Right; x += pw) canvas.Draw(x, y, picture);
}

bool CoordInRect(int x, int y, const TRect& r)
{
    return r.Left <= x && x <= r.Right && r.Top <= y && y <= r.Bottom;
}

bool PointInRect(TPoint p, const TRect& r) { return CoordInRect(p.X, p.Y, r); }

TRect GetWorkAreaRect() { return Screen().WorkAreaRect(); }

void SetControlPos(TControl& control, TPoint p)
{
    control.SetBounds(p.X, p.Y, control.Width(), control.Height());
}

void SetControlBounds(TControl& control, const TRect& r)
{
    control.SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

namespace {

// Copies src's rectangle into dst scaled, leaving out `key` when given.
void DrawPiece(TCanvas& canvas, const TRect& dst, const TBitmap& src, const TRect& srcRect,
               std::optional<TColor> key)
{
    if (dst.IsEmpty() || srcRect.IsEmpty()) return;
    canvas.DrawBitmap(dst, src, srcRect, {gfx::StretchFilter::Nearest, key});
}

// The band of a bitmap side between its two corners: its middle column (odd
// sizes) or the two columns on either side of the middle (even sizes).
std::pair<int, int> MiddleBand(int size)
{
    const int half = size / 2;
    if (size - 2 * half > 0) return {half, size - half};
    return {std::max(0, half - 1), std::min(size, half + 1)};
}

}  // namespace

void DrawNineSliceBitmap(const TBitmap& bitmap, TCanvas& canvas, const TRect& r, bool transparent)
{
    if (bitmap.Empty() || r.IsEmpty()) return;
    const int W = bitmap.Width(), H = bitmap.Height();
    const int W2 = W / 2, H2 = H / 2;
    const int cw = std::min(W2, r.Width() / 2);
    const int ch = std::min(H2, r.Height() / 2);
    const std::optional<TColor> cornerKey = transparent ? std::optional<TColor>(clMagenta) : std::nullopt;
    const std::optional<TColor> key = clMagenta;

    // Corners: the columns and rows nearest the bitmap's outer edges.
    DrawPiece(canvas, {r.Left, r.Top, r.Left + cw, r.Top + ch}, bitmap, {0, 0, cw, ch}, cornerKey);
    DrawPiece(canvas, {r.Right - cw, r.Top, r.Right, r.Top + ch}, bitmap, {W - cw, 0, W, ch}, cornerKey);
    DrawPiece(canvas, {r.Left, r.Bottom - ch, r.Left + cw, r.Bottom}, bitmap, {0, H - ch, cw, H}, cornerKey);
    DrawPiece(canvas, {r.Right - cw, r.Bottom - ch, r.Right, r.Bottom}, bitmap, {W - cw, H - ch, W, H},
              cornerKey);

    const auto [mx0, mx1] = MiddleBand(W);
    const auto [my0, my1] = MiddleBand(H);
    const int il = r.Left + cw, ir = r.Right - cw, it = r.Top + ch, ib = r.Bottom - ch;
    DrawPiece(canvas, {r.Left, it, il, ib}, bitmap, {0, my0, cw, my1}, key);
    DrawPiece(canvas, {ir, it, r.Right, ib}, bitmap, {W - cw, my0, W, my1}, key);
    DrawPiece(canvas, {il, r.Top, ir, it}, bitmap, {mx0, 0, mx1, ch}, key);
    DrawPiece(canvas, {il, ib, ir, r.Bottom}, bitmap, {mx0, H - ch, mx1, H}, key);
    DrawPiece(canvas, {il, it, ir, ib}, bitmap, {mx0, my0, mx1, my1}, key);
}

void DrawControlBorder(TCanvas& canvas, const TControl& control, TColor colour, TColor innerColour,
                       bool drawInner)
{
    TCanvasStateSaver saver(canvas);
    const TRect whole{0, 0, control.Width(), control.Height()};
    canvas.Brush().SetColor(colour);
    canvas.FrameRect(whole);
    if (drawInner) {
        canvas.Brush().SetColor(innerColour);
        canvas.FrameRect(whole.Inflate(-1, -1));
    }
}

namespace {

void DrawThreeSlice(const TBitmap& strip, TCanvas& canvas, const TRect& r, std::optional<TColor> mask,
                    std::optional<TColor> fill, bool fullHeight)
{
    const int cw = strip.Width() / 3;
    const int h = strip.Height();
    if (cw <= 0 || h <= 0 || r.IsEmpty()) return;
    auto drawCell = [&](int index, int x, int width) {
        const TRect src{(index - 1) * cw, 0, (index - 1) * cw + width, h};
        DrawPiece(canvas, {x, r.Top, x + width, r.Top + h}, strip, src, mask);
    };
    if (r.Width() < cw) {
        drawCell(1, r.Left, r.Width());
        return;
    }
    drawCell(1, r.Left, cw);
    drawCell(3, r.Right - cw, cw);
    const TRect middle{r.Left + cw, r.Top, r.Right - cw, fullHeight ? r.Bottom : r.Top + h};
    if (fill) {
        // The middle's see-through pixels take the fill colour.
        TBitmap face(cw, h, *fill);
        face.Canvas().DrawBitmap(face.BoundsRect(), strip, {cw, 0, 2 * cw, h},
                                 {gfx::StretchFilter::Nearest, mask});
        DrawPiece(canvas, middle, face, face.BoundsRect(), std::nullopt);
    } else {
        DrawPiece(canvas, middle, strip, {cw, 0, 2 * cw, h}, mask);
    }
}

}  // namespace

void DrawThreeSliceBitmap(const TBitmap& strip, TCanvas& canvas, const TRect& r, bool cornerFromTop,
                          TColor fillColour, bool useCornerColour)
{
    if (strip.Empty()) return;
    TColor mask = clMagenta;
    if (useCornerColour) mask = gfx::ColorRGB(strip.Pixel(0, cornerFromTop ? 0 : strip.Height() - 1));
    DrawThreeSlice(strip, canvas, r, mask, fillColour, true);
}

void DrawThreeSliceBitmapMasked(const TBitmap& strip, TCanvas& canvas, const TRect& r, TColor maskColour,
                                bool masked)
{
    if (strip.Empty()) return;
    DrawThreeSlice(strip, canvas, r, masked ? std::optional<TColor>(maskColour) : std::nullopt, std::nullopt,
                   false);
}

void RotateBitmapLeft(TBitmap& bitmap)
{
    const int W = bitmap.Width(), H = bitmap.Height();
    TBitmap out = bitmap;
    out.SetSize(H, W);
    for (int y = 0; y < H; ++y) {
        const std::uint32_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < W; ++x) out.ScanLine(W - 1 - x)[y] = row[x];
    }
    bitmap = std::move(out);
}

void RotateBitmap180(TBitmap& bitmap)
{
    std::uint32_t* p = bitmap.Pixels();
    std::reverse(p, p + static_cast<std::size_t>(bitmap.Width()) * std::max(0, bitmap.Height()));
}

void RotateBitmapRight(TBitmap& bitmap)
{
    const int W = bitmap.Width(), H = bitmap.Height();
    TBitmap out = bitmap;
    out.SetSize(H, W);
    for (int y = 0; y < W; ++y) {
        std::uint32_t* row = out.ScanLine(y);
        for (int x = 0; x < H; ++x) row[x] = bitmap.ScanLine(H - 1 - x)[y];
    }
    bitmap = std::move(out);
}

void CutBitmapCell(const TBitmap& strip, TBitmap& destination, int count, int index)
{
    const int w = count > 0 ? strip.Width() / count : 0;
    if (w <= 0 || strip.Height() <= 0 || index < 1 || index > count) {
        destination.SetSize(0, 0);
        return;
    }
    const int left = index == count ? strip.Width() - w : (index - 1) * w;
    destination.SetSize(w, strip.Height());
    destination.SetHasAlpha(strip.HasAlpha());
    for (int y = 0; y < strip.Height(); ++y)
        std::copy_n(strip.ScanLine(y) + left, w, destination.ScanLine(y));
}

bool HasPublishedProperty(const TComponent* component, std::string_view name)
{
    auto same = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x)) ==
                          std::tolower(static_cast<unsigned char>(y));
               });
    };
    if (!dynamic_cast<const IkivStyled*>(component)) return false;
    return same(name, "UIStyle") || same(name, "FileTheme");
}

void ApplyUIStyleToChildren(TControl& control, TkivUIStyle style, TkivFileTheme* theme)
{
    // A child may restyle its own children and so change the list.
    const std::vector<TControl*> children = control.Children();
    for (TControl* child : children) {
        auto* styled = dynamic_cast<IkivStyled*>(child);
        if (!styled) continue;
        styled->SetFileTheme(theme);
        styled->SetUIStyle(style);
    }
}

bool IsFormActive(const TForm* form)
{
    const TForm* main = Screen().MainForm();
    if (!main) return form && form->Active();
    if (!Screen().ActiveForm()) return false;
    if (!form || form == main) return true;
    return form->Active();
}

bool IsWinXPVersion(int major, int minor, bool ntFamily) { return major > 4 && minor != 0 && ntFamily; }

bool IsWinXP()
{
    static const bool flag = IsWinXPVersion(5, 1, true);
    return flag;
}

}  // namespace skin
