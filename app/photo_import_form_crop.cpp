// The crop mode of TMainForm ("zhao_pian_jian_ji"): the photo's thumbnail in
// the render frame Image1 is moved and zoomed inside the picture area
// Panel1, and saving paints the picture area as the photo's picture, as the
// import made it. The stored X and Y are the frame's place in the picture
// area, the import's convention.
#include <exception>
#include <string>

#include "app/image_routines.h"
#include "app/photo_import_form.h"
#include "app/photo_crop.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/edit.h"
#include "platform/ui/image.h"
#include "platform/ui/label.h"
#include "platform/ui/listview.h"
#include "platform/ui/panel.h"
#include "skin/kiv_button.h"
#include "skin/kiv_form.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_page_control.h"
#include "skin/kiv_progress_bar.h"
#include "skin/kiv_tab_sheet.h"
#include "skin/kiv_track_bar.h"

namespace {

// The crop mode's form: the picture area on the left, the list, the
// sliders and the buttons on the right.
constexpr int kCropFormWidth = 791;
constexpr int kCropFormHeight = 617;
constexpr int kSideLeft = 496;
constexpr int kSideWidth = 287;
// The zoom slider runs from the picture area's height to three times it;
// the frame is 43 narrower than high.
constexpr int kZoomMin = app::kPhotoPictureHeight;
constexpr int kZoomMax = 3 * app::kPhotoPictureHeight;
constexpr int kZoomWidthLess = 43;

TkivPageControl* PageWithSheet(TComponent* owner, TControl* parent, const char* name, const char* sheet_name,
                               const char* caption, TRect bounds, TkivTabSheet*& sheet)
{
    auto* pages = new TkivPageControl(owner);
    pages->SetName(name);
    pages->SetParent(parent);
    pages->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    sheet = new TkivTabSheet(owner);
    sheet->SetName(sheet_name);
    sheet->SetPageControl(pages);
    sheet->SetCaption(caption);
    pages->SetActivePage(sheet);
    return pages;
}

// Sets a slider's range and position without its change handler hearing it.
void SetQuietly(TkivTrackBar* bar, int min, int max, int position)
{
    TNotifyEvent change = std::move(bar->OnChange);
    bar->OnChange = nullptr;
    bar->SetMin(std::min(min, bar->Min()));
    bar->SetMax(max);
    bar->SetMin(min);
    bar->SetPosition(position);
    bar->OnChange = std::move(change);
}

}  // namespace

void TMainForm::CreateCropControls()
{
    kivPageControl2 = PageWithSheet(this, kivForm1, "kivPageControl2", "kivTabSheet2", "导入的照片",
                                    Bounds(kSideLeft, 28, kSideWidth, 300), kivTabSheet2);
    kivListView1 = new TkivListView(this);
    kivListView1->SetName("kivListView1");
    kivListView1->SetParent(kivTabSheet2);
    kivListView1->SetBounds(4, 4, kSideWidth - 12, 300 - TkivPageControl::kTabHeight - 12);
    kivListView1->SetViewStyle(vsReport);
    TListColumn* column = kivListView1->Columns().Add();
    column->SetCaption("照片名称");
    column->SetWidth(200);
    kivListView1->SetRowSelect(true);
    kivListView1->SetReadOnly(true);
    kivListView1->OnDblClick = [this](TObject* Sender) { kivListView1DblClick(Sender); };

    auto slider = [this](TkivTabSheet* sheet, const char* name) {
        auto* bar = new TkivTrackBar(this);
        bar->SetName(name);
        bar->SetParent(sheet);
        bar->SetBounds(8, 6, kSideWidth - 20, 30);
        return bar;
    };
    kivPageControl3 = PageWithSheet(this, kivForm1, "kivPageControl3", "kivTabSheet3", "左右移动",
                                    Bounds(kSideLeft, 334, kSideWidth, 64), kivTabSheet3);
    kivTrackBar1 = slider(kivTabSheet3, "kivTrackBar1");
    kivPageControl4 = PageWithSheet(this, kivForm1, "kivPageControl4", "kivTabSheet4", "上下移动",
                                    Bounds(kSideLeft, 404, kSideWidth, 64), kivTabSheet4);
    kivTrackBar2 = slider(kivTabSheet4, "kivTrackBar2");
    kivPageControl5 = PageWithSheet(this, kivForm1, "kivPageControl5", "kivTabSheet5", "放大缩小",
                                    Bounds(kSideLeft, 474, kSideWidth, 114), kivTabSheet5);
    kivTrackBar3 = slider(kivTabSheet5, "kivTrackBar3");
    kivTrackBar1->OnChange = [this](TObject* Sender) { kivTrackBar1Change(Sender); };
    kivTrackBar2->OnChange = [this](TObject* Sender) { kivTrackBar2Change(Sender); };
    kivTrackBar3->OnChange = [this](TObject* Sender) { kivTrackBar3Change(Sender); };

    auto button = [this](const char* name, const char* caption, int left) {
        auto* b = new TkivButton(this);
        b->SetName(name);
        b->SetParent(kivTabSheet5);
        b->SetBounds(left, 48, 120, 25);
        b->SetCaption(caption);
        return b;
    };
    kivButton1 = button("kivButton1", "保存剪辑", 12);
    kivButton2 = button("kivButton2", "返           回", 148);
    kivButton1->OnClick = [this](TObject* Sender) { kivButton1Click(Sender); };
    kivButton2->OnClick = [this](TObject* Sender) { kivButton2Click(Sender); };

    kivMessageDialog1 = new TkivMessageDialog(this);
    kivMessageDialog1->SetName("kivMessageDialog1");
}

