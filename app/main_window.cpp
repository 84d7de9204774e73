#include "app/main_window.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <iostream>

#include "app/castora_skin.h"
#include "app/titles_form.h"
#include "app/template_import_form.h"
#include "app/lyrics_form.h"
#include "app/crop_editor_form.h"
#include "app/sync_mode_form.h"
#include "app/lyric_tables.h"
#include "app/photo_import_form.h"
#include "app/music_actions.h"
#include "app/output_handover.h"
#include "app/photo_browser.h"
#include "app/photo_deletion.h"
#include "app/photo_frames.h"
#include "app/photo_pages.h"
#include "app/photo_slots.h"
#include "app/preview_engine.h"
#include "app/sync_mode.h"
#include "app/template_format.h"
#include "app/thumbnail_strip.h"
#include "app/time_text.h"
#include "app/work_folder.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/core/local_time.h"
#include "platform/core/timer.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/shell/special_folders.h"
#include "platform/media/media_player.h"
#include "platform/ui/edit.h"
#include "platform/ui/form_building.h"
#include "platform/ui/listview.h"
#include "platform/ui/image.h"
#include "platform/ui/label.h"
#include "platform/ui/listbox.h"
#include "platform/ui/scrollbox.h"
#include "skin/kiv_built_in_file_theme.h"
#include "skin/kiv_button.h"
#include "skin/kiv_form.h"
#include "skin/kiv_group_box.h"
#include "skin/kiv_image_button.h"
#include "skin/kiv_image_panel.h"
#include "skin/kiv_list_box.h"
#include "skin/kiv_list_view.h"
#include "production/quality_form.h"
#include "production/tv_system_form.h"
#include "skin/kiv_message_dialog.h"

TForm1* Form1 = nullptr;

TForm1& app::CreateMainWindow()
{
    Form1 = CreateForm<TForm1>();
    return *Form1;
}

namespace {

using ui::MakeTimer;
using ui::Place;

// The preview column right of the command column, and the thumbnail strip
// with its page buttons below the stored panel.
constexpr int kPreviewLeft = 669;
constexpr int kPreviewTop = 52;
constexpr int kPreviewWidth = 352;
constexpr int kPreviewHeight = 288;
constexpr int kStripTop = 497;
constexpr int kPageButtonsTop = 602;
constexpr int kThumbWidth = 92;
constexpr int kThumbHeight = 67;

TkivListView* MakeListView(TComponent* owner, TControl* parent, const char* name,
                           std::initializer_list<std::pair<const char*, int>> columns)
{
    auto* view = Place<TkivListView>(owner, parent, name, 0, 0, 250, 150);
    view->SetViewStyle(vsReport);
    for (const auto& [caption, width] : columns) {
        TListColumn* column = view->Columns().Add();
        column->SetCaption(caption);
        column->SetWidth(width);
    }
    return view;
}

// The clock text: the local date and time as the user's locale writes them.
std::string ClockText(std::chrono::system_clock::time_point when)
{
    return core::LocalDateTimeText(std::chrono::system_clock::to_time_t(when));
}

long long RowNumber(const TStrings& rows, int index)
{
    if (index >= rows.Count()) return 0;
    try {
        return std::stoll(rows[index]);
    } catch (...) {
        return 0;
    }
}

}  // namespace

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Form1");
    SetCaption(app::kMainWindowTitle);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    CreateControls();
    preview_ = std::make_unique<app::PreviewEngine>(PreviewView());
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
    OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
}

TForm1::~TForm1()
{
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::CreateControls()
{
    kivBuiltInFileTheme1 = new TkivBuiltInFileTheme(this);
    kivBuiltInFileTheme1->SetName("kivBuiltInFileTheme1");
    kivBuiltInFileTheme1->SetSkinData(app::CastoraSkinData());

    kivForm1 = Place<TkivForm>(this, this, "kivForm1", 0, 0, 661, 493);
    kivForm1->SetCaption(app::kMainPanelCaption);
    // The panel's caption is the host's text too; the window itself keeps
    // the program's title, which the desktop lists it by.
    SetCaption(app::kMainWindowTitle);
    kivForm1->UseProgramSkin();
    kivForm1->SetTitleBarButtons({kivClose, kivMin});

    CreateDataControls();
    CreatePreviewPanes();
    CreateThumbnails();
    CreateButtons();

    kivMessageDialog1 = new TkivMessageDialog(this);
    kivMessageDialog1->SetName("kivMessageDialog1");
    kivMessageDialog2 = new TkivMessageDialog(this);
    kivMessageDialog2->SetName("kivMessageDialog2");
    kivMessageDialog3 = new TkivMessageDialog(this);
    kivMessageDialog3->SetName("kivMessageDialog3");

    auto make_open_dialog = [this](const char* name, const char* filter, TOpenOptions options) {
        auto* dialog = new TOpenDialog(this);
        dialog->SetName(name);
        dialog->SetFilter(filter);
        dialog->SetOptions(options);
        return dialog;
    };
    OpenDialog1 =
        make_open_dialog("OpenDialog1", "选择照片(jpg)|*.jpg;", ofAllowMultiSelect | ofFileMustExist);
    OpenDialog2 = make_open_dialog("OpenDialog2", "选择音乐(mp3,wav)|*.mp3;*.wav",
                                   ofAllowMultiSelect | ofFileMustExist);
    OpenDialog3 = make_open_dialog("OpenDialog3", "选择模板|*.avi", ofFileMustExist);
    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->SetName("SaveDialog1");
    SaveDialog1->SetFilter("保存位置");
    // The user's own folders, not wherever the program was started from.
    OpenDialog1->SetInitialDir(shell::ExistingUserDir("PICTURES").string());
    SaveDialog1->SetInitialDir(shell::ExistingUserDir("VIDEOS").string());

    Timer1 = MakeTimer(this, "Timer1", 1, false);
    Timer2 = MakeTimer(this, "Timer2", 1, false);
    Timer3 = MakeTimer(this, "Timer3", 1, false);
    Timer6 = MakeTimer(this, "Timer6", 1, false);
    Timer4 = MakeTimer(this, "Timer4", 1000, true);
    Timer4->OnTimer = [this](TObject* Sender) { Timer4Timer(Sender); };
    Timer2->OnTimer = [this](TObject* Sender) { Timer2Timer(Sender); };
    Timer3->OnTimer = [this](TObject* Sender) { Timer3Timer(Sender); };
    Timer6->OnTimer = [this](TObject* Sender) { Timer6Timer(Sender); };
    Edit1->OnChange = [this](TObject* Sender) { Edit1Change(Sender); };
    kivButton7->OnClick = [this](TObject* Sender) { kivButton7Click(Sender); };

    // The music list and the sync-mode dialog.
    kivButton10->OnClick = [this](TObject* Sender) { kivButton10Click(Sender); };
    kivButton27->OnClick = [this](TObject* Sender) { kivButton27Click(Sender); };
    kivButton28->OnClick = [this](TObject* Sender) { kivButton28Click(Sender); };
    kivButton5->OnClick = [this](TObject* Sender) { kivButton5Click(Sender); };
    kivListView2->OnDblClick = [this](TObject* Sender) { kivListView2DblClick(Sender); };
    kivButton6->OnClick = [this](TObject* Sender) { kivButton6Click(Sender); };
    WindowsMediaPlayer2->OnPlayStateChange = [this](TObject* Sender, int NewState) {
        WindowsMediaPlayer2PlayStateChange(Sender, NewState);
    };
    Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };
    kivButton11->OnClick = [this](TObject* Sender) { kivButton11Click(Sender); };
    WirePhotoHandlers();
    kivButton19->OnClick = [this](TObject* Sender) { kivButton19Click(Sender); };

    // The lyric dialog.
    kivButton31->OnClick = [this](TObject* Sender) { kivButton31Click(Sender); };

    // The crop editor.
    kivButton18->OnClick = [this](TObject* Sender) { kivButton18Click(Sender); };
}

