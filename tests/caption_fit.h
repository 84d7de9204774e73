// Finds the captions that do not show whole: the rectangle a control draws
// its caption in, at the fonts installed for the program, must lie inside
// what shows of the control (its bounds cut by every parent's client area).
#pragma once

#include <algorithm>
#include <string>
#include <typeinfo>
#include <vector>

#include "platform/core/application.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "skin/kiv_button.h"
#include "skin/kiv_check_box.h"
#include "skin/kiv_group_box.h"

namespace caption_fit {

inline TRect ScreenRect(const TControl& control)
{
    const TControl* parent = control.Parent();
    const TPoint at = parent ? parent->ClientOrigin() : control.ClientOrigin();
    return Bounds(at.X + (parent ? control.Left() : 0), at.Y + (parent ? control.Top() : 0), control.Width(),
                  control.Height());
}

// What shows of `control`, on the screen.
inline TRect ShownRect(const TControl& control)
{
    TRect shown = ScreenRect(control);
    for (const TControl* p = control.Parent(); p; p = p->Parent()) {
        const TPoint origin = p->ClientOrigin();
        shown = shown.Intersect(Bounds(origin.X, origin.Y, p->ClientWidth(), p->ClientHeight()));
    }
    return shown;
}

// Where `control` draws its caption, in its own coordinates; empty when it
// draws none this check knows of.
inline TRect CaptionRect(TControl& control)
{
    const std::string& caption = control.Caption();
    if (caption.empty()) return {};
    TBitmap scratch(1, 1);
    TCanvas& canvas = scratch.Canvas();
    canvas.Font().Assign(control.Font());
    const int width = canvas.TextWidth(caption), height = canvas.TextHeight("W");
    const int w = control.Width(), h = control.Height();
    if (auto* box = dynamic_cast<TkivCheckBox*>(&control)) {
        // Sized to its caption, the box tells how wide its glyph is.
        const TRect bounds = box->BoundsRect();
        const bool auto_size = box->AutoSize();
        box->SetAutoSize(true);
        const int glyph = box->Width() - width - 8;
        box->SetAutoSize(auto_size);
        box->SetBoundsRect(bounds);
        return Bounds(glyph + 4, (h - height) / 2, width, height);
    }
    if (dynamic_cast<TkivCustomButton*>(&control))
        return Bounds((w - width) / 2, (h - height) / 2, width, height);
    if (dynamic_cast<TkivCustomGroupBox*>(&control)) return Bounds(5, 0, width, height);
    if (auto* label = dynamic_cast<TLabel*>(&control)) {
        TRect r{0, 0, label->WordWrap() ? w : 0, 0};
        canvas.DrawText(caption, r, DT_CALCRECT | (label->WordWrap() ? DT_WORDBREAK : 0u));
        int left = 0;
        if (label->Alignment() == taCenter) left = (w - r.Width()) / 2;
        if (label->Alignment() == taRightJustify) left = w - r.Width();
        int top = 0;
        if (label->Layout() == tlCenter) top = (h - r.Height()) / 2;
        if (label->Layout() == tlBottom) top = h - r.Height();
        return Bounds(left, top, r.Width(), r.Height());
    }
    return {};
}

// Hidden controls (working fields, panes of another mode) are left out.
inline void Walk(TControl& control, const std::string& form, std::vector<std::string>& cut)
{
    if (!control.Visible() && !dynamic_cast<TForm*>(&control)) return;
    const TRect caption = CaptionRect(control);
    const TRect shown = ShownRect(control);
    // A control wholly outside its parent belongs to another size of its form.
    if (!caption.IsEmpty() && !shown.IsEmpty()) {
        const TRect at = ScreenRect(control);
        const TRect drawn = caption.Offset(at.Left, at.Top);
        if (!(drawn.Intersect(shown) == drawn))
            cut.push_back(form + "." + control.Name() + " \"" + control.Caption() + "\": needs " +
                          std::to_string(drawn.Width()) + " x " + std::to_string(drawn.Height()) +
                          ", shows " + std::to_string(std::max(0, shown.Width())) + " x " +
                          std::to_string(std::max(0, shown.Height())));
    }
    for (int i = 0; i < control.ControlCount(); ++i) Walk(*control.Controls(i), form, cut);
}

// Every caption of `form` that does not show whole.
inline std::vector<std::string> CutCaptions(TForm& form)
{
    std::vector<std::string> cut;
    Walk(form, form.Name(), cut);
    return cut;
}

// The same for every form of the program.
inline std::vector<std::string> CutCaptions()
{
    std::vector<std::string> cut;
    for (int i = 0; i < App().ComponentCount(); ++i)
        if (auto* form = dynamic_cast<TForm*>(App().Components(i))) Walk(*form, form->Name(), cut);
    return cut;
}

}  // namespace caption_fit
