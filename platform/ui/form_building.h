// Building a form's controls in code, as a stored form layout would when
// the form is loaded: each control named, owned, parented and placed.
#pragma once

#include <string>

#include "platform/core/timer.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"

namespace ui {

// A new control of `owner` named `name`, on `parent`, at the given bounds.
template <class T>
T* Place(TComponent* owner, TControl* parent, const char* name, int left, int top, int width, int height)
{
    T* control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

// A new timer of `owner` named `name`; it starts only when `enabled`.
inline TTimer* MakeTimer(TComponent* owner, const char* name, int interval, bool enabled = false)
{
    auto* timer = new TTimer(owner);
    timer->SetName(name);
    timer->SetEnabled(false);
    timer->SetInterval(interval);
    timer->SetEnabled(enabled);
    return timer;
}

// A dialog-bordered, screen-centred form named `name` with its caption.
inline void SetUpDialogForm(TForm& form, const char* name, const std::string& caption)
{
    form.SetName(name);
    form.SetCaption(caption);
    form.SetBorderStyle(bsDialog);
    form.SetPosition(poScreenCenter);
}

}  // namespace ui
