#include "app/pending_forms.h"

TForm* Form5 = nullptr;
TForm* Form6 = nullptr;
TForm* Form7 = nullptr;
TForm* Form11 = nullptr;
TForm* Form12 = nullptr;
TForm* Form15 = nullptr;
TForm* Form16 = nullptr;

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
