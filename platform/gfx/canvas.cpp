#include "platform/gfx/canvas.h"

#include "platform/gfx/region.h"

TCanvas::TCanvas(TBitmap& target) : target_(&target) {}

TRect TCanvas::DeviceClip() const {
    TRect all = target_->BoundsRect();
    return clip_ ? clip_->Intersect(all) : all;
}

TRect TCanvas::ClipRect() const { return DeviceClip().Offset(-origin_.X, -origin_.Y); }

void TCanvas::IntersectClipRect(const TRect& r) { clip_ = DeviceClip().Intersect(r.Offset(origin_.X, origin_.Y)); }

void TCanvas::SaveState() { saved_.push_back({origin_, clip_, pen_pos_}); }

void TCanvas::RestoreState() {
    if (saved_.empty()) return;
    origin_ = saved_.back().origin;
    clip_ = saved_.back().clip;
    pen_pos_ = saved_.back().pen_pos;
    saved_.pop_back();
}

TColor TCanvas::Pixel(int x, int y) const {
    const int dx = x + origin_.X, dy = y + origin_.Y;
    return DeviceClip().Contains(dx, dy) ? target_->Pixel(dx, dy) : clNone;
}

void TCanvas::SetPixel(int x, int y, TColor c) {
    const int dx = x + origin_.X, dy = y + origin_.Y;
    if (DeviceClip().Contains(dx, dy)) target_->SetPixel(dx, dy, gfx::ColorRGB(c) | target_->AlphaBits());
}

void TCanvas::FillRect(const TRect& r) {
    const TRect d = r.Offset(origin_.X, origin_.Y).Intersect(DeviceClip());
    const std::uint32_t c = gfx::ColorRGB(brush_.Color()) | target_->AlphaBits();
    for (int y = d.Top; y < d.Bottom; ++y)
        for (int x = d.Left; x < d.Right; ++x) target_->ScanLine(y)[x] = c;
}

void TCanvas::FrameRect(const TRect&) {}
void TCanvas::Rectangle(int, int, int, int) {}
void TCanvas::LineTo(int x, int y) { pen_pos_ = {x, y}; }
void TCanvas::Polyline(std::span<const TPoint>) {}
void TCanvas::Polygon(std::span<const TPoint>) {}
void TCanvas::Ellipse(int, int, int, int) {}
void TCanvas::Arc(int, int, int, int, int, int, int, int) {}
void TCanvas::RoundRect(int, int, int, int, int, int) {}
void TCanvas::DrawFocusRect(const TRect&) {}
void TCanvas::FillRegion(const gfx::Region&) {}
void TCanvas::Draw(int x, int y, const TBitmap& b) { DrawBitmap(Bounds(x, y, b.Width(), b.Height()), b, b.BoundsRect()); }
void TCanvas::Draw(int x, int y, const TBitmap& b, TColor key) {
    DrawBitmap(Bounds(x, y, b.Width(), b.Height()), b, b.BoundsRect(), {gfx::StretchFilter::Nearest, key});
}
void TCanvas::StretchDraw(const TRect& r, const TBitmap& b) { StretchDraw(r, b, stretch_mode_); }
void TCanvas::StretchDraw(const TRect& r, const TBitmap& b, gfx::StretchFilter f) { DrawBitmap(r, b, b.BoundsRect(), {f, {}}); }
void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& srcRect) { CopyRect(dest, *source.target_, srcRect); }
void TCanvas::CopyRect(const TRect& dest, const TBitmap& source, const TRect& srcRect) { DrawBitmap(dest, source, srcRect, {stretch_mode_, {}}); }
void TCanvas::DrawBitmap(const TRect&, const TBitmap&, const TRect&, const gfx::DrawOptions&) {}
void TCanvas::TileDraw(const TRect&, const TBitmap&) {}
void TCanvas::TextOut(int, int, const std::string&) {}
void TCanvas::TextRect(const TRect&, int, int, const std::string&) {}
int TCanvas::TextWidth(const std::string& text) const { return TextExtent(text).cx; }
int TCanvas::TextHeight(const std::string& text) const { return TextExtent(text).cy; }
TSize TCanvas::TextExtent(const std::string& text) const { return gfx::TextExtent(font_, text); }
int TCanvas::DrawText(const std::string&, TRect&, unsigned) { return 0; }

namespace gfx {
void DrawMasked(TCanvas& canvas, int x, int y, const TBitmap& bitmap, TColor maskColor) { canvas.Draw(x, y, bitmap, maskColor); }
void DrawGreyed(TCanvas&, int, int, const TBitmap&, TColor, TColor, TColor) {}
TSize TextExtent(const TFont&, const std::string&) { return {}; }
TFont SystemMenuFont() { TFont f; f.SetName("Tahoma"); f.SetHeight(-11); return f; }
std::string ResolveFontFile(const std::string&, bool, bool) { return {}; }
}  // namespace gfx