void TMainForm::ShowCropMode()
{
    // The import writes its waiting text into the caption before each showing.
    kivForm1->SetCaption("照片剪辑");
    Label1->SetVisible(false);
    kivProgressBar1->SetVisible(false);
    SetClientSize(kCropFormWidth, kCropFormHeight);
    kivPageControl1->SetTop(28);
    kivPageControl1->SetActivePage(kivTabSheet1);
    for (TkivPageControl* pages : {kivPageControl2, kivPageControl3, kivPageControl4, kivPageControl5})
        pages->SetVisible(true);
    crop_pending_ = true;
}

void TMainForm::StartCropMode()
{
    // Once per showing: activating the form again (after a message box, or
    // the user switching windows) keeps the photo on show.
    crop_row_ = -1;
    kivListView1->Items().Clear();
    const TListItems& photos = main_->photo_list.Items();
    for (int i = 0; i < photos.Count(); ++i) {
        TListItem* row = kivListView1->Items().Add();
        row->SetCaption(photos[i]->Caption());
        kivListView1->SetSelected(row);
    }
    kivListView1->SetItemIndex(photos.Count() > 0 ? 0 : -1);
    // Nothing to move or save before a photo is loaded; the way out stays.
    SetCropControlsEnabled(false);
    kivListView1->SetEnabled(true);
    kivButton2->SetEnabled(true);
    SetQuietly(kivTrackBar3, kZoomMin, kZoomMax, 0);
}

void TMainForm::SetCropControlsEnabled(bool enabled)
{
    for (TControl* control : std::initializer_list<TControl*>{kivListView1, kivTrackBar1, kivTrackBar2,
                                                              kivTrackBar3, kivButton1, kivButton2})
        control->SetEnabled(enabled);
}

void TMainForm::SetCropMoveRanges()
{
    // The sliders stand where the frame is, so that the first move starts
    // from the place on show.
    SetQuietly(kivTrackBar1, -Image1->Width(), Image1->Width(), Image1->Left());
    SetQuietly(kivTrackBar2, -Image1->Height(), Image1->Height(), Image1->Top());
}

void TMainForm::RenderCropThumbnail()
{
    const TListItems& photos = main_->photo_list.Items();
    const TListItem* photo = photos[crop_row_];
    Edit1->SetText(photo->SubItems().Count() > 0 ? photo->SubItems()[0] : std::string());
    App().PostMessage([this] { Perform(app::kRenderPhotoMessage); });
}

void TMainForm::kivListView1DblClick(TObject*)
{
    const int row = kivListView1->ItemIndex();
    if (!InCropMode() || row < 0 || row >= main_->photo_list.Items().Count()) return;
    SetCropControlsEnabled(false);
    crop_row_ = row;
    std::optional<app::FrameBounds> stored;
    if (row < main_->crop_rows.Count())
        stored = app::ReadClipGeometry(main_->crop_rows[row]->SubItems().Items());
    const app::FrameBounds frame = stored.value_or(app::ImportRenderFrame());
    Image1->SetBounds(frame.left, frame.top, frame.width, frame.height);
    App().ProcessMessages();
    RenderCropThumbnail();
    SetCropMoveRanges();
    SetQuietly(kivTrackBar3, kZoomMin, kZoomMax, Image1->Height());
    SetCropControlsEnabled(true);
}

void TMainForm::kivTrackBar1Change(TObject*) { Image1->SetLeft(kivTrackBar1->Position()); }

void TMainForm::kivTrackBar2Change(TObject*) { Image1->SetTop(kivTrackBar2->Position()); }

void TMainForm::kivTrackBar3Change(TObject*)
{
    if (crop_row_ < 0 || !main_ || crop_row_ >= main_->photo_list.Items().Count()) return;
    SetCropControlsEnabled(false);
    const int height = kivTrackBar3->Position();
    Image1->SetBounds(Image1->Left(), Image1->Top(), height - kZoomWidthLess, height);
    App().ProcessMessages();
    RenderCropThumbnail();
    SetCropMoveRanges();
    SetCropControlsEnabled(true);
}

void TMainForm::kivButton1Click(TObject*)
{
    if (crop_row_ < 0 || !main_ || crop_row_ >= main_->crop_rows.Count()) return;
    // The thumbnail asked for last is in the frame before it is painted.
    App().ProcessMessages();
    const std::filesystem::path bmp = main_->work_path() / "zpyjj" / "zpyjj.bmp";
    bool written = true;
    try {
        TBitmap area(Panel1->Width(), Panel1->Height());
        Panel1->PaintTo(area, 0, 0);
        area.SaveToFile(bmp);
        app::ConvertImageToJpeg(bmp, main_->photo_picture(crop_row_ + 1));
    } catch (const std::exception&) {
        written = false;
    }
    core::DeleteFile(bmp);
    App().ProcessMessages();
    if (!written) {
        // The crop data stays with the picture that is there.
        skin::Tell(*kivMessageDialog1, "保存剪辑", "保存剪辑失败: 照片文件无法写入.");
        return;
    }
    app::StoreClipGeometry(main_->crop_rows[crop_row_]->SubItems(),
                           {Image1->Left(), Image1->Top(), Image1->Width(), Image1->Height()});
    main_->page_index = 0;
    main_->refresh_thumbnails(0);
    SetCropMoveRanges();
}

void TMainForm::kivButton2Click(TObject*) { Close(); }
