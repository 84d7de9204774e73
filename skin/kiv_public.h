#pragma once
// The library's shared drawing routines: skin strips cut into cells, drawn
// in three or nine slices, tiled, rotated and recoloured; a control's parent
// background and its one-pixel frame; a few geometry helpers. Stateless.
//
// A strip is one bitmap holding `count` cells of equal width side by side,
// counted from 1. Magenta (clMagenta) is the transparency key.
#include <string_view>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/types.h"

class TCanvas;
class TComponent;
class TControl;
class TForm;
class TkivFileTheme;
enum class TkivUIStyle : unsigned char;

namespace skin {

// The whole bitmap scaled into r with the smoothing (area average) filter.
void StretchBitmap(const TBitmap& bitmap, TCanvas& canvas, const TRect& r);
// Every pixel of `from` becomes `to`; the bitmap is marked 24 bits.
void ReplaceBitmapColor(TBitmap& bitmap, TColor from, TColor to);
// What the control's parent paints behind the control, into the control's
// own canvas (its top-left at canvas (0, 0)). Nothing without a parent.
void DrawParentBackground(TCanvas& canvas, TControl& control);
// The picture repeated over r, the tiles aligned to the canvas origin (so
// neighbouring areas tiled one by one join up). Only r is painted.
void TilePicture(TCanvas& canvas, const TBitmap& picture, const TRect& r);

// All four edges count as inside.
bool CoordInRect(int x, int y, const TRect& r);
bool PointInRect(TPoint p, const TRect& r);
// The work area of the screen (the main form's monitor when there is one).
TRect GetWorkAreaRect();
void SetControlPos(TControl& control, TPoint p);
void SetControlBounds(TControl& control, const TRect& r);

// A skin picture in nine pieces over r: the corners unscaled (masked by
// magenta when `transparent`), the edges and the middle stretched from the
// bitmap's middle row and column, always leaving out magenta. A rect too
// small for the corners shows the outer parts of each corner.
void DrawNineSliceBitmap(const TBitmap& bitmap, TCanvas& canvas, const TRect& r, bool transparent);
// A one-pixel frame round the whole control (origin at its top-left, as in
// PaintNonClient), and a second one inside it when drawInner.
void DrawControlBorder(TCanvas& canvas, const TControl& control, TColor colour, TColor innerColour,
                       bool drawInner);
// A 3-cell strip (left end, middle, right end) over r: the ends masked, the
// middle laid on fillColour and stretched between them. The mask is the
// strip's corner pixel (top-left when cornerFromTop, else bottom-left) when
// useCornerColour, else magenta. Narrower than one cell: the left end only,
// cut to r's width.
void DrawThreeSliceBitmap(const TBitmap& strip, TCanvas& canvas, const TRect& r, bool cornerFromTop,
                          TColor fillColour, bool useCornerColour);
// The same with a given mask (none unless `masked`), no fill, the middle
// stretched to the strip's own height.
void DrawThreeSliceBitmapMasked(const TBitmap& strip, TCanvas& canvas, const TRect& r, TColor maskColour,
                                bool masked);

// In place. Left: 90 degrees counter-clockwise; Right: clockwise.
void RotateBitmapLeft(TBitmap& bitmap);
void RotateBitmap180(TBitmap& bitmap);
void RotateBitmapRight(TBitmap& bitmap);

// Cell `index` (1-based) of `count` equal cells of the strip into
// destination; the last cell is the rightmost columns, so a remainder of
// the width is dropped left of it. A count or index out of range, or an
// empty strip, leaves the destination empty.
void CutBitmapCell(const TBitmap& strip, TBitmap& destination, int count, int index);

// Whether the component publishes the property ("UIStyle", "FileTheme";
// letter case ignored).
bool HasPublishedProperty(const TComponent* component, std::string_view name);
// Every direct child control that publishes both properties gets the theme,
// then the style.
void ApplyUIStyleToChildren(TControl& control, TkivUIStyle style, TkivFileTheme* theme);

// Whether the form counts as active for painting its frame: with no main
// form its own flag; the main form while the application is active; any
// other form by its own flag (and never while the application is inactive).
bool IsFormActive(const TForm* form);

// The version rule for the system's look: above 4, minor not 0, NT family.
bool IsWinXPVersion(int major, int minor, bool ntFamily);
// The flag for the running system, fixed at start-up. This platform draws
// its own controls throughout, which matches the 5.1 look.
bool IsWinXP();

}  // namespace skin