void TForm1::CreateDataControls()
{
    // The photo list and the music list.
    kivGroupBox3 = Place<TkivGroupBox>(this, kivForm1, "kivGroupBox3", 4, 44, 515, 225);
    kivListView1 = MakeListView(this, kivGroupBox3, "kivListView1", {{"照片名称", 200}, {"照片位置", 300}});
    kivListView1->SetBounds(6, 16, 503, 203);
    kivGroupBox1 = Place<TkivGroupBox>(this, kivForm1, "kivGroupBox1", 4, 288, 515, 201);
    kivListView2 = MakeListView(this, kivGroupBox1, "kivListView2",
                                {{"音乐名称", 100}, {"音乐位置", 300}, {"音乐时间", 100}});
    kivListView2->Columns()[2]->SetAlignment(taCenter);
    kivListView2->SetBounds(6, 16, 503, 179);
    for (TkivListView* view : {kivListView1, kivListView2}) {
        view->SetReadOnly(true);
        view->SetRowSelect(true);
        view->SetGridLines(true);
    }

    // Hidden tables.
    kivListView3 = MakeListView(this, kivForm1, "kivListView3",
                                {{"照片名称", 50},
                                 {"照片位置", 50},
                                 {"剪辑状态", 50},
                                 {"x", 50},
                                 {"y", 50},
                                 {"width", 50},
                                 {"height", 50}});
    kivListView5 = MakeListView(this, kivForm1, "kivListView5", {{"歌词名称", 50}, {"歌词位置", 50}});
    kivListView4 = MakeListView(this, kivForm1, "kivListView4", {{"位置", 50}, {"歌词", 50}});
    for (TkivListView* view : {kivListView3, kivListView4, kivListView5}) view->SetVisible(false);

    kivGroupBox15 = Place<TkivGroupBox>(this, kivForm1, "kivGroupBox15", 4, 44, 515, 225);
    kivGroupBox15->SetCaption("LRC 歌词处理");
    kivGroupBox15->SetVisible(false);
    kivListView6 = MakeListView(this, kivGroupBox15, "kivListView6", {{"序号", 50}, {"歌词", 200}});
    kivListView6->SetBounds(6, 16, 250, 200);
    kivListBox1 = Place<TkivListBox>(this, kivGroupBox15, "kivListBox1", 260, 16, 80, 200);
    kivListBox2 = Place<TkivListBox>(this, kivGroupBox15, "kivListBox2", 344, 16, 80, 200);
    kivListBox3 = Place<TkivListBox>(this, kivGroupBox15, "kivListBox3", 428, 16, 80, 200);

    ListBox1 = Place<TListBox>(this, kivForm1, "ListBox1", 0, 0, 60, 60);
    ListBox2 = Place<TListBox>(this, kivForm1, "ListBox2", 0, 0, 60, 60);
    ListBox3 = Place<TListBox>(this, kivForm1, "ListBox3", 0, 0, 60, 60);
    for (TListBox* list : {ListBox1, ListBox2, ListBox3}) list->SetVisible(false);

    auto make_edit = [this](const char* name, const char* text) {
        auto* edit = Place<TEdit>(this, kivForm1, name, 0, 0, 100, 21);
        edit->SetText(text);
        edit->SetVisible(false);
        return edit;
    };
    Edit1 = make_edit("Edit1", "-1");
    Edit2 = make_edit("Edit2", "-1");
    Edit3 = make_edit("Edit3", "-1");
    LRC_text = make_edit("LRC_text", "LRC_text");
    Z_P_J_J_Edit = make_edit("Z_P_J_J_Edit", "dao_ru_zhao_pian");

    kivImagePanel1 = Place<TkivImagePanel>(this, kivForm1, "kivImagePanel1", 527, 410, 130, 80);
    kivImagePanel1->SetVisible(false);
    auto make_length_label = [this](const char* name, int top) {
        auto* label = Place<TLabel>(this, kivImagePanel1, name, 4, top, 60, 13);
        label->SetCaption("00:00:00");
        return label;
    };
    Label2 = make_length_label("Label2", 4);
    Label1 = make_length_label("Label1", 22);
    Label3 = make_length_label("Label3", 40);
    Label6 = make_length_label("Label6", 58);

    // The elapsed time of the preview, beside its Play and Stop buttons.
    Label5 = Place<TLabel>(this, kivForm1, "Label5", 760, kPreviewTop + kPreviewHeight + 7, 90, 19);
    Label5->Font().SetName("Arial");
    Label5->Font().SetHeight(-16);
    Label5->Font().SetBold(true);
    Label5->SetCaption("00:00:00");

    // The music player has no pane.
    WindowsMediaPlayer2 = Place<TWindowsMediaPlayer>(this, kivForm1, "WindowsMediaPlayer2", 0, 0, 0, 0);
    WindowsMediaPlayer2->SetVisible(false);
}

