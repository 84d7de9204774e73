// Building blocks of the production forms.
#pragma once

#include "platform/core/timer.h"
#include "platform/ui/control.h"

namespace production {

// A control of `owner` named `name`, on `parent`, at the given bounds.
template <class T>
T* Place(TComponent* owner, TControl* parent, const char* name, int left, int top, int width, int height)
{
    T* control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

inline TTimer* MakeTimer(TComponent* owner, const char* name, int interval)
{
    auto* timer = new TTimer(owner);
    timer->SetName(name);
    timer->SetEnabled(false);
    timer->SetInterval(interval);
    return timer;
}

}  // namespace production
