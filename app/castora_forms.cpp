#include "app/castora_forms.h"

#include "app/form1.h"
#include "app/form14.h"
#include "app/form2.h"
#include "app/form3.h"
#include "app/form4.h"
#include "app/form8.h"
#include "app/main_form.h"
#include "app/pending_forms.h"
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
    Form5 = CreatePendingForm("Form5", "正在删除照片,请稍后...");
    Form6 = CreatePendingForm("Form6", "正在删除,请稍后...");
    Form2 = CreateForm<TForm2>();
    Form7 = CreatePendingForm("Form7", "正在删除,请稍后...");
    Form8 = CreateForm<TForm8>();
    frmMain = CreateForm<TfrmMain>();
    Form9 = CreateForm<TForm9>();
    Form9->ReadTvSystem = [] { return Form1 ? Form1->TvSystem : std::string(); };
    Form9->WriteTvSystem = [](const std::string& system) {
        if (Form1) Form1->TvSystem = system;
    };
    Form10 = CreateForm<TForm10>();
    Form11 = CreatePendingForm("Form11", "片头片尾");
    Form12 = CreatePendingForm("Form12", "修改内容");
    Form14 = CreateForm<TForm14>();
    Form15 = CreatePendingForm("Form15", "导入歌词");
    Form16 = CreatePendingForm("Form16", "调整歌词");
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
