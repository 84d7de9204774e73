// castorun's form on the headless back end: the running check, the removal
// with its progress, and the end of the program.
#include "uninstall/uninstall_form.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/work_folder_lock.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/ui/edit.h"
#include "platform/ui/label.h"
#include "skin/kiv_button.h"
#include "skin/kiv_built_in_file_theme.h"
#include "skin/kiv_form.h"
#include "skin/kiv_group_box.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_progress_bar.h"
#include "tests/caption_fit.h"
#include "tests/uninstall/installation.h"
#include "uninstall/self_removal.h"

namespace uninstall_test {
namespace {

struct Shown {
    std::string caption, text, button;
};

class UninstallForm : public Installation {
protected:
    void SetUp() override
    {
        Installation::SetUp();
        skin::SetMessageDialogHook([this](const TkivMessageDialog& dialog) {
            shown_.push_back({dialog.Caption(), dialog.Text(), dialog.Button1Caption()});
            if (on_message_) on_message_();
            return mrOk;
        });
    }
    void TearDown() override { skin::SetMessageDialogHook({}); }

    // Creates and shows the form as the program entry does.
    void Start()
    {
        Form1 = CreateForm<TForm1>();
        Form1->ProgramFile = install_ / "castorun";
        Form1->StartScript = [this](const fs::path& script) {
            scripts_.push_back(script);
            return true;
        };
        Form1->Show();
        App().ProcessMessages();
    }
    // Everything that an installation lays out.
    std::vector<fs::path> Installed(const fs::path& work) const
    {
        return {
            install_ / "castora",          install_ / "Photo",   work / "zpyjj", desktop_ / "Velmora.desktop",
            menu_ / "Velmora2007.desktop", menu_ / "Velmora2007"};
    }