void TForm1::CreatePreviewPanes()
{
    kivGroupBox2 = Place<TkivGroupBox>(this, kivForm1, "kivGroupBox2", kPreviewLeft, kPreviewTop,
                                       kPreviewWidth, kPreviewHeight);
    auto make_pane = [this](const char* name) {
        auto* pane = Place<TScrollBox>(this, kivGroupBox2, name, 0, 0, kPreviewWidth, kPreviewHeight);
        pane->SetBorderStyle(bsNone);
        return pane;
    };
    // Created bottom first; FormShow and the preview bring the right one up.
    ScrollBox14 = make_pane("ScrollBox14");
    ScrollBox14->SetColor(clBlack);
    Image2 = Place<TImage>(this, ScrollBox14, "Image2", 0, 0, kPreviewWidth, kPreviewHeight);
    ScrollBox14->SetVisible(false);

    ScrollBox12 = make_pane("ScrollBox12");
    Pian_Wei_FLASH =
        Place<TShockwaveFlash>(this, ScrollBox12, "Pian_Wei_FLASH", 0, 0, kPreviewWidth, kPreviewHeight);
    ScrollBox12->SetVisible(false);

    ScrollBox11 = make_pane("ScrollBox11");
    WindowsMediaPlayer3 = Place<TWindowsMediaPlayer>(this, ScrollBox11, "WindowsMediaPlayer3", 0, 0,
                                                     kPreviewWidth, kPreviewHeight);
    ScrollBox11->SetVisible(false);

    ScrollBox10 = make_pane("ScrollBox10");
    xiao_guo_Flash =
        Place<TShockwaveFlash>(this, ScrollBox10, "xiao_guo_Flash", 0, 0, kPreviewWidth, kPreviewHeight);
    xiao_guo_Flash->OnFSCommand = [this](TObject* Sender, const std::string& command,
                                         const std::string& args) {
        xiao_guo_FlashFSCommand(Sender, command, args);
    };
    ScrollBox10->SetVisible(false);

    ScrollBox9 = make_pane("ScrollBox9");
    WindowsMediaPlayer1 = Place<TWindowsMediaPlayer>(this, ScrollBox9, "WindowsMediaPlayer1", 0, 0,
                                                     kPreviewWidth, kPreviewHeight);
    ScrollBox9->SetVisible(false);

    ScrollBox1 = make_pane("ScrollBox1");
    liu_lan_zhao_pian =
        Place<TShockwaveFlash>(this, ScrollBox1, "liu_lan_zhao_pian", 0, 0, kPreviewWidth, kPreviewHeight);
    ScrollBox1->SetVisible(false);

    ScrollBox13 = make_pane("ScrollBox13");
    jian_jie = Place<TShockwaveFlash>(this, ScrollBox13, "jian_jie", 0, 0, kPreviewWidth, kPreviewHeight);
}

void TForm1::CreateThumbnails()
{
    kivGroupBox7 = Place<app::TThumbnailStrip>(this, kivForm1, "kivGroupBox7", 4, kStripTop, 653, 101);
    kivImageButton1 = Place<TkivImageButton>(this, kivGroupBox7, "kivImageButton1", 2, 89, 649, 10);
    TkivGroupBox** frames[] = {&kivGroupBox8,  &kivGroupBox9,  &kivGroupBox10, &kivGroupBox11,
                               &kivGroupBox12, &kivGroupBox13, &kivGroupBox14};
    TScrollBox** panes[] = {&ScrollBox2, &ScrollBox3, &ScrollBox4, &ScrollBox5,
                            &ScrollBox6, &ScrollBox7, &ScrollBox8};
    TShockwaveFlash** movies[] = {&ShockwaveFlash1, &ShockwaveFlash2, &ShockwaveFlash3, &ShockwaveFlash4,
                                  &ShockwaveFlash5, &ShockwaveFlash6, &ShockwaveFlash7};
    for (int i = 0; i < 7; ++i) {
        const std::string n = std::to_string(i);
        *frames[i] = Place<TkivGroupBox>(this, kivGroupBox7, ("kivGroupBox" + std::to_string(8 + i)).c_str(),
                                         2 + i * 93, 20, kThumbWidth, kThumbHeight);
        *panes[i] = Place<TScrollBox>(this, *frames[i], ("ScrollBox" + std::to_string(2 + i)).c_str(), 0, 0,
                                      kThumbWidth, kThumbHeight);
        (*panes[i])->SetBorderStyle(bsNone);
        *movies[i] =
            Place<TShockwaveFlash>(this, *panes[i], ("ShockwaveFlash" + std::to_string(1 + i)).c_str(), 0, 0,
                                   kThumbWidth, kThumbHeight);
    }
    kivGroupBox7->SelectedFrame = [this]() -> const TControl* {
        const TkivGroupBox* slots[] = {kivGroupBox8,  kivGroupBox9,  kivGroupBox10, kivGroupBox11,
                                       kivGroupBox12, kivGroupBox13, kivGroupBox14};
        return SelectedSlot >= 1 && SelectedSlot <= 7 ? slots[SelectedSlot - 1] : nullptr;
    };
}

