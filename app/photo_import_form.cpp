#include "app/photo_import_form.h"

#include <exception>
#include <string>

#include "app/image_routines.h"
#include "app/photo_import.h"
#include "app/product_title.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/core/timer.h"
#include "platform/gfx/bitmap.h"
#include "platform/shell/thumbnail.h"
#include "platform/ui/combobox.h"
#include "platform/ui/edit.h"
#include "platform/ui/form_building.h"
#include "platform/ui/image.h"
#include "platform/ui/label.h"
#include "platform/ui/listview.h"
#include "platform/ui/panel.h"
#include "skin/kiv_check_box.h"
#include "skin/kiv_form.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_page_control.h"
#include "skin/kiv_progress_bar.h"
#include "skin/kiv_tab_sheet.h"

TMainForm* MainForm = nullptr;

namespace {

using ui::Place;

int NumberIn(const TEdit& edit)
{
    try {
        return std::stoi(edit.Text());
    } catch (const std::exception&) {
        return 0;
    }
}

}  // namespace

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner)
{
    SetName("MainForm");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(525, 216);

    kivForm1 = Place<TkivForm>(this, this, "kivForm1", 0, 0, 525, 216);
    kivForm1->SetCaption(app::kImportCaption);
    kivForm1->UseProgramSkin();
    kivForm1->SetTitleBarButtons({kivClose});
    kivForm1->SetAlign(alClient);

    Label1 = Place<TLabel>(this, kivForm1, "Label1", 24, 64, 477, 17);
    Label1->SetCaption("正在导入照片,可能会花一点时间,请耐心等待...");
    kivProgressBar1 = Place<TkivProgressBar>(this, kivForm1, "kivProgressBar1", 24, 104, 477, 22);

    // The picture area lives on a page of its own; in the import it sits
    // below the visible client area, where it still paints.
    kivPageControl1 = Place<TkivPageControl>(this, kivForm1, "kivPageControl1", 8, 32, 480, 560);
    kivTabSheet1 = new TkivTabSheet(this);
    kivTabSheet1->SetName("kivTabSheet1");
    kivTabSheet1->SetPageControl(kivPageControl1);
    kivTabSheet1->SetCaption("照片");
    Panel1 =
        Place<TPanel>(this, kivTabSheet1, "Panel1", 0, 0, app::kPhotoPictureWidth, app::kPhotoPictureHeight);
    Panel1->SetBevelOuter(bvNone);
    Panel1->SetCaption("");
    Panel1->SetColor(clWindow);
    constexpr app::FrameBounds frame = app::ImportRenderFrame();
    Image1 = Place<TImage>(this, Panel1, "Image1", frame.left, frame.top, frame.width, frame.height);
    Image1->SetCenter(true);

    auto hidden_edit = [this](const char* name, const char* text) {
        auto* edit = Place<TEdit>(this, kivForm1, name, 0, 0, 100, 21);
        edit->SetText(text);
        edit->SetVisible(false);
        return edit;
    };
    Edit1 = hidden_edit("Edit1", "");
    Edit2 = hidden_edit("Edit2", "0");

    ComboBox1 = Place<TComboBox>(this, kivForm1, "ComboBox1", 0, 0, 100, 21);
    ComboBox1->SetStyle(csDropDownList);
    for (const char* depth : {"pf4Bit", "pf8Bit", "pf16Bit", "pf24Bit", "pf32Bit"})
        ComboBox1->Items().Add(depth);
    ComboBox1->SetVisible(false);

    auto check_box = [this](const char* name, const char* caption, bool checked) {
        auto* box = Place<TkivCheckBox>(this, this, name, 0, 0, 120, 17);
        box->SetCaption(caption);
        box->SetChecked(checked);
        box->SetVisible(false);
        return box;
    };
    CheckBox1 = check_box("CheckBox1", "IEIFLAG_ASPECT", false);
    CheckBox2 = check_box("CheckBox2", "IEIFLAG_OFFLINE", false);
    CheckBox3 = check_box("CheckBox3", "IEIFLAG_SCREEN", true);
    CheckBox4 = check_box("CheckBox4", "IEIFLAG_QUALITY", false);
    CheckBox5 = check_box("CheckBox5", "IEIFLAG_ORIGSIZE", false);
    CheckBox1->OnClick = [this](TObject* Sender) { CheckBox1Click(Sender); };
    CheckBox3->OnClick = [this](TObject* Sender) { CheckBox1Click(Sender); };

    Timer1 = ui::MakeTimer(this, "Timer1", 1);
    Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };

    CreateCropControls();

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
}

TMainForm::~TMainForm()
{
    if (MainForm == this) MainForm = nullptr;
}

void TMainForm::FormCreate(TObject*)
{
    SetCaption(app::kMainWindowTitle);
    ComboBox1->SetItemIndex(ComboBox1->Items().Count() - 1);
    CheckBox1->SetTag(4);
    CheckBox2->SetTag(8);
    CheckBox3->SetTag(32);
    CheckBox4->SetTag(512);
    CheckBox5->SetTag(64);
}

bool TMainForm::InImportMode() const { return main_ && main_->mode() == app::kImportMode; }

bool TMainForm::InCropMode() const { return main_ && main_->mode() == app::kCropMode; }

void TMainForm::FormShow(TObject*)
{
    if (InCropMode()) {
        ShowCropMode();
        return;
    }
    if (!InImportMode()) return;
    Label1->SetVisible(true);
    kivProgressBar1->SetVisible(true);
    SetClientSize(525, 216);
    kivPageControl1->SetTop(360);
    kivPageControl1->SetActivePage(kivTabSheet1);
    // The crop editor's pages are not part of the import.
    for (int i = 0; i < kivForm1->ControlCount(); ++i) {
        auto* pages = dynamic_cast<TkivPageControl*>(kivForm1->Controls(i));
        if (pages && pages != kivPageControl1) pages->SetVisible(false);
    }
    import_pending_ = true;
}

