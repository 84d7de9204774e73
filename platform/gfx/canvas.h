#pragma once
// TCanvas: drawing on a TBitmap with a pen, a brush and a font, an origin
// and a stack of clip rectangles. Coordinates given to the drawing calls are
// logical: logical (0, 0) is the device pixel Origin(). Rectangles exclude
// their right and bottom edges; lines leave out their end point.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/core/component.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/font.h"
#include "platform/gfx/types.h"

namespace gfx {
class Region;
}

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// pmCopy draws the pen colour; pmXor xors it into the pixels; pmNot inverts them.
enum TPenMode { pmCopy, pmNot, pmXor };
// bsSolid fills with the colour (or with the pattern Bitmap when one is set);
// bsClear fills nothing and makes text backgrounds transparent.
enum TBrushStyle { bsSolid, bsClear };

class TPen : public TObject {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor c)
    {
        color_ = c;
        Changed();
    }
    int Width() const { return width_; }
    void SetWidth(int w)
    {
        width_ = w < 1 ? 1 : w;
        Changed();
    }
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle s)
    {
        style_ = s;
        Changed();
    }
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode m)
    {
        mode_ = m;
        Changed();
    }
    void Assign(const TPen& o)
    {
        color_ = o.color_;
        width_ = o.width_;
        style_ = o.style_;
        mode_ = o.mode_;
        Changed();
    }
    TNotifyEvent OnChange;

private:
    void Changed()
    {
        if (OnChange) OnChange(this);
    }
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
};

class TBrush : public TObject {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor c)
    {
        color_ = c;
        style_ = bsSolid;
        Changed();
    }
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle s)
    {
        style_ = s;
        Changed();
    }
    // A pattern: fills tile it from the canvas origin. Not owned; the
    // caller keeps it alive while it is set. nullptr for a plain colour.
    const TBitmap* Bitmap() const { return bitmap_; }
    void SetBitmap(const TBitmap* b)
    {
        bitmap_ = b;
        Changed();
    }
    void Assign(const TBrush& o)
    {
        color_ = o.color_;
        style_ = o.style_;
        bitmap_ = o.bitmap_;
        Changed();
    }
    TNotifyEvent OnChange;

private:
    void Changed()
    {
        if (OnChange) OnChange(this);
    }
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    const TBitmap* bitmap_ = nullptr;
};

// DrawText flags, with the platform's values.
constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_BOTTOM = 0x8;
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_EXPANDTABS = 0x40;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;
constexpr unsigned DT_HIDEPREFIX = 0x100000;

namespace gfx {
enum class StretchFilter {
    Nearest,  // pixel replication
    Box,      // area average (what the platform calls halftone)
    Bilinear,
};

struct DrawOptions {
    StretchFilter filter = StretchFilter::Nearest;
    // Source pixels of this colour are left out. With a smoothing filter the
    // holes stay exactly where nearest sampling puts them, and the key colour
    // never bleeds into the kept pixels.
    std::optional<TColor> key;
};
}  // namespace gfx

class TCanvas : public TObject {
public:
    explicit TCanvas(TBitmap& target);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TBitmap& Target() { return *target_; }
    const TBitmap& Target() const { return *target_; }

    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    TFont& Font() { return font_; }
    const TPen& Pen() const { return pen_; }
    const TBrush& Brush() const { return brush_; }
    const TFont& Font() const { return font_; }

    // --- origin and clipping -------------------------------------------
    // The device pixel where logical (0, 0) lies.
    TPoint Origin() const { return origin_; }
    void SetOrigin(TPoint origin) { origin_ = origin; }
    void MoveOrigin(int dx, int dy) { origin_ = origin_ + TPoint{dx, dy}; }
    // The visible part, in logical coordinates.
    TRect ClipRect() const;
    // Narrows the clip to the given logical rectangle.
    void IntersectClipRect(const TRect& r);
    // Saves origin, clip and pen position; RestoreState brings back the last
    // saved one. Unbalanced restores are ignored.
    void SaveState();
    void RestoreState();

    // --- pixels and shapes ---------------------------------------------
    TColor Pixel(int x, int y) const;  // clNone outside the clip
    void SetPixel(int x, int y, TColor c);
    TPoint PenPos() const { return pen_pos_; }
    void SetPenPos(TPoint p) { pen_pos_ = p; }