void TForm1::CreateButtons()
{
    auto button = [this](const char* name, const char* caption, int left, int top, int width, int height) {
        auto* b = Place<TkivButton>(this, kivForm1, name, left, top, width, height);
        b->SetCaption(caption);
        return b;
    };
    kivButton7 = button("kivButton7", "导入模板", 527, 28, 130, 25);
    kivButton4 = button("kivButton4", "导入照片", 527, 58, 130, 25);
    kivButton10 = button("kivButton10", "导入音乐", 527, 88, 130, 25);
    kivButton31 = button("kivButton31", "导入歌词", 527, 118, 130, 25);
    kivButton18 = button("kivButton18", "照片剪辑", 527, 156, 130, 25);
    kivButton11 = button("kivButton11", "同步效果", 527, 186, 130, 25);
    kivButton16 = button("kivButton16", "电视制式", 527, 216, 130, 25);
    kivButton32 = button("kivButton32", "画面质量", 527, 248, 130, 25);
    kivButton2 = button("kivButton2", "AVI", 527, 286, 130, 25);
    kivButton12 = button("kivButton12", "VCD", 527, 316, 130, 25);
    kivButton13 = button("kivButton13", "SVCD", 527, 346, 130, 25);
    kivButton14 = button("kivButton14", "DVD", 527, 376, 130, 25);
    // Beside the preview, below its Play and Stop buttons.
    kivButton19 = button("kivButton19", "片头片尾", 731, kPreviewTop + kPreviewHeight + 38, 130, 25);
    kivButton20 = button("kivButton20", "MPEG-4", 731, kPreviewTop + kPreviewHeight + 71, 130, 25);
    kivButton8 = button("kivButton8", "浏览照片", 4, 28, 80, 20);
    kivButton29 = button("kivButton29", "删除照片", 88, 28, 80, 20);
    kivButton30 = button("kivButton30", "删除全部照片", 172, 28, 80, 20);
    kivButton17 = button("kivButton17", "", 264, 28, 253, 20);
    kivButton17->SetEnabled(false);
    kivButton5 = button("kivButton5", "播放音乐", 4, 272, 80, 20);
    kivButton6 = button("kivButton6", "停止播放", 88, 272, 80, 20);
    kivButton27 = button("kivButton27", "删除音乐", 172, 272, 80, 20);
    kivButton28 = button("kivButton28", "删除全部音乐", 256, 272, 80, 20);
    kivButton26 = button("kivButton26", "", 340, 272, 177, 20);
    kivButton26->SetEnabled(false);
    kivButton21 = button("kivButton21", "上一页", 4, kPageButtonsTop, 100, 20);
    kivButton22 = button("kivButton22", "下一页", 112, kPageButtonsTop, 100, 20);
    kivButton24 = button("kivButton24", "删除", 220, kPageButtonsTop, 100, 20);
    kivButton23 = button("kivButton23", "全部删除", 332, kPageButtonsTop, 100, 20);
    kivButton83 = button("kivButton83", "浏览照片", 441, kPageButtonsTop, 100, 20);
    // Play and Stop stay in view: a running preview locks the editor, and
    // Stop is the way out.
    kivButton1 = button("kivButton1", "播放", kPreviewLeft, kPreviewTop + kPreviewHeight + 6, 39, 23);
    kivButton3 = button("kivButton3", "停止", kPreviewLeft + 43, kPreviewTop + kPreviewHeight + 6, 39, 23);
    kivButton1->OnClick = [this](TObject* Sender) { kivButton1Click(Sender); };
    kivButton3->OnClick = [this](TObject* Sender) { kivButton3Click(Sender); };
    kivButton4->OnClick = [this](TObject* Sender) { kivButton4Click(Sender); };
    kivButton16->OnClick = [this](TObject* Sender) { kivButton16Click(Sender); };
    kivButton9 = button("kivButton9", "动态效果预览", kPreviewLeft, 28, kPreviewWidth, 22);
    kivButton9->SetEnabled(false);
    kivButton2->OnClick = [this](TObject* Sender) { kivButton2Click(Sender); };
    kivButton12->OnClick = [this](TObject* Sender) { kivButton12Click(Sender); };
    kivButton13->OnClick = [this](TObject* Sender) { kivButton13Click(Sender); };
    kivButton14->OnClick = [this](TObject* Sender) { kivButton14Click(Sender); };
    kivButton20->OnClick = [this](TObject* Sender) { kivButton20Click(Sender); };
    kivButton32->OnClick = [this](TObject* Sender) { kivButton32Click(Sender); };
}

// --- start-up and shut-down ----------------------------------------------------------

void TForm1::FormCreate(TObject*)
{
    // Double buffering: every window is composed off-screen already.
}

void TForm1::RefuseStart(int exit_code, const std::string& reason, const std::string& message)
{
    startup_exit_code_ = exit_code;
    std::cerr << "castora: " << reason << std::endl;
    // Started from the menu, nobody reads stderr: the box says why.
    skin::Tell(*kivMessageDialog1, app::kMainWindowTitle, message);
    Close();
}

