// The main window after start-up, on the headless back end with a virtual
// clock and a temporary system folder.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <set>

#include "app/castora_forms.h"
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
#include "platform/ui/dialogs.h"
#include "platform/ui/edit.h"
#include "app/work_folder_lock.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/core/timer.h"
#include "platform/flash/movie_file.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/gfx/image_io.h"
#include "platform/ui/headless.h"
#include "platform/ui/label.h"
#include "platform/ui/listbox.h"
#include "platform/ui/scrollbox.h"
#include "production/completion_form.h"
#include "production/quality_form.h"
#include "production/tv_system_form.h"
#include "production/production_form.h"
#include "skin/kiv_built_in_file_theme.h"
#include "skin/kiv_form.h"
#include "skin/kiv_button.h"
#include "skin/kiv_group_box.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_radio_button.h"
#include "tests/app/main_window_fixture.h"
#include "tests/app/temp_folder.h"
#include "tests/caption_fit.h"
#include "tests/castora_work_folder.h"

namespace {

namespace fs = std::filesystem;

using app_test::WriteMovieFile;

void Touch(const fs::path& path, const std::string& bytes = "x") { app_test::WriteFile(path, bytes); }

bool SamePixels(const TBitmap& a, const TBitmap& b)
{
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::equal(a.Pixels(), a.Pixels() + static_cast<size_t>(a.Width()) * a.Height(), b.Pixels());
}

// Each test lays out its system folder before it starts the window.
class MainWindow : public app_test::MainWindowTest {
protected:
    std::vector<TControl*> AllControls() const
    {
        std::vector<TControl*> controls;
        for (int i = 0; i < Form1->ComponentCount(); ++i)
            if (auto* control = dynamic_cast<TControl*>(Form1->Components(i))) controls.push_back(control);
        return controls;
    }
};

TEST_F(MainWindow, StartUpTakesTheFolderWithPhotosClearsLeftoversAndShowsTheIntro)
{
    fs::create_directories(system_.Path() / "brenholt_1" / "xtsz");  // no "zpyjj": skipped
    const fs::path work = MakeCastoraWorkFolder(system_.Path(), 2);
    const std::vector<fs::path> leftovers = {
        work / "zpyjj" / "zpyjj1.jpg", work / "zpyjj" / "zpyjj12.jpg", work / "zpyjj" / "lin_shi.jpg",
        work / "zpyjj" / "zpyjj.bmp",  work / "zhzp" / "tupian3.jpg",  work / "zhzp" / "zhzp1.swf",
        work / "zhzp" / "lswj.bmp",    work / "pwwjj" / "txt_1.txt",   work / "pwwjj" / "pwtp.jpg",
        work / "llzp" / "zpjj.jpg",    work / "jjzp" / "zpjj.jpg"};
    for (const fs::path& file : leftovers) Touch(file);
    Start();

    EXPECT_EQ(Form1->StartupExitCode(), 0);
    EXPECT_TRUE(Form1->HoldsWorkFolder());
    EXPECT_EQ(Form1->Caption(), "Velmora2007");
    EXPECT_EQ(Form1->SystemDir, system_.Path().string());
    EXPECT_EQ(Form1->WorkDir, (system_.Path() / "brenholt_2" / "").string());
    for (const fs::path& file : leftovers) EXPECT_FALSE(fs::exists(file)) << file;
    EXPECT_TRUE(fs::exists(work / "xtsz" / "rjjj.swf"));
    EXPECT_TRUE(fs::exists(work / "xtsz" / "wzpyl.swf"));
    EXPECT_EQ(Form1->SyncMode, "yinyuesuimobanchangdu");
    EXPECT_EQ(Form1->TvSystem, "PAL");
    EXPECT_EQ(Form1->LrcStyle.y, 250);

    // The intro pane is the visible pane brought to the front last.
    TControl* front = nullptr;
    for (TControl* pane : Form1->kivGroupBox2->Children())
        if (pane->Visible()) front = pane;
    EXPECT_EQ(front, Form1->ScrollBox13);
    EXPECT_EQ(Form1->jian_jie->Movie(), (work / "xtsz" / "rjjj.swf").string());
    EXPECT_GT(Form1->jian_jie->TotalFrames(), 0);
    for (TShockwaveFlash* thumb : {Form1->ShockwaveFlash1, Form1->ShockwaveFlash4, Form1->ShockwaveFlash7}) {
        EXPECT_EQ(thumb->Movie(), (work / "xtsz" / "wzpyl.swf").string());
        EXPECT_GT(thumb->TotalFrames(), 0);
    }
}

TEST_F(MainWindow, FileDialogsStartInTheUsersFoldersThenWhereTheyWereLastUsed)
{
    app_test::TempFolder home;
    const std::pair<const char*, const char*> saved_env[] = {
        {"HOME", std::getenv("HOME")}, {"XDG_CONFIG_HOME", std::getenv("XDG_CONFIG_HOME")}};
    std::vector<std::pair<std::string, std::optional<std::string>>> restore;
    for (const auto& [name, value] : saved_env)
        restore.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
    setenv("HOME", home.Path().c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    Touch(home.Path() / ".config" / "user-dirs.dirs",
          "XDG_PICTURES_DIR=\"$HOME/图片\"\nXDG_VIDEOS_DIR=\"$HOME/视频\"\n");
    fs::create_directories(home.Path() / "图片");  // no videos folder: home stands in
    MakeCastoraWorkFolder(system_.Path(), 1);
    Start();
    for (auto& [name, value] : restore)
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());

    const std::vector<std::pair<TOpenDialog*, fs::path>> cases = {
        {Form1->OpenDialog1, home.Path() / "图片"},
        {Form1->SaveDialog1, home.Path()},
        {Form11->OpenDialog1, home.Path()},
        {Form11->OpenDialog2, core::ProgramDir() / "试用片尾"},
    };
    for (const auto& [dialog, folder] : cases)
        EXPECT_EQ(fs::path(dialog->InitialDir()), folder) << dialog->Name();

    const fs::path chosen = home.Path() / "elsewhere" / "p.jpg";
    ui::SetFileDialogHook([&](const TOpenDialog&) { return std::vector<std::string>{chosen.string()}; });
    Form1->OpenDialog1->SetFileName("");
    EXPECT_TRUE(Form1->OpenDialog1->Execute());
    ui::SetFileDialogHook(nullptr);
    EXPECT_EQ(fs::path(Form1->OpenDialog1->InitialDir()), chosen.parent_path());
}

TEST_F(MainWindow, EveryFormExistsOnceInOrderWithItsCaption)
{
    MakeCastoraWorkFolder(system_.Path(), 1);
    Start();
    const std::vector<std::pair<TForm*, const char*>> forms = {
        {Form1, "Form1"},     {Form3, "Form3"},      {Form4, "Form4"},   {Form5, "Form5"},
        {Form6, "Form6"},     {Form2, "Form2"},      {Form7, "Form7"},   {Form8, "Form8"},
        {frmMain, "frmMain"}, {Form9, "Form9"},      {Form10, "Form10"}, {Form11, "Form11"},
        {Form12, "Form12"},   {Form14, "Form14"},    {Form15, "Form15"}, {Form16, "Form16"},
        {Form17, "Form17"},   {MainForm, "MainForm"}};
    ASSERT_GE(App().ComponentCount(), static_cast<int>(forms.size()));
    int index = 0;
    for (int i = 0; i < App().ComponentCount(); ++i) {
        auto* form = dynamic_cast<TForm*>(App().Components(i));
        if (!form) continue;
        ASSERT_LT(index, static_cast<int>(forms.size()));
        EXPECT_EQ(form, forms[index].first) << forms[index].second;
        EXPECT_EQ(form->Name(), forms[index].second);
        ++index;
    }
    EXPECT_EQ(index, static_cast<int>(forms.size()));
    EXPECT_EQ(Form9->Caption(), "电视制式");
    EXPECT_EQ(frmMain->Caption(), "正在制作...");
    EXPECT_EQ(Screen().MainForm(), Form1);
}

TEST_F(MainWindow, EveryCaptionShowsWholeAtTheInstalledFonts)
{
    MakeCastoraWorkFolder(system_.Path(), 1);
    Start();
    for (const std::string& cut : caption_fit::CutCaptions()) ADD_FAILURE() << cut;
    // The photo form at its size for cropping.
    Form1->Z_P_J_J_Edit->SetText(app::kCropMode);
    MainForm->Show();
    App().ProcessMessages();
    for (const std::string& cut : caption_fit::CutCaptions(*MainForm)) ADD_FAILURE() << "cropping: " << cut;
    MainForm->Hide();
}

TEST_F(MainWindow, EveryFormWearsTheMainWindowsSkinWithItsStoredTitleButtons)
{
    MakeCastoraWorkFolder(system_.Path(), 1);
    Start();
    int skinned = 0;
    for (int i = 0; i < App().ComponentCount(); ++i) {
        auto* form = dynamic_cast<TForm*>(App().Components(i));
        if (!form) continue;
        for (TControl* child : form->Children()) {
            auto* panel = dynamic_cast<TkivForm*>(child);
            if (!panel) continue;
            ++skinned;
            std::vector<TkivTitleBarBtnType> kinds;
            for (int b = 0; b < panel->TitleBar()->Buttons().Count(); ++b)
                kinds.push_back(panel->TitleBar()->Buttons().Items(b)->ButtonType());
            const std::vector<TkivTitleBarBtnType> expected =
                form == Form1 ? std::vector{kivClose, kivMin} : std::vector{kivClose};
            EXPECT_EQ(kinds, expected) << form->Name();
            EXPECT_EQ(form->FrameHook(), panel) << form->Name();
            // The one skin of the program, stored in the main window.
            EXPECT_EQ(panel->FileTheme(), static_cast<TkivFileTheme*>(Form1->kivBuiltInFileTheme1))
                << form->Name();
            EXPECT_EQ(panel->UIStyle(), TkivUIStyle::FromThemeFile) << form->Name();
            EXPECT_EQ(form->Perform(WM_SKIN_GETBORDERWIDTH), 4) << form->Name();
        }
    }
    EXPECT_GE(skinned, 16);
}

TEST_F(MainWindow, MissingWorkFolderRefusesTheStartWithAReason)
{
    // No work folder at all: N = 1 is taken, and it is missing.
    testing::internal::CaptureStderr();
    Start();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Form1->StartupExitCode(), 2);
    EXPECT_NE(err.find("brenholt_1"), std::string::npos) << err;
    EXPECT_NE(err.find("does not exist"), std::string::npos) << err;
    // Started from the menu nobody sees stderr: the box says why.
    EXPECT_EQ(MessageLines(), std::vector<std::string>{"Velmora2007|<Velmora>无法启动:找不到工作目录\"" +
                                                       (system_.Path() / "brenholt_1" / "zpyjj").string() +
                                                       "\",安装不完整,请重新运行安装程序。|确定"});
    // The remaining start-up steps were skipped, and nothing was made.
    EXPECT_TRUE(Form1->jian_jie->Movie().empty());
    EXPECT_FALSE(fs::exists(system_.Path() / "brenholt_1"));
    EXPECT_TRUE(App().Terminated() || !Form1->Visible());
}

