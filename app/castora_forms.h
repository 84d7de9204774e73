#pragma once
// castora's program entry: every form is created once, in this order, and
// lives until the program ends.
class TForm1;

namespace app {

// Creates the forms: the main window (first: it owns the skin the others
// refer to), Form3, Form4, Form5, Form6, Form2, Form7, Form8, frmMain,
// Form9, Form10, Form11, Form12, Form14, Form15, Form16, Form17, MainForm;
// then the main window hands each dialog its view of the album. Returns
// the main window.
TForm1& CreateCastoraForms();

// Creates the forms, shows the main window and runs the message loop.
// Returns the program's exit code: 0, or non-zero when the start-up was
// refused (no work folder, or the work folder is in use).
int RunCastora();

}  // namespace app