void TForm1::FormShow(TObject*)
{
    // The stored panel is too small for the preview column and the
    // thumbnail strip: the window and its panel grow to hold them.
    SetClientSize(app::kMainClientWidth, app::kMainClientHeight);
    kivForm1->SetBounds(0, 0, app::kMainClientWidth, app::kMainClientHeight);

    // The work folder the installer laid out below the system folder: the
    // first "brenholt_N" that is missing or holds "zpyjj".
    SystemDir = core::SystemDir().string();
    const app::WorkFolderSearch search = app::FindWorkFolder(SystemDir, [] { App().ProcessMessages(); });
    WorkDir = search.work_dir.string();

    // Without its work folder the program cannot run; it never makes one.
    const std::string product = std::string("<") + app::kProductTitle + ">";
    if (!search.present) {
        RefuseStart(2,
                    "the work folder " + (search.work_dir / "zpyjj").string() +
                        " does not exist; the installation is incomplete (run the installer again)",
                    product + "无法启动:找不到工作目录\"" + (search.work_dir / "zpyjj").string() +
                        "\",安装不完整,请重新运行安装程序。");
        return;
    }
    // One program to a work folder: a second one would wipe the first
    // one's work files below.
    work_folder_lock_.emplace(WorkPath());
    if (work_folder_lock_->State() == app::WorkFolderLock::Status::InUse) {
        RefuseStart(3, "the work folder " + WorkDir + " is in use by another castora",
                    product + "已经在运行,不能同时运行两个!");
        return;
    }
    if (!work_folder_lock_->Held()) {
        RefuseStart(4, "cannot lock the work folder: " + work_folder_lock_->Error(),
                    // The system's own words stay on stderr; WorkDir ends in a separator.
                    product + "无法启动:无法锁定工作目录\"" + WorkPath().parent_path().string() +
                        "\"(其中的文件\"" + std::string(app::kWorkFolderLockFile) +
                        "\"打不开或锁不上),请检查工作目录的权限。");
        return;
    }

    const std::filesystem::path work = WorkPath();
    // The intro pane comes up first, showing the program's intro movie; it
    // takes no mouse input.
    ScrollBox13->SetBounds(0, 0, ScrollBox13->Width(), ScrollBox13->Height());
    ScrollBox13->SetAutoSize(true);
    ScrollBox13->SetBorderStyle(bsNone);
    jian_jie->SetBounds(0, 0, kivGroupBox2->Width(), kivGroupBox2->Height());
    jian_jie->SetMovie((work / "xtsz" / "rjjj.swf").string());
    ScrollBox13->SetEnabled(false);
    ScrollBox13->SetVisible(true);
    ScrollBox13->BringToFront();

    // The browser pane waits hidden, sized to the preview frame, until a
    // photo is browsed.
    ScrollBox1->SetBounds(0, 0, ScrollBox1->Width(), ScrollBox1->Height());
    ScrollBox1->SetAutoSize(true);
    ScrollBox1->SetBorderStyle(bsNone);
    liu_lan_zhao_pian->SetBounds(0, 0, kivGroupBox2->Width(), kivGroupBox2->Height());
    ScrollBox1->SetVisible(false);

    // No photos yet: every thumbnail shows the empty-slot movie, and the
    // slots' panes pass their clicks on to the frames around them.
    const std::string empty_slot = (work / "xtsz" / "wzpyl.swf").string();
    for (TShockwaveFlash* movie : {ShockwaveFlash1, ShockwaveFlash2, ShockwaveFlash3, ShockwaveFlash4,
                                   ShockwaveFlash5, ShockwaveFlash6, ShockwaveFlash7}) {
        movie->SetBounds(0, 0, kivGroupBox8->Width(), kivGroupBox8->Height());
        movie->SetMovie(empty_slot);
    }
    for (TScrollBox* pane :
         {ScrollBox2, ScrollBox3, ScrollBox4, ScrollBox5, ScrollBox6, ScrollBox7, ScrollBox8})
        pane->SetEnabled(false);

    // Work files an earlier run left behind would pass for this album's.
    app::RemoveLeftoverFiles(work);

    // The project starts empty, with the default settings.
    SetStartupDefaults();

    // The effect pane takes no mouse input; the still pane fills the
    // preview frame like the others.
    ScrollBox10->SetEnabled(false);
    Image2->SetBounds(0, 0, Image2->Width(), Image2->Height());
    ScrollBox14->SetBounds(0, 0, ScrollBox14->Width(), ScrollBox14->Height());
    ScrollBox14->SetAutoSize(true);
    ScrollBox14->SetBorderStyle(bsNone);

    // The lyric line starts in its default style.
    SetLyricStyleDefaults();
}

void TForm1::FormClose(TObject* Sender, TCloseAction&) { kivButton3Click(Sender); }

void TForm1::FormCloseQuery(TObject*, bool& CanClose) { CanClose = true; }

void TForm1::Timer4Timer(TObject*) { kivButton17->SetCaption(ClockText(Now())); }

// --- preview entry points ---------------------------------------------------------------------

void TForm1::kivButton1Click(TObject*) { preview_->Play(); }
void TForm1::kivButton3Click(TObject*) { preview_->Stop(); }
void TForm1::StartOpeningTitle() { preview_->StartOpeningTitle(); }
void TForm1::StartEffectPreview() { preview_->StartEffectPreview(); }
void TForm1::StartEndingTitle() { preview_->StartEndingTitle(); }
void TForm1::Timer2Timer(TObject*) { preview_->OpeningWatch(); }
void TForm1::Timer3Timer(TObject*) { preview_->FramePoll(); }
void TForm1::Edit1Change(TObject*) { preview_->Tick(); }
void TForm1::Timer6Timer(TObject*) { preview_->EndingWatch(); }

void TForm1::kivButton7Click(TObject*)
{
    OpenDialog3->SetFileName("");
    OpenDialog3->SetFileName((core::ProgramDir() / "试用模板" / "试用模板.avi").string());
    if (!OpenDialog3->Execute()) return;
    Form14->ShowModal();
}