void TMainForm::FormActivate(TObject*)
{
    if (crop_pending_ && InCropMode()) {
        crop_pending_ = false;
        StartCropMode();
        return;
    }
    // Once per showing: activating the form again (the user switching
    // windows) must not import the photos a second time.
    if (!import_pending_ || !InImportMode()) return;
    import_pending_ = false;
    RunImport();
}

void TMainForm::RunImport()
{
    const TStrings& files = main_->chosen_files;
    failed_renders_ = 0;
    unread_photos_ = {};
    kivProgressBar1->SetMin(0);
    kivProgressBar1->SetMax(files.Count());
    kivProgressBar1->SetPosition(0);
    Edit2->SetText(std::to_string(main_->photo_list.Items().Count()));

    constexpr app::FrameBounds frame = app::ImportRenderFrame();
    for (int i = 0; i < files.Count(); ++i) {
        Panel1->SetBounds(Panel1->Left(), Panel1->Top(), app::kPhotoPictureWidth, app::kPhotoPictureHeight);
        Image1->SetBounds(frame.left, frame.top, frame.width, frame.height);
        // The render posted for the previous photo runs here.
        App().ProcessMessages();
        const std::string chosen = files[i];
        const std::string source = app::PhotoSourcePath(chosen, main_->photo_copy_folder());
        Edit1->SetText(source);
        App().PostMessage([this] { Perform(app::kRenderPhotoMessage); });
        kivProgressBar1->SetPosition(kivProgressBar1->Position() + 1);
    }
    App().ProcessMessages();
    Timer1->SetEnabled(true);
}

intptr_t TMainForm::Perform(unsigned Msg, intptr_t WParam, intptr_t LParam)
{
    if (Msg == app::kRenderPhotoMessage) {
        WMRenderPhoto();
        return 0;
    }
    return TForm::Perform(Msg, WParam, LParam);
}

void TMainForm::WMRenderPhoto()
{
    if (!main_) return;
    const std::string mode = main_->mode();
    if (mode == app::kImportMode || mode == app::kCropMode) RenderPhoto(Edit1->Text());
}

int TMainForm::GetExtractFlags() const
{
    int flags = 0;
    for (TkivCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5})
        if (box->Parent() == this && box->Checked()) flags |= box->Tag();
    return flags;
}

int TMainForm::ColourDepth() const
{
    switch (ComboBox1->ItemIndex()) {
    case 0: return 4;
    case 1: return 8;
    case 2: return 16;
    case 3: return 24;
    default: return 32;
    }
}

void TMainForm::CheckBox1Click(TObject* Sender)
{
    auto* box = dynamic_cast<TkivCheckBox*>(Sender);
    if (!box || !box->Checked()) return;
    if (box->Tag() == 4)
        CheckBox3->SetChecked(false);
    else if (box->Tag() == 32)
        CheckBox1->SetChecked(false);
}

void TMainForm::RenderPhoto(const std::string& path)
{
    // The thumbnails are always 32-bit pictures scaled to fit the frame; a
    // file without one shows the picture icon, never the previous photo.
    shell::ThumbnailFault fault = shell::ThumbnailFault::None;
    Image1->Picture().Assign(shell::ThumbnailOrIcon(path, {Image1->Width(), Image1->Height()}, &fault));
    if (!InImportMode()) return;

    const int number = NumberIn(*Edit2) + 1;
    const std::filesystem::path work = main_->work_path();
    const std::filesystem::path bmp = work / "zpyjj" / "zpyjj.bmp";
    const std::filesystem::path picture = main_->photo_picture(number);
    try {
        TBitmap area(Panel1->Width(), Panel1->Height());
        Panel1->PaintTo(area, 0, 0);
        area.SaveToFile(bmp);
        app::ConvertImageToJpeg(bmp, picture);
    } catch (const std::exception&) {
        // No picture, so no rows either: the numbering stays without gaps.
        core::DeleteFile(bmp);
        ++failed_renders_;
        return;
    }
    core::DeleteFile(bmp);
    if (fault == shell::ThumbnailFault::Unreadable) unread_photos_.unreadable.push_back(path);
    if (fault == shell::ThumbnailFault::TooLarge) unread_photos_.too_large.push_back(path);

    // The rows go in with the picture, never without it.
    const std::string caption = app::PhotoCaption(path);
    TListItem* crop = main_->crop_rows.Add();
    crop->SetCaption(caption);
    crop->SubItems().Add(path);
    const std::vector<std::string> crop_texts = app::ImportCropTexts();
    crop->SubItems().Add(crop_texts[0]);
    crop->SubItems().Add(std::to_string(Image1->Left()));
    crop->SubItems().Add(std::to_string(Image1->Top()));
    crop->SubItems().Add(std::to_string(Image1->Width()));
    crop->SubItems().Add(std::to_string(Image1->Height()));
    TListItem* row = main_->photo_list.Items().Add();
    row->SetCaption(caption);
    row->SubItems().Add(path);
    main_->photo_list.SetItemIndex(0);
    Edit2->SetText(std::to_string(number));
    App().ProcessMessages();
}

void TMainForm::Timer1Timer(TObject*)
{
    Timer1->SetEnabled(false);
    if (main_) {
        core::DeleteFile(main_->work_path() / "jjzp" / "zpjj.jpg");
        core::DeleteFile(main_->work_path() / "zpyjj" / "zpyjj.bmp");
    }
    Close();
}