TEST_F(MainWindow, AWorkFolderThatCannotBeLockedRefusesTheStartWithAMessage)
{
    const fs::path work = MakeCastoraWorkFolder(system_.Path(), 1);
    Touch(work / "zpyjj" / "zpyjj1.jpg");
    fs::create_directory(work / ".lock");  // the lock file cannot be opened
    testing::internal::CaptureStderr();
    Start();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Form1->StartupExitCode(), 4);
    EXPECT_NE(err.find("cannot lock the work folder"), std::string::npos) << err;
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].caption, "Velmora2007");
    EXPECT_EQ(messages_[0].text, "<Velmora>无法启动:无法锁定工作目录\"" + work.string() +
                                     "\"(其中的文件\".lock\"打不开或锁不上),请检查工作目录的权限。");
    EXPECT_EQ(messages_[0].button, "确定");
    // Nothing of the work folder was cleared.
    EXPECT_TRUE(fs::exists(work / "zpyjj" / "zpyjj1.jpg"));
    EXPECT_TRUE(App().Terminated() || !Form1->Visible());
}

TEST_F(MainWindow, ASecondInstanceIsRefusedAndLeavesTheFirstOnesWork)
{
    const fs::path work = MakeCastoraWorkFolder(system_.Path(), 1);
    Touch(work / "zpyjj" / "zpyjj1.jpg");
    const app::WorkFolderLock first(work);  // the castora that runs already
    ASSERT_TRUE(first.Held());
    std::vector<std::string> shown;
    skin::SetMessageDialogHook([&](const TkivMessageDialog& dialog) {
        shown.push_back(dialog.Text());
        return mrOk;
    });
    testing::internal::CaptureStderr();
    Start();
    testing::internal::GetCapturedStderr();
    EXPECT_NE(Form1->StartupExitCode(), 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("Velmora"), std::string::npos);
    EXPECT_TRUE(fs::exists(work / "zpyjj" / "zpyjj1.jpg"));
    EXPECT_FALSE(Form1->HoldsWorkFolder());
}

