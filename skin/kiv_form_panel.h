// The skinned panel "kivForm1" that fills a dialog form of castora and
// draws its frame and title: it wears the skin stored in the main window,
// and its title bar has the close button only.
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
    panel->UseProgramSkin();
    panel->SetTitleBarButtons({kivClose});
    return panel;
}

}  // namespace skin
