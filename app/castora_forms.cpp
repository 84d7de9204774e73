#include "app/castora_forms.h"

#include "app/main_window.h"
#include "app/titles_form.h"
#include "app/ending_text_form.h"
#include "app/template_import_form.h"
#include "app/lyrics_form.h"
#include "app/lyric_style_form.h"
#include "app/crop_render_form.h"
#include "app/crop_editor_form.h"
#include "app/music_measure_form.h"
#include "app/photo_delete_form.h"
#include "app/delete_all_photos_form.h"
#include "app/strip_delete_form.h"
#include "app/sync_mode_form.h"
#include "app/photo_import_form.h"
#include "platform/core/application.h"
#include "production/completion_form.h"
#include "production/quality_form.h"
#include "production/tv_system_form.h"
#include "production/production_form.h"

namespace app {

TForm1& CreateCastoraForms()
{
    TForm1& main = CreateMainWindow();
    Form3 = CreateForm<TForm3>();
    Form4 = CreateForm<TForm4>();
    Form5 = CreateForm<TForm5>();
    Form6 = CreateForm<TForm6>();
    Form2 = CreateForm<TForm2>();
    Form7 = CreateForm<TForm7>();
    Form8 = CreateForm<TForm8>();
    frmMain = CreateForm<TfrmMain>();
    Form9 = CreateForm<TForm9>();
    Form10 = CreateForm<TForm10>();
    Form11 = CreateForm<TForm11>();
    Form12 = CreateForm<TForm12>();
    Form14 = CreateForm<TForm14>();
    Form15 = CreateForm<TForm15>();
    Form16 = CreateForm<TForm16>();
    Form17 = CreateForm<TForm17>();
    MainForm = CreateForm<TMainForm>();
    main.ConnectDialogs();
    return main;
}

int RunCastora()
{
    TForm1& main = CreateCastoraForms();
    main.Show();
    if (main.StartupExitCode() == 0) App().Run();
    return main.StartupExitCode();
}

}  // namespace app