    // Brush fill of the rectangle (right and bottom exclusive).
    void FillRect(const TRect& r);
    // One-pixel frame in the brush colour.
    void FrameRect(const TRect& r);
    // Pen outline, brush interior.
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void MoveTo(int x, int y) { pen_pos_ = {x, y}; }
    // From the pen position to (x, y), leaving out (x, y).
    void LineTo(int x, int y);
    void Polyline(std::span<const TPoint> points);
    // Brush interior (even-odd), then the closed pen outline.
    void Polygon(std::span<const TPoint> points);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    // The counter-clockwise arc of the ellipse in (x1, y1, x2, y2) from the
    // ray towards (x3, y3) to the ray towards (x4, y4).
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    // A rectangle with elliptic corners of w x h, pen outline, brush inside.
    void RoundRect(int x1, int y1, int x2, int y2, int w, int h);
    void RoundRect(const TRect& r, int w, int h) { RoundRect(r.Left, r.Top, r.Right, r.Bottom, w, h); }
    // The dotted focus frame: every other pixel inverted. Drawing it twice
    // restores the pixels.
    void DrawFocusRect(const TRect& r);
    void FillRegion(const gfx::Region& region);  // with the brush

    // --- bitmaps ---------------------------------------------------------
    // Unscaled; honours the bitmap's Transparent/TransparentColor.
    void Draw(int x, int y, const TBitmap& bitmap);
    // Unscaled, leaving out the key colour.
    void Draw(int x, int y, const TBitmap& bitmap, TColor key);
    // Scaled into r with StretchMode(); honours Transparent/TransparentColor.
    void StretchDraw(const TRect& r, const TBitmap& bitmap);
    void StretchDraw(const TRect& r, const TBitmap& bitmap, gfx::StretchFilter filter);
    gfx::StretchFilter StretchMode() const { return stretch_mode_; }
    void SetStretchMode(gfx::StretchFilter f) { stretch_mode_ = f; }
    // Copies srcRect of source (its device pixels) into dest, scaling when
    // the sizes differ (with StretchMode()).
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& srcRect);
    void CopyRect(const TRect& dest, const TBitmap& source, const TRect& srcRect);
    // The general form: srcRect of source into dest.
    void DrawBitmap(const TRect& dest, const TBitmap& source, const TRect& srcRect,
                    const gfx::DrawOptions& options = {});
    // Tiles the bitmap over r, tiles aligned to the logical origin.
    void TileDraw(const TRect& r, const TBitmap& tile);

    // --- text ------------------------------------------------------------
    // Text is UTF-8. Unless the brush style is bsClear the text cell is
    // first filled with the brush colour.
    void TextOut(int x, int y, const std::string& text);
    // TextOut clipped to r.
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;
    TSize TextExtent(const std::string& text) const;
    // Lays the text out in r by the DT_ flags and draws it (or with
    // DT_CALCRECT only measures: r's Right/Bottom are set to the text's
    // extent). Returns the height of the text.
    int DrawText(const std::string& text, TRect& r, unsigned flags);

private:
    struct State {
        TPoint origin;
        std::optional<TRect> clip;  // device coordinates; none = whole bitmap
        TPoint pen_pos;
    };
    TRect DeviceClip() const;
    friend class CanvasAccess;

    TBitmap* target_;
    TPen pen_;
    TBrush brush_;
    TFont font_;
    TPoint origin_{};
    std::optional<TRect> clip_;
    TPoint pen_pos_{};
    gfx::StretchFilter stretch_mode_ = gfx::StretchFilter::Nearest;
    std::vector<State> saved_;
};

// Saves the canvas state for a scope.
class TCanvasStateSaver {
public:
    explicit TCanvasStateSaver(TCanvas& c) : c_(c) { c_.SaveState(); }
    ~TCanvasStateSaver() { c_.RestoreState(); }
    TCanvasStateSaver(const TCanvasStateSaver&) = delete;
    TCanvasStateSaver& operator=(const TCanvasStateSaver&) = delete;

private:
    TCanvas& c_;
};

namespace gfx {
// Image-list drawing: the bitmap without its mask-colour pixels.
void DrawMasked(TCanvas& canvas, int x, int y, const TBitmap& bitmap, TColor maskColor = clMagenta);
// The disabled look: the shape of the non-mask pixels, embossed, highlight
// colour one pixel down-right, shadow colour on top. Dark pixels make the shape.
void DrawGreyed(TCanvas& canvas, int x, int y, const TBitmap& bitmap, TColor maskColor = clMagenta,
                TColor highlight = clBtnHighlight, TColor shadow = clBtnShadow);
// Text measurement without a canvas.
TSize TextExtent(const TFont& font, const std::string& text);
}  // namespace gfx