void TForm1::kivButton16Click(TObject*)
{
    if (Form9) Form9->ShowModal();
}

void TForm1::kivButton19Click(TObject*)
{
    if (Form11) Form11->ShowModal();
}

void TForm1::xiao_guo_FlashFSCommand(TObject*, const std::string& command, const std::string&)
{
    app::ServeSlotRequest(
        WorkPath(), command, [this] { return static_cast<int64_t>(xiao_guo_Flash->FrameNum()); }, PhotoCursor,
        SlotCount, [] { App().ProcessMessages(); });
}

// --- output ------------------------------------------------------------------------------------

void TForm1::kivButton2Click(TObject*) { app::HandOverOutput(OutputHandoverView(), "AVI"); }
void TForm1::kivButton12Click(TObject*) { app::HandOverOutput(OutputHandoverView(), "VCD"); }
void TForm1::kivButton13Click(TObject*) { app::HandOverOutput(OutputHandoverView(), "SVCD"); }
void TForm1::kivButton14Click(TObject*) { app::HandOverOutput(OutputHandoverView(), "DVD"); }
void TForm1::kivButton20Click(TObject*) { app::HandOverOutput(OutputHandoverView(), "MP4"); }
void TForm1::kivButton32Click(TObject*) { Form17->ShowModal(); }

// --- the music list and the sync mode ----------------------------------------------------------------

void TForm1::kivButton10Click(TObject*) { app::ImportMusic(MusicView()); }
void TForm1::kivButton27Click(TObject*) { app::DeleteSelectedMusic(MusicView()); }
void TForm1::kivButton28Click(TObject*) { app::DeleteAllMusic(MusicView()); }
void TForm1::kivButton5Click(TObject*) { app::PlaySelectedMusic(MusicView()); }
void TForm1::kivListView2DblClick(TObject* Sender) { kivButton5Click(Sender); }
void TForm1::kivButton6Click(TObject*) { app::StopMusic(MusicView()); }

void TForm1::WindowsMediaPlayer2PlayStateChange(TObject*, int NewState)
{
    app::MusicPlayStateChanged(MusicView(), NewState);
}

void TForm1::Timer1Timer(TObject*)
{
    Timer1->SetEnabled(false);
    WindowsMediaPlayer2->controls().play();
}

void TForm1::kivButton11Click(TObject*) { Form8->ShowModal(); }

// --- lyrics -----------------------------------------------------------------------------------------

void TForm1::kivButton31Click(TObject*) { app::OpenLyricDialog(LyricsView()); }

// --- the editing lock -----------------------------------------------------------------------------

std::vector<TControl*> TForm1::MainLockList() const
{
    return {kivButton8,   kivButton29, kivButton30, kivButton31, kivGroupBox3, kivButton27, kivButton28,
            kivGroupBox7, kivButton21, kivButton22, kivButton24, kivButton23,  kivButton83, kivButton7,
            kivButton4,   kivButton10, kivButton18, kivButton19, kivButton11,  kivButton16, kivButton1};
}

std::vector<TControl*> TForm1::TemplateImportLockList() const
{
    std::vector<TControl*> list = MainLockList();
    std::erase(list, static_cast<TControl*>(kivButton31));
    return list;
}

void TForm1::SetLocked(const std::vector<TControl*>& controls, bool locked)
{
    for (TControl* control : controls) control->SetEnabled(!locked);
}

void TForm1::LockMainControls() { SetLocked(MainLockList(), true); }
void TForm1::UnlockMainControls() { SetLocked(MainLockList(), false); }
void TForm1::LockTemplateImportControls() { SetLocked(TemplateImportLockList(), true); }
void TForm1::UnlockTemplateImportControls() { SetLocked(TemplateImportLockList(), false); }

// --- shared album routines ---------------------------------------------------------------------------

void TForm1::FramesToTimeText(double frames)
{
    const app::TimeText text = app::FramesToTimeText(frames);
    TimeHours = text.hours;
    TimeMinutes = text.minutes;
    TimeSeconds = text.seconds;
}

void TForm1::SecondsToTimeText(double seconds)
{
    const app::TimeText text = app::SecondsToTimeText(seconds);
    MusicTimeHours = text.hours;
    MusicTimeMinutes = text.minutes;
    MusicTimeSeconds = text.seconds;
}

app::SegmentTable TForm1::SegmentRows() const
{
    app::SegmentTable table;
    const int rows = std::max({ListBox1->Count(), ListBox2->Count(), ListBox3->Count()});
    for (int row = 0; row < rows; ++row) {
        table.push_back({RowNumber(ListBox1->Items(), row), RowNumber(ListBox2->Items(), row),
                         RowNumber(ListBox3->Items(), row)});
    }
    return table;
}

void TForm1::CalcPhotoFrames()
{
    PhotoFrames = static_cast<int>(
        app::CalcPhotoFrames(SegmentRows(), kivListView1->Items().Count(), xiao_guo_Flash->TotalFrames()));
    FramesToTimeText(PhotoFrames);
    Label2->SetCaption(TimeHours + ":" + TimeMinutes + ":" + TimeSeconds);
}

void TForm1::CopyNextPhotos(int N) { app::CopyNextPhotos(WorkPath(), PhotoCursor, N); }

void TForm1::FillPhotoSlots()
{
    app::FillPhotoSlots(WorkPath(), PhotoCursor, app::SlotsFilledAtATime(SegmentRows()));
}

// --- photos, thumbnails and lyric tables ---------------------------------------------------------------

