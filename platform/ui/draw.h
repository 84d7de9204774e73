#pragma once
// The classic look shared by the plain controls: 3-D edges and faces.
#include "platform/gfx/types.h"

class TCanvas;

namespace ui {
// A raised (or, pressed, sunken) button face filling r.
void DrawButtonFace(TCanvas& canvas, const TRect& r, bool pressed, bool isDefault);
// Two-pixel sunken edge around r (edits, lists).
void DrawSunkenEdge(TCanvas& canvas, const TRect& r);
// One-pixel edge: raised (highlight top-left) or lowered.
void DrawEdge1(TCanvas& canvas, const TRect& r, bool raised);
enum class ArrowDirection { Up, Down, Left, Right };
// A small filled triangle pointing `direction`, centred in r.
void DrawArrow(TCanvas& canvas, const TRect& r, ArrowDirection direction, TColor color);
// A drop-down arrow (triangle pointing down) centred in r.
void DrawDownArrow(TCanvas& canvas, const TRect& r, TColor color);
}  // namespace ui