TEST_F(MainWindow, LockListsTouchOnlyTheirControlsAndCloseUnlocks)
{
    MakeCastoraWorkFolder(system_.Path(), 1);
    Start();
    const std::vector<TControl*> main_list = Form1->MainLockList();
    const std::vector<TControl*> import_list = Form1->TemplateImportLockList();
    ASSERT_EQ(main_list.size(), 21u);
    ASSERT_EQ(import_list.size(), 20u);
    EXPECT_EQ(std::set<TControl*>(main_list.begin(), main_list.end()).size(), 21u);
    EXPECT_EQ(main_list.front(), Form1->kivButton8);
    EXPECT_EQ(main_list.back(), Form1->kivButton1);
    EXPECT_EQ(std::count(import_list.begin(), import_list.end(), Form1->kivButton31), 0);

    std::map<TControl*, bool> before;
    for (TControl* control : AllControls()) before[control] = control->Enabled();
    for (const auto* list : {&main_list, &import_list}) {
        const std::set<TControl*> locked(list->begin(), list->end());
        if (list == &main_list)
            Form1->LockMainControls();
        else
            Form1->LockTemplateImportControls();
        for (TControl* control : AllControls()) {
            if (locked.count(control))
                EXPECT_FALSE(control->Enabled()) << control->Name();
            else
                EXPECT_EQ(control->Enabled(), before[control]) << control->Name();
        }
        if (list == &main_list)
            Form1->UnlockMainControls();
        else
            Form1->UnlockTemplateImportControls();
        for (TControl* control : AllControls())
            EXPECT_EQ(control->Enabled(), before[control]) << control->Name();
    }
    // The music buttons, the quality button and the output buttons stay usable.
    Form1->LockMainControls();
    for (TControl* control :
         {static_cast<TControl*>(Form1->kivButton5), static_cast<TControl*>(Form1->kivButton6),
          static_cast<TControl*>(Form1->kivButton32), static_cast<TControl*>(Form1->kivButton2),
          static_cast<TControl*>(Form1->kivButton20), static_cast<TControl*>(Form1->kivButton3)})
        EXPECT_TRUE(control->Enabled()) << control->Name();
    // Closing runs Stop, which unlocks.
    Form1->Close();
    App().ProcessMessages();
    EXPECT_TRUE(Form1->kivButton4->Enabled());
}