void TForm1::kivButton4Click(TObject*)
{
    OpenDialog1->SetFileName("");
    if (!OpenDialog1->Execute()) return;
    PhotoPageIndex = 0;
    Z_P_J_J_Edit->SetText(app::kImportMode);
    MainForm->kivForm1->SetCaption(app::kImportCaption);
    MainForm->ShowModal();
    RefreshThumbnails(0);
    RefreshTemplateAfterPhotos();
    ProjectLengthText();
    if (MainForm->FailedRenders() > 0) {
        skin::Tell(*kivMessageDialog1, "导入照片",
                   "有 " + std::to_string(MainForm->FailedRenders()) + " 张照片未能导入:工作文件夹无法写入.");
    }
    if (!MainForm->UnreadPhotos().Empty()) {
        skin::Tell(*kivMessageDialog1, "导入照片", app::UnreadPhotosText(MainForm->UnreadPhotos()));
    }
}

void TForm1::kivButton18Click(TObject*) { Form3->ShowModal(); }

std::filesystem::path TForm1::PhotoPicture(int k) const
{
    return WorkPath() / "zpyjj" / ("zpyjj" + std::to_string(k) + ".jpg");
}

void TForm1::RefreshThumbnails(int page)
{
    const std::filesystem::path work = WorkPath();
    const std::filesystem::path detour = work / "zpyjj" / "lin_shi.jpg";
    // A movie control keeps showing a path it already shows: going through
    // another file first makes it read a rewritten picture anew.
    core::CopyFile(PhotoPicture(1), detour, true);
    TShockwaveFlash* slots[] = {ShockwaveFlash1, ShockwaveFlash2, ShockwaveFlash3, ShockwaveFlash4,
                                ShockwaveFlash5, ShockwaveFlash6, ShockwaveFlash7};
    for (int i = 1; i <= 7; ++i) {
        const std::filesystem::path picture = PhotoPicture(page * 7 + i);
        if (core::FileExists(picture)) {
            slots[i - 1]->SetMovie(detour.string());
            slots[i - 1]->SetMovie(picture.string());
        } else {
            slots[i - 1]->SetMovie((work / "xtsz" / "wzpyl.swf").string());
        }
    }
    core::DeleteFile(detour);
}

bool TForm1::ValidTemplateLoaded() const { return TemplateState == app::template_format::kValidityConstant; }

void TForm1::ProjectLengthText()
{
    if (!ValidTemplateLoaded()) return;
    if (SyncMode == app::kSyncMusicFollowsTemplate) {
        FramesToTimeText(xiao_guo_Flash->TotalFrames());
        Label2->SetCaption(TimeHours + ":" + TimeMinutes + ":" + TimeSeconds);
    } else if (SyncMode == app::kSyncMusicFollowsPhotos) {
        CalcPhotoFrames();
    } else if (SyncMode == app::kSyncPhotosFollowMusic) {
        SecondsToTimeText(MusicSeconds);
        Label2->SetCaption(MusicTimeHours + ":" + MusicTimeMinutes + ":" + MusicTimeSeconds);
    }
}

void TForm1::RefreshTemplateAfterPhotos()
{
    if (!ValidTemplateLoaded() || kivListView1->Items().Count() == 0) return;
    const int width = kivGroupBox2->Width(), height = kivGroupBox2->Height();
    WindowsMediaPlayer1->SetBounds(0, 0, width, height);
    WindowsMediaPlayer1->SetURL(TemplateFile);
    WindowsMediaPlayer1->controls().stop();
    xiao_guo_Flash->SetBounds(0, 0, width, height);
    // The slots first, then the other movie copy, so that the effect pane
    // shows the new photos at once.
    PhotoCursor = 0;
    CopyNextPhotos(static_cast<int>(
        std::clamp<int64_t>(app::SlotsFilledAtATime(SegmentRows()), 0, app::kMaxPhotoSlots)));
    TemplateMovie = TemplateMovie != "1" ? "1" : "2";
    xiao_guo_Flash->SetMovie((WorkPath() / "zhzp" / ("zhzp" + TemplateMovie + ".swf")).string());
    xiao_guo_Flash->Stop();
    for (TScrollBox* pane : {ScrollBox1, ScrollBox13, ScrollBox11, ScrollBox9}) pane->SetVisible(false);
    ScrollBox10->SetVisible(true);
    ScrollBox10->BringToFront();
}

void TForm1::LoadLrcLyrics(int song)
{
    const app::LyricTableControls tables{kivListView6, kivListView4, kivListBox1, kivListBox2, kivListBox3};
    app::ClearLyricTables(tables);
    if (song < 0 || song >= kivListView5->Items().Count()) return;
    const TListItem* row = kivListView5->Items()[song];
    if (row->SubItems().Count() == 0 || row->SubItems()[0].empty()) return;
    app::ShowLyricTables(app::LoadLrcFile(row->SubItems()[0]), tables);
}

std::vector<app::LrcRow> TForm1::LyricIndexRows() const
{
    std::vector<app::LrcRow> rows;
    const TListItems& items = kivListView4->Items();
    rows.reserve(static_cast<size_t>(items.Count()));
    for (int i = 0; i < items.Count(); ++i) {
        const TListItem* item = items[i];
        rows.push_back({item->Caption(), item->SubItems().Count() > 0 ? item->SubItems()[0] : std::string()});
    }
    return rows;
}

std::optional<std::string> TForm1::LyricAt(std::string_view key) const
{
    const std::vector<app::LrcRow> rows = LyricIndexRows();
    if (const std::optional<size_t> row = app::FindLyricRow(rows, key)) return rows[*row].text;
    return std::nullopt;
}

// --- thumbnail pages, photo browser, photo deletion ----------------------------------------------------

