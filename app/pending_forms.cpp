#include "app/pending_forms.h"

TForm* Form3 = nullptr;

namespace app {

TForm* CreatePendingForm(const char* name, const char* caption)
{
    TForm* form = CreateForm<TForm>();
    form->SetName(name);
    form->SetCaption(caption);
    form->SetBorderStyle(bsDialog);
    form->SetPosition(poScreenCenter);
    return form;
}

}  // namespace app