TEST_F(MainWindow, ButtonsSitAtTheirBoundsAndThePreviewIsInView)
{
    MakeCastoraWorkFolder(system_.Path(), 1);
    Start();
    struct Row {
        TControl* control;
        const char* caption;
        TRect bounds;
    };
    const Row rows[] = {{Form1->kivButton7, "导入模板", {527, 28, 657, 53}},
                        {Form1->kivButton4, "导入照片", {527, 58, 657, 83}},
                        {Form1->kivButton32, "画面质量", {527, 248, 657, 273}},
                        {Form1->kivButton14, "DVD", {527, 376, 657, 401}},
                        {Form1->kivButton30, "删除全部照片", {172, 28, 252, 48}},
                        {Form1->kivButton17, "", {264, 28, 517, 48}},
                        {Form1->kivButton28, "删除全部音乐", {256, 272, 336, 292}},
                        {Form1->kivButton26, "", {340, 272, 517, 292}},
                        {Form1->kivGroupBox3, "", {4, 44, 519, 269}},
                        {Form1->kivGroupBox1, "", {4, 288, 519, 489}}};
    for (const Row& row : rows) {
        EXPECT_EQ(row.control->Caption(), row.caption) << row.control->Name();
        EXPECT_EQ(row.control->BoundsRect(), row.bounds) << row.control->Name();
    }
    EXPECT_FALSE(Form1->kivButton17->Enabled());
    EXPECT_FALSE(Form1->kivButton9->Enabled());
    // What the stored layout leaves outside the panel is inside the window now.
    const TRect client = Form1->ClientRect();
    for (TControl* control :
         {static_cast<TControl*>(Form1->kivGroupBox2), static_cast<TControl*>(Form1->kivGroupBox7),
          static_cast<TControl*>(Form1->Label5), static_cast<TControl*>(Form1->kivButton9),
          static_cast<TControl*>(Form1->kivButton19), static_cast<TControl*>(Form1->kivButton20),
          static_cast<TControl*>(Form1->kivButton21), static_cast<TControl*>(Form1->kivButton83),
          static_cast<TControl*>(Form1->kivButton1), static_cast<TControl*>(Form1->kivButton3)}) {
        const TPoint top_left = control->Parent()->ClientToAncestor({control->Left(), control->Top()}, Form1);
        EXPECT_TRUE(control->Visible()) << control->Name();
        EXPECT_GE(top_left.X, 0) << control->Name();
        EXPECT_GE(top_left.Y, 0) << control->Name();
        EXPECT_LE(top_left.X + control->Width(), client.Right) << control->Name();
        EXPECT_LE(top_left.Y + control->Height(), client.Bottom) << control->Name();
    }
}