void TForm1::WirePhotoHandlers()
{
    kivButton22->OnClick = [this](TObject* Sender) { kivButton22Click(Sender); };
    kivButton21->OnClick = [this](TObject* Sender) { kivButton21Click(Sender); };
    const std::pair<TkivGroupBox*, void (TForm1::*)(TObject*)> clicks[] = {
        {kivGroupBox8, &TForm1::kivGroupBox8Click},   {kivGroupBox9, &TForm1::kivGroupBox9Click},
        {kivGroupBox10, &TForm1::kivGroupBox10Click}, {kivGroupBox11, &TForm1::kivGroupBox11Click},
        {kivGroupBox12, &TForm1::kivGroupBox12Click}, {kivGroupBox13, &TForm1::kivGroupBox13Click},
        {kivGroupBox14, &TForm1::kivGroupBox14Click}};
    const std::pair<TkivGroupBox*, void (TForm1::*)(TObject*)> double_clicks[] = {
        {kivGroupBox8, &TForm1::kivGroupBox8DblClick},   {kivGroupBox9, &TForm1::kivGroupBox9DblClick},
        {kivGroupBox10, &TForm1::kivGroupBox10DblClick}, {kivGroupBox11, &TForm1::kivGroupBox11DblClick},
        {kivGroupBox12, &TForm1::kivGroupBox12DblClick}, {kivGroupBox13, &TForm1::kivGroupBox13DblClick},
        {kivGroupBox14, &TForm1::kivGroupBox14DblClick}};
    for (const auto& click : clicks) {
        click.first->SetCursor(crHandPoint);
        click.first->OnClick = [this, handler = click.second](TObject* Sender) { (this->*handler)(Sender); };
    }
    for (const auto& double_click : double_clicks)
        double_click.first->OnDblClick = [this, handler = double_click.second](TObject* Sender) {
            (this->*handler)(Sender);
        };
    kivButton83->OnClick = [this](TObject* Sender) { kivButton83Click(Sender); };
    kivListView1->OnDblClick = [this](TObject* Sender) { kivListView1DblClick(Sender); };
    kivButton8->OnClick = [this](TObject* Sender) { kivButton8Click(Sender); };
    liu_lan_zhao_pian->OnFSCommand = [this](TObject* Sender, const std::string& command,
                                            const std::string& args) {
        liu_lan_zhao_pianFSCommand(Sender, command, args);
    };
    kivButton29->OnClick = [this](TObject* Sender) { kivButton29Click(Sender); };
    kivButton24->OnClick = [this](TObject* Sender) { kivButton24Click(Sender); };
    kivButton30->OnClick = [this](TObject* Sender) { kivButton30Click(Sender); };
    kivButton23->OnClick = [this](TObject* Sender) { kivButton23Click(Sender); };
}

void TForm1::ShowThumbnailPage(int page) { app::ShowThumbnailPage(StripView(), page); }
void TForm1::OpenPhotoBrowser(int k) { app::OpenPhotoBrowser(BrowserView(), k); }
int TForm1::PageInView() const { return app::PageInView(PhotoPageIndex, kivListView1->Items().Count()); }
void TForm1::ShowPaneAfterPhotoChange(bool photos_remain)
{
    app::ShowPaneAfterPhotoChange(DeletionView(), photos_remain);
}
void TForm1::kivButton22Click(TObject*) { app::NextThumbnailPage(BrowserView()); }
void TForm1::kivButton21Click(TObject*) { app::PreviousThumbnailPage(BrowserView()); }
void TForm1::SelectSlot(int slot)
{
    SelectedSlot = slot;
    kivGroupBox7->Invalidate();
}
void TForm1::kivGroupBox8Click(TObject*) { SelectSlot(1); }
void TForm1::kivGroupBox9Click(TObject*) { SelectSlot(2); }
void TForm1::kivGroupBox10Click(TObject*) { SelectSlot(3); }
void TForm1::kivGroupBox11Click(TObject*) { SelectSlot(4); }
void TForm1::kivGroupBox12Click(TObject*) { SelectSlot(5); }
void TForm1::kivGroupBox13Click(TObject*) { SelectSlot(6); }
void TForm1::kivGroupBox14Click(TObject*) { SelectSlot(7); }
void TForm1::kivGroupBox8DblClick(TObject*) { app::BrowseThumbnail(BrowserView(), 1); }
void TForm1::kivGroupBox9DblClick(TObject*) { app::BrowseThumbnail(BrowserView(), 2); }
void TForm1::kivGroupBox10DblClick(TObject*) { app::BrowseThumbnail(BrowserView(), 3); }
void TForm1::kivGroupBox11DblClick(TObject*) { app::BrowseThumbnail(BrowserView(), 4); }
void TForm1::kivGroupBox12DblClick(TObject*) { app::BrowseThumbnail(BrowserView(), 5); }
void TForm1::kivGroupBox13DblClick(TObject*) { app::BrowseThumbnail(BrowserView(), 6); }
void TForm1::kivGroupBox14DblClick(TObject*) { app::BrowseThumbnail(BrowserView(), 7); }
void TForm1::kivButton83Click(TObject*) { app::BrowseSelectedThumbnail(BrowserView()); }
void TForm1::kivListView1DblClick(TObject*) { app::BrowseSelectedRow(BrowserView()); }
void TForm1::kivButton8Click(TObject*) { app::BrowseSelectedRow(BrowserView()); }

void TForm1::liu_lan_zhao_pianFSCommand(TObject*, const std::string& command, const std::string&)
{
    app::ServeBrowserSlotRequest(BrowserView(), command);
}

void TForm1::kivButton29Click(TObject*) { app::DeleteSelectedPhoto(DeletionView()); }
void TForm1::kivButton24Click(TObject*) { app::DeleteThumbnailPhoto(DeletionView()); }
void TForm1::kivButton30Click(TObject*) { app::DeleteAllPhotos(DeletionView(), false); }
void TForm1::kivButton23Click(TObject*) { app::DeleteAllPhotos(DeletionView(), true); }
