// The skinned panel "kivForm1" that fills a form of castora or castorun and
// draws its frame and title.
#pragma once

#include <string>

#include "platform/ui/form.h"
#include "skin/kiv_form.h"

namespace skin {

inline TkivForm* AddFormPanel(TForm& form, const std::string& caption)
{
    auto* panel = new TkivForm(&form);
    panel->SetName("kivForm1");
    panel->SetParent(&form);
    panel->SetAlign(alClient);
    panel->SetCaption(caption);
    return panel;
}

}  // namespace skin