TEST_F(MainWindow, ClockButtonShowsTheTimeOnceASecond)
{
    MakeCastoraWorkFolder(system_.Path(), 1);
    Start();
    const auto base = std::chrono::system_clock::from_time_t(1700000000);
    Form1->Now = [&] { return base + std::chrono::microseconds(App().Clock().NowUs()); };
    EXPECT_EQ(Form1->kivButton17->Caption(), "");
    app_.RunForMs(1000);
    const std::string first = Form1->kivButton17->Caption();
    EXPECT_FALSE(first.empty());
    app_.RunForMs(500);
    EXPECT_EQ(Form1->kivButton17->Caption(), first);
    app_.RunForMs(500);
    EXPECT_NE(Form1->kivButton17->Caption(), first);
}

TEST_F(MainWindow, SharedRoutinesWriteTheProjectState)
{
    const fs::path work = MakeCastoraWorkFolder(system_.Path(), 1);
    Start();

    Form1->FramesToTimeText(89999);
    EXPECT_EQ(Form1->TimeHours + Form1->TimeMinutes + Form1->TimeSeconds, "005959");
    Form1->SecondsToTimeText(7261.9);
    EXPECT_EQ(Form1->MusicTimeHours + Form1->MusicTimeMinutes + Form1->MusicTimeSeconds, "020101");

    // Segments 2 and 3 photos ending at 100 and 250 in a 300-frame movie.
    WriteMovieFile(work / "zhzp" / "zhzp1.swf", 300);
    Form1->xiao_guo_Flash->SetMovie((work / "zhzp" / "zhzp1.swf").string());
    ASSERT_EQ(Form1->xiao_guo_Flash->TotalFrames(), 300);
    for (const char* row : {"0", "0"}) Form1->ListBox1->Items().Add(row);
    for (const char* row : {"100", "250"}) Form1->ListBox2->Items().Add(row);
    for (const char* row : {"2", "3"}) Form1->ListBox3->Items().Add(row);
    for (int photos : {7}) {
        for (int i = 0; i < photos; ++i)
            Form1->kivListView1->Items().Add()->SetCaption("zpyjj" + std::to_string(i + 1));
    }
    Form1->CalcPhotoFrames();
    EXPECT_EQ(Form1->PhotoFrames, 550);
    EXPECT_EQ(Form1->Label2->Caption(), "00:00:22");

    // The effect movie asks for five slots; three photos go round.
    for (int k = 1; k <= 3; ++k)
        Touch(work / "zpyjj" / ("zpyjj" + std::to_string(k) + ".jpg"), "photo" + std::to_string(k));
    Touch(work / "zhzp" / "tupian9.jpg", "old");
    Form1->xiao_guo_Flash->SetFrameNum(0);
    Form1->xiao_guo_FlashFSCommand(Form1->xiao_guo_Flash, "tupian=5", "");
    EXPECT_TRUE(fs::exists(work / "zhzp" / "tupian9.jpg"));  // at frame 0 nothing is served
    EXPECT_EQ(Form1->PhotoCursor, 0);

    Form1->xiao_guo_Flash->SetFrameNum(10);
    Form1->xiao_guo_FlashFSCommand(Form1->xiao_guo_Flash, "tupian=5", "");
    const char* expected[] = {"photo1", "photo2", "photo3", "photo1", "photo2"};
    for (int slot = 1; slot <= 5; ++slot) {
        const auto bytes = core::ReadFileBytes(work / "zhzp" / ("tupian" + std::to_string(slot) + ".jpg"));
        ASSERT_TRUE(bytes) << slot;
        EXPECT_EQ(*bytes, expected[slot - 1]) << slot;
    }
    EXPECT_FALSE(fs::exists(work / "zhzp" / "tupian9.jpg"));
    EXPECT_EQ(Form1->PhotoCursor, 2);
    EXPECT_EQ(Form1->SlotCount, "5");
    Form1->xiao_guo_FlashFSCommand(Form1->xiao_guo_Flash, "Tupian=3", "");
    EXPECT_EQ(Form1->PhotoCursor, 2);

    // FillPhotoSlots starts again from photo 1 with the template's first row.
    Form1->FillPhotoSlots();
    EXPECT_EQ(Form1->PhotoCursor, 2);
    EXPECT_EQ(*core::ReadFileBytes(work / "zhzp" / "tupian1.jpg"), "photo1");
}