    core::TestApplication app_;
    std::vector<Shown> shown_;
    std::function<void()> on_message_;
    std::vector<fs::path> scripts_;
};

TEST_F(UninstallForm, EveryCaptionShowsWholeAtTheInstalledFonts)
{
    Start();
    for (const std::string& cut : caption_fit::CutCaptions()) ADD_FAILURE() << cut;
}

TEST_F(UninstallForm, UninstallRemovesEverythingShowsSixOfSixAndEnds)
{
    const fs::path work = Install();
    Touch(autostart_ / "Velmora2007.desktop");
    Start();

    EXPECT_EQ(Form1->Caption(), "卸载");
    EXPECT_EQ(Form1->Width(), 500);
    EXPECT_EQ(Form1->Height(), 385);
    EXPECT_EQ(Form1->Label1->Caption(), "卸载 [Velmora]");
    EXPECT_EQ(Form1->kivGroupBox1->Caption(), "卸载");
    EXPECT_EQ(Form1->kivButton1->Caption(), "卸载");
    EXPECT_EQ(Form1->kivButton2->Caption(), "取消");
    EXPECT_FALSE(Form1->Edit1->Visible());
    EXPECT_EQ(Form1->Title(), "Velmora");
    EXPECT_EQ(Form1->SystemDir, system_.string());
    EXPECT_EQ(Form1->kivProgressBar1->Min(), 0);
    EXPECT_EQ(Form1->kivProgressBar1->Max(), 6);
    EXPECT_EQ(Form1->kivProgressBar1->Position(), 0);
    EXPECT_TRUE(shown_.empty());
    for (const fs::path& path : Installed(work)) ASSERT_TRUE(Exists(path)) << path;

    Form1->kivButton1->Click();
    EXPECT_EQ(Form1->kivProgressBar1->Position(), 6);
    EXPECT_TRUE(Form1->Removed());
    App().ProcessMessages();
    EXPECT_TRUE(App().Terminated());
    EXPECT_TRUE(shown_.empty());
    for (const fs::path& path : Installed(work)) EXPECT_FALSE(Exists(path)) << path;
    EXPECT_FALSE(Exists(install_));
    EXPECT_FALSE(Exists(autostart_ / "Velmora2007.desktop"));
    // The uninstaller's file went with the installation folder: no script.
    EXPECT_TRUE(scripts_.empty());
}

TEST_F(UninstallForm, TheFormWearsItsOwnStoredSkin)
{
    Install();
    Start();
    ASSERT_TRUE(Form1->kivBuiltInFileTheme1->ThemeReady());
    EXPECT_EQ(Form1->kivForm1->FileTheme(), static_cast<TkivFileTheme*>(Form1->kivBuiltInFileTheme1));
    EXPECT_EQ(Form1->kivForm1->UIStyle(), TkivUIStyle::FromThemeFile);
    // The skin's side borders: the frame answers their width.
    EXPECT_EQ(Form1->Perform(WM_SKIN_GETBORDERWIDTH), 4);
    // A control-box button and a close button, no others.
    TkivTitleBar* bar = Form1->kivForm1->TitleBar();
    ASSERT_EQ(bar->Buttons().Count(), 2);
    EXPECT_EQ(bar->Buttons().Items(0)->ButtonType(), kivControlBox);
    EXPECT_EQ(bar->Buttons().Items(1)->ButtonType(), kivClose);
    EXPECT_EQ(bar->Caption(), "卸载");
}

TEST_F(UninstallForm, WhileCastoraHoldsTheWorkFolderItRefusesOnceAndEnds)
{
    const fs::path work = Install();
    const app::WorkFolderLock castora(work);
    ASSERT_TRUE(castora.Held());
    // Closing the box activates the form again; that must not ask again.
    on_message_ = [] {
        Form1->SetActiveBySystem(false);
        Form1->SetActiveBySystem(true);
    };
    Start();

    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].caption, "卸载  Velmora");
    EXPECT_EQ(shown_[0].text, "<Velmora>正在使用,无法卸载!");
    EXPECT_EQ(shown_[0].button, "确定");
    EXPECT_TRUE(Form1->Refused());
    EXPECT_TRUE(App().Terminated());
    Form1->kivButton1->Click();
    for (const fs::path& path : Installed(work)) EXPECT_TRUE(Exists(path)) << path;
    EXPECT_EQ(shown_.size(), 1u);
}

TEST_F(UninstallForm, ACastoraStartedAfterTheCheckIsCaughtAtTheClick)
{
    const fs::path work = Install();
    Start();
    ASSERT_TRUE(shown_.empty());
    const app::WorkFolderLock castora(work);
    ASSERT_TRUE(castora.Held());

    Form1->kivButton1->Click();
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text, "<Velmora>正在使用,无法卸载!");
    EXPECT_EQ(Form1->kivProgressBar1->Position(), 0);
    App().ProcessMessages();
    EXPECT_TRUE(App().Terminated());
    for (const fs::path& path : Installed(work)) EXPECT_TRUE(Exists(path)) << path;
}

TEST_F(UninstallForm, ALockFileThatNobodyHoldsIsNoObstacle)
{
    const fs::path work = Install();
    app::WorkFolderLock(work).Release();  // castora has ended, its lock file stays
    ASSERT_TRUE(Exists(work / ".lock"));
    Start();
    EXPECT_TRUE(shown_.empty());
    Form1->kivButton1->Click();
    EXPECT_TRUE(Form1->Removed());
    EXPECT_FALSE(Exists(work));
}

TEST_F(UninstallForm, CancelEndsAndRemovesNothing)
{
    const fs::path work = Install();
    Start();
    Form1->kivButton2->Click();
    App().ProcessMessages();
    EXPECT_TRUE(App().Terminated());
    for (const fs::path& path : Installed(work)) EXPECT_TRUE(Exists(path)) << path;
}

