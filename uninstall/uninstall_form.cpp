#include "uninstall/uninstall_form.h"

#include <iostream>
#include <optional>

#include "app/work_folder.h"
#include "app/work_folder_lock.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/ui/edit.h"
#include "platform/ui/label.h"
#include "skin/kiv_built_in_file_theme.h"
#include "skin/kiv_button.h"
#include "skin/kiv_form.h"
#include "skin/kiv_group_box.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_progress_bar.h"
#include "uninstall/castorun_skin.h"
#include "uninstall/removal.h"
#include "platform/ui/form_building.h"

TForm1* Form1 = nullptr;

namespace {

using ui::Place;

}  // namespace

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Form1");
    SetCaption("卸载");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(493, 381);

    kivBuiltInFileTheme1 = new TkivBuiltInFileTheme(this);
    kivBuiltInFileTheme1->SetName("kivBuiltInFileTheme1");
    kivBuiltInFileTheme1->SetSkinData(uninstall::CastorunSkinData());
    kivForm1 = Place<TkivForm>(this, this, "kivForm1", 0, 0, 493, 381);
    kivForm1->SetAlign(alClient);
    kivForm1->SetFileTheme(kivBuiltInFileTheme1);
    kivForm1->SetUIStyle(TkivUIStyle::FromThemeFile);
    kivForm1->SetTitleBarButtons({kivControlBox, kivClose});
    kivForm1->SetCaption("卸载");

    kivGroupBox1 = Place<TkivGroupBox>(this, kivForm1, "kivGroupBox1", 16, 44, 461, 250);
    kivGroupBox1->SetCaption("卸载");
    Label1 = Place<TLabel>(this, kivGroupBox1, "Label1", 24, 60, 413, 20);
    Label1->SetCaption("卸载");
    kivProgressBar1 = Place<TkivProgressBar>(this, kivGroupBox1, "kivProgressBar1", 24, 140, 413, 22);

    kivButton1 = Place<TkivButton>(this, kivForm1, "kivButton1", 284, 330, 90, 25);
    kivButton1->SetCaption("卸载");
    kivButton2 = Place<TkivButton>(this, kivForm1, "kivButton2", 387, 330, 90, 25);
    kivButton2->SetCaption("取消");

    Edit1 = Place<TEdit>(this, kivForm1, "Edit1", 16, 330, 121, 21);
    Edit1->SetText(std::string(uninstall::kProductTitle));
    Edit1->SetVisible(false);

    kivMessageDialog1 = new TkivMessageDialog(this);
    kivMessageDialog1->SetName("kivMessageDialog1");

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
    OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
    kivButton1->OnClick = [this](TObject* Sender) { kivButton1Click(Sender); };
    kivButton2->OnClick = [this](TObject* Sender) { kivButton2Click(Sender); };
}

TForm1::~TForm1()
{
    if (Form1 == this) Form1 = nullptr;
}

const std::string& TForm1::Title() const { return Edit1->Text(); }

void TForm1::FormShow(TObject*)
{
    SetBounds(Left(), Top(), 500, 385);
    kivProgressBar1->SetMax(uninstall::kRemovalSteps);
    kivProgressBar1->SetMin(0);
    kivProgressBar1->SetPosition(0);
    SystemDir = core::SystemDir().string();
}

bool TForm1::MainProgramRunning() const
{
    const app::WorkFolderSearch search = app::FindWorkFolder(SystemDir);
    return search.present && app::WorkFolderInUse(search.work_dir);
}

void TForm1::ShowMessage(const std::string& text)
{
    skin::Tell(*kivMessageDialog1, "卸载  " + Title(), text);
}

void TForm1::RefuseWhileRunning()
{
    // Set first: closing the box activates this form again.
    refused_ = true;
    kivButton1->SetEnabled(false);
    std::cerr << "castorun: " << Title() << " is running; nothing was removed" << std::endl;
    ShowMessage("<" + Title() + ">正在使用,无法卸载!");
    Close();
}

void TForm1::FormActivate(TObject*)
{
    Label1->SetCaption("卸载 [" + Title() + "]");
    // Once refused the program is ending; while it removes, it holds the
    // work folder itself.
    if (refused_ || removing_ || removed_) return;
    if (MainProgramRunning()) RefuseWhileRunning();
}

void TForm1::FormCloseQuery(TObject*, bool& CanClose)
{
    // A removal half done is finished first.
    CanClose = !removing_;
}

void TForm1::kivButton1Click(TObject*)
{
    if (refused_ || removing_ || removed_) return;
    removing_ = true;
    kivButton1->SetEnabled(false);
    kivButton2->SetEnabled(false);
    const auto pump = [] { App().ProcessMessages(); };

    // The work folder is found and held for the whole removal: a castora
    // started since the activation is caught here, and none can start
    // while its folders go.
    const app::WorkFolderSearch work = app::FindWorkFolder(SystemDir, pump);
    std::optional<app::WorkFolderLock> hold;
    if (work.present) {
        hold.emplace(work.work_dir);
        if (hold->State() == app::WorkFolderLock::Status::InUse) {
            removing_ = false;
            RefuseWhileRunning();
            return;
        }
    }
    const uninstall::RemovalPlan plan = uninstall::PlanRemoval(work, SystemDir, Title());
    if (const std::string refusal = uninstall::RefusalText(plan.installation, Title()); !refusal.empty()) {
        std::cerr << "castorun: " << refusal << std::endl;
        ShowMessage(refusal);
    }

    // The installed files, the work folder and the shortcuts, one step of
    // the progress bar each. A refused installation folder stays, but the
    // rest still goes: it is ours whatever the record says.
    for (int step = 1; step <= uninstall::kRemovalSteps; ++step) {
        uninstall::RunRemovalStep(plan, step);
        kivProgressBar1->SetPosition(kivProgressBar1->Position() + 1);
        pump();
    }
    hold.reset();

    // What the installer did not put into the installation folder stays
    // there; the user is told where.
    if (const std::string kept = uninstall::KeptFilesText(
            plan.installation.folder, uninstall::KeptEntries(plan, uninstall::kKeptNamed + 1));
        !kept.empty()) {
        std::cerr << "castorun: " << kept << std::endl;
        ShowMessage(kept);
    }

    // The uninstaller's own file cannot go while it runs: a script started
    // now removes it once the program has ended.
    if (uninstall::ShouldRemoveItself(ProgramFile)) {
        const std::filesystem::path script = uninstall::WriteSelfRemovalScript(ProgramFile);
        if (script.empty() || !StartScript || !StartScript(script))
            std::cerr << "castorun: cannot remove " << ProgramFile << std::endl;
    }
    pump();
    removing_ = false;
    removed_ = true;
    Close();
}

void TForm1::kivButton2Click(TObject*) { Close(); }

namespace uninstall {

int RunCastorun()
{
    Form1 = CreateForm<TForm1>();
    Form1->Show();
    App().Run();
    return Form1 && Form1->Refused() ? 1 : 0;
}

}  // namespace uninstall
