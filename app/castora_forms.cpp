#include "app/castora_forms.h"

#include "app/form1.h"
#include "app/form11.h"
#include "app/form12.h"
#include "app/form14.h"
#include "app/form15.h"
#include "app/form16.h"
#include "app/form2.h"
#include "app/form3.h"
#include "app/form4.h"
#include "app/form5.h"
#include "app/form6.h"
#include "app/form7.h"
#include "app/form8.h"
#include "app/main_form.h"
#include "platform/core/application.h"
#include "production/form10.h"
#include "production/form17.h"
#include "production/form9.h"
#include "production/frm_main.h"

namespace app {

void CreateCastoraForms()
{
    Form1 = CreateForm<TForm1>();
    Form3 = CreateForm<TForm3>();
    Form4 = CreateForm<TForm4>();
    Form5 = CreateForm<TForm5>();
    Form6 = CreateForm<TForm6>();
    Form2 = CreateForm<TForm2>();
    Form7 = CreateForm<TForm7>();
    Form8 = CreateForm<TForm8>();
    frmMain = CreateForm<TfrmMain>();
    Form9 = CreateForm<TForm9>();
    Form9->ReadTvSystem = [] { return Form1 ? Form1->TvSystem : std::string(); };
    Form9->WriteTvSystem = [](const std::string& system) {
        if (Form1) Form1->TvSystem = system;
    };
    Form10 = CreateForm<TForm10>();
    Form11 = CreateForm<TForm11>();
    Form12 = CreateForm<TForm12>();
    Form14 = CreateForm<TForm14>();
    Form15 = CreateForm<TForm15>();
    Form16 = CreateForm<TForm16>();
    Form17 = CreateForm<TForm17>();
    MainForm = CreateForm<TMainForm>();
}

int RunCastora()
{
    CreateCastoraForms();
    Form1->Show();
    if (Form1->StartupExitCode() == 0) App().Run();
    return Form1->StartupExitCode();
}

}  // namespace app