TEST_F(UninstallForm, ARecordNamingTheHomeFolderIsReportedAndTheRestIsRemoved)
{
    const fs::path work = Install();
    Touch(home_ / "castora");
    Touch(home_ / "Documents" / "letter.txt");
    Touch(work / "azlj.ini", "[azlj]\nlj=" + home_.string() + "\n");
    Start();
    Form1->kivButton1->Click();

    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].caption, "卸载  Velmora");
    EXPECT_EQ(shown_[0].text, "安装目录\"" + home_.string() + "\"没有删除:它是系统或用户自己的文件夹。");
    EXPECT_EQ(Form1->kivProgressBar1->Position(), 6);
    EXPECT_TRUE(Exists(home_ / "castora"));
    EXPECT_TRUE(Exists(home_ / "Documents" / "letter.txt"));
    EXPECT_TRUE(Exists(install_ / "castora"));
    EXPECT_FALSE(Exists(work));
    EXPECT_FALSE(Exists(menu_ / "Velmora2007"));
}

TEST_F(UninstallForm, TheUsersOwnFilesInTheInstallationStayAndOneMessageSaysWhere)
{
    const fs::path work = Install();
    const std::vector<fs::path> mine = {install_ / "my_song.mp3", install_ / "Photo" / "my_wedding.jpg",
                                        install_ / "my_album.mp4"};
    for (const fs::path& file : mine) Touch(file, "the user's");
    const fs::path folder = fs::canonical(install_);
    std::vector<int> positions;
    on_message_ = [&] { positions.push_back(Form1->kivProgressBar1->Position()); };
    Start();
    Form1->kivButton1->Click();

    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].caption, "卸载  Velmora");
    EXPECT_EQ(shown_[0].text,
              "安装目录\"" + folder.string() +
                  "\"中以下文件不是安装的文件, 已保留: Photo/my_wedding.jpg, my_album.mp4, my_song.mp3");
    EXPECT_EQ(shown_[0].button, "确定");
    EXPECT_EQ(positions, std::vector<int>{6});  // after the removal
    EXPECT_TRUE(Form1->Removed());
    for (const fs::path& file : mine) EXPECT_EQ(core::ReadFileBytes(file), "the user's") << file;
    for (const fs::path& gone :
         {install_ / "castora", install_ / "MP3歌曲", install_ / "LRC歌词", work, menu_ / "Velmora2007"})
        EXPECT_FALSE(Exists(gone)) << gone;
}

TEST_F(UninstallForm, WithoutTheRecordTheUninstallerStillRemovesItself)
{
    const fs::path work = Install();
    fs::remove(work / "azlj.ini");
    Start();
    Form1->kivButton1->Click();

    EXPECT_TRUE(shown_.empty());
    EXPECT_FALSE(Exists(work));
    EXPECT_TRUE(Exists(install_ / "castora"));
    ASSERT_EQ(scripts_.size(), 1u);
    EXPECT_EQ(scripts_[0], install_ / "delme.sh");
    const std::string command = "/bin/sh " + uninstall::ShellQuote(scripts_[0].string());
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_FALSE(Exists(install_ / "castorun"));
    EXPECT_FALSE(Exists(install_ / "delme.sh"));
    EXPECT_TRUE(Exists(install_ / "castora"));
}

TEST_F(UninstallForm, TheProgramEntryEndsWithOneWhenRefused)
{
    const fs::path work = Install();
    const app::WorkFolderLock castora(work);
    EXPECT_EQ(uninstall::RunCastorun(), 1);
    EXPECT_TRUE(Exists(install_));
}

TEST_F(UninstallForm, TheProgramEntryEndsWithZeroAfterTheRemoval)
{
    const fs::path work = Install();
    // "卸载" pressed as soon as the loop runs.
    App().PostMessage([] { Form1->kivButton1->Click(); });
    EXPECT_EQ(uninstall::RunCastorun(), 0);
    EXPECT_FALSE(Exists(install_));
    EXPECT_FALSE(Exists(work));
}

}  // namespace
}  // namespace uninstall_test