// The picture of the main window after start-up, kept as a PNG beside the
// test for a look; the intro movie fills the preview frame and every
// thumbnail shows the empty-slot movie.
TEST_F(MainWindow, ScreenshotAfterStartUp)
{
    MakeCastoraWorkFolder(system_.Path(), 1);
    Start();
    const TBitmap window = ui::headless::Capture(*Form1);
    const fs::path png = fs::path(VELMORA_TEST_OUT) / "castora_main_window.png";
    ui::headless::SavePng(*Form1, png);
    EXPECT_TRUE(fs::exists(png));

    auto expect_shows = [&](TControl& control, const char* what) {
        TBitmap alone;
        alone.SetSize(control.Width(), control.Height());
        control.PaintTo(alone, 0, 0);
        const TPoint at = control.ClientToAncestor({0, 0}, nullptr);
        int differing = 0;
        for (int y = 0; y < control.Height(); y += 3)
            for (int x = 0; x < control.Width(); x += 3)
                if (window.Pixel(at.X + x, at.Y + y) != alone.Pixel(x, y)) ++differing;
        EXPECT_EQ(differing, 0) << what;
        std::set<TColor> colours;
        for (int y = 0; y < control.Height(); y += 2)
            for (int x = 0; x < control.Width(); x += 2) colours.insert(alone.Pixel(x, y));
        EXPECT_GT(colours.size(), 3u) << what << " paints a picture";
    };
    expect_shows(*Form1->jian_jie, "intro");
    TBitmap first_thumb;
    for (TShockwaveFlash* thumb :
         {Form1->ShockwaveFlash1, Form1->ShockwaveFlash2, Form1->ShockwaveFlash3, Form1->ShockwaveFlash4,
          Form1->ShockwaveFlash5, Form1->ShockwaveFlash6, Form1->ShockwaveFlash7}) {
        expect_shows(*thumb, thumb->Name().c_str());
        TBitmap alone;
        alone.SetSize(thumb->Width(), thumb->Height());
        thumb->PaintTo(alone, 0, 0);
        if (first_thumb.Empty())
            first_thumb = alone;
        else
            EXPECT_TRUE(SamePixels(alone, first_thumb)) << thumb->Name();
    }
}

}  // namespace

namespace {

TEST_F(MainWindow, TvSystemButtonOpensTheDialogOnTheProjectsSystem)
{
    MakeCastoraWorkFolder(system_.Path(), 1);
    Start();
    Form1->TvSystem = "NTSC";  // as a template import may leave it
    App().PostMessage([] {
        EXPECT_TRUE(Form9->Visible());
        EXPECT_TRUE(Form9->kivRadioButton2->Checked());
        Form9->kivRadioButton1->SetChecked(true);
        Form9->kivButton1->Click();
    });
    Form1->kivButton16->Click();
    EXPECT_EQ(Form1->TvSystem, "PAL");
    EXPECT_FALSE(Form9->Visible());
}

}  // namespace
