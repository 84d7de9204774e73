#pragma once
// The forms of castora whose own content is not built yet: each exists
// from start-up as an empty form with its name and caption, so that the
// program's set of forms and their order stay as they will be.
#include "platform/ui/form.h"

extern TForm* Form5;
extern TForm* Form6;
extern TForm* Form7;
extern TForm* Form11;
extern TForm* Form12;
extern TForm* Form15;
extern TForm* Form16;

namespace app {

// An empty form named `name` (its global's name) with the given caption,
// owned by the application.
TForm* CreatePendingForm(const char* name, const char* caption);

}  // namespace app
