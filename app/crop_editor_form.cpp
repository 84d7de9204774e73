#include "app/crop_editor_form.h"

#include <algorithm>
#include <exception>

#include "app/image_routines.h"
#include "app/photo_import.h"
#include "app/work_folder.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/listview.h"
#include "platform/ui/scrollbox.h"
#include "skin/kiv_button.h"
#include "skin/kiv_form.h"
#include "skin/kiv_group_box.h"
#include "skin/kiv_image_panel.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"
#include "skin/kiv_track_bar.h"
#include "platform/ui/form_building.h"

TForm3* Form3 = nullptr;

namespace {

constexpr int kSideWidth = 170;  // the list and the slider boxes
constexpr int kSliderBoxHeight = 64;
constexpr int kButtonBoxHeight = 118;

using ui::Place;

// Sets a slider's range without its change handler hearing the steps.
void SetSliderRange(TkivTrackBar* bar, int min, int max)
{
    TNotifyEvent change = std::move(bar->OnChange);
    bar->OnChange = nullptr;
    bar->SetMin(std::min(min, bar->Min()));
    bar->SetMax(max);
    bar->SetMin(min);
    bar->OnChange = std::move(change);
}

}  // namespace

TForm3::TForm3(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Form3");
    SetCaption(app::kCropEditorCaption);
    SetBorderStyle(bsSizeable);
    SetBounds(0, 0, 800, 600);
    SetWindowState(wsMaximized);

    kivForm1 = Place<TkivForm>(this, this, "kivForm1", 0, 0, 800, 600);
    kivForm1->SetAlign(alClient);
    kivForm1->SetCaption(app::kCropEditorCaption);
    kivForm1->UseProgramSkin();
    kivForm1->SetTitleBarButtons({kivClose});

    kivImagePanel1 = Place<TkivImagePanel>(this, kivForm1, "kivImagePanel1", 3, 35, 600, 500);
    kivImagePanel1->SetColor(clWhite);
    kivImagePanel1->SetCaption("");
    kivImagePanel1->SetBevelOuter(bvNone);
    ScrollBox1 = Place<TScrollBox>(this, kivImagePanel1, "ScrollBox1", 0, 0, app::kClipViewerWidth,
                                   app::kClipViewerHeight);
    ScrollBox1->SetBorderStyle(bsNone);
    ScrollBox1->SetAutoScroll(false);
    ScrollBox1->SetAutoSize(true);
    ShockwaveFlash1 = Place<TShockwaveFlash>(this, ScrollBox1, "ShockwaveFlash1", 0, 0, app::kClipViewerWidth,
                                             app::kClipViewerHeight);
    ShockwaveFlash1->OnFSCommand = [this](TObject* Sender, const std::string& command,
                                          const std::string& args) {
        ShockwaveFlash1FSCommand(Sender, command, args);
    };
    // The frame's lines lie over the viewer; hidden until the first layout.
    TkivImagePanel** lines[] = {&kivImagePanel2, &kivImagePanel3, &kivImagePanel4, &kivImagePanel5};
    for (int i = 0; i < 4; ++i) {
        *lines[i] = Place<TkivImagePanel>(this, kivImagePanel1,
                                          ("kivImagePanel" + std::to_string(2 + i)).c_str(), 0, 0, 1, 1);
        (*lines[i])->SetCaption("");
        (*lines[i])->SetBevelOuter(bvNone);
        (*lines[i])->SetVisible(false);
    }
    kivImagePanel2->SetColor(clRed);

    kivGroupBox1 = Place<TkivGroupBox>(this, kivForm1, "kivGroupBox1", 600, 30, kSideWidth, 200);
    kivGroupBox1->SetCaption("照片列表");
    kivListView1 = Place<TkivListView>(this, kivGroupBox1, "kivListView1", 6, 16, kSideWidth - 12, 180);
    kivListView1->SetViewStyle(vsReport);
    TListColumn* column = kivListView1->Columns().Add();
    column->SetCaption("照片名称");
    column->SetWidth(145);
    kivListView1->SetRowSelect(true);
    kivListView1->SetReadOnly(true);
    kivListView1->OnDblClick = [this](TObject* Sender) { kivListView1DblClick(Sender); };

    auto slider_box = [this](const char* box_name, const char* caption, const char* bar_name,
                             TkivTrackBar*& bar) {
        auto* box = Place<TkivGroupBox>(this, kivForm1, box_name, 600, 0, kSideWidth, kSliderBoxHeight);
        box->SetCaption(caption);
        bar = Place<TkivTrackBar>(this, box, bar_name, 6, 18, kSideWidth - 12, kSliderBoxHeight - 24);
        return box;
    };
    kivGroupBox2 = slider_box("kivGroupBox2", "左右移动", "kivTrackBar1", kivTrackBar1);
    kivGroupBox3 = slider_box("kivGroupBox3", "上下移动", "kivTrackBar2", kivTrackBar2);
    kivGroupBox4 = slider_box("kivGroupBox4", "放大缩小", "kivTrackBar3", kivTrackBar3);
    kivTrackBar1->OnChange = [this](TObject* Sender) { kivTrackBar1Change(Sender); };
    kivTrackBar2->OnChange = [this](TObject* Sender) { kivTrackBar2Change(Sender); };
    kivTrackBar3->OnChange = [this](TObject* Sender) { kivTrackBar3Change(Sender); };

    kivGroupBox5 = Place<TkivGroupBox>(this, kivForm1, "kivGroupBox5", 600, 0, kSideWidth, kButtonBoxHeight);
    auto button = [this](const char* name, const char* caption, int top) {
        auto* b = Place<TkivButton>(this, kivGroupBox5, name, 20, top, kSideWidth - 40, 25);
        b->SetCaption(caption);
        return b;
    };
    kivButton1 = button("kivButton1", "保存剪辑", 18);
    kivButton2 = button("kivButton2", "清除剪辑", 51);
    kivButton3 = button("kivButton3", "返       回", 84);
    kivButton1->OnClick = [this](TObject* Sender) { kivButton1Click(Sender); };
    kivButton2->OnClick = [this](TObject* Sender) { kivButton2Click(Sender); };
    kivButton3->OnClick = [this](TObject* Sender) { kivButton3Click(Sender); };

    kivMessageDialog1 = new TkivMessageDialog(this);
    kivMessageDialog1->SetName("kivMessageDialog1");
    kivMessageDialog2 = new TkivMessageDialog(this);
    kivMessageDialog2->SetName("kivMessageDialog2");

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnResize = [this](TObject* Sender) { FormResize(Sender); };
}

TForm3::~TForm3()
{
    *alive_ = false;
    if (Form3 == this) Form3 = nullptr;
}

// --- opening and layout --------------------------------------------------------------------------

void TForm3::FormShow(TObject*)
{
    kivListView1->Items().Clear();
    const int photos = main_ ? main_->photos.Count() : 0;
    for (int i = 0; i < photos; ++i) {
        TListItem* row = kivListView1->Items().Add();
        row->SetCaption(main_->photos[i]->Caption());
        kivListView1->SetSelected(row);
    }
    kivListView1->SetItemIndex(photos > 0 ? 0 : -1);
    ClipMovie = "zpjj1";
    // The layout and photo 1 follow once the window is up at its size.
    std::weak_ptr<bool> alive = alive_;
    App().PostMessage([this, alive] {
        if (!alive.expired() && *alive.lock() && Visible()) FormResize(this);
    });
}

void TForm3::FormResize(TObject*)
{
    // A hidden form is laid out when it is shown; a resize while a photo
    // loads only lays out.
    if (!Visible()) return;
    const int wf = Width(), hf = Height();
    const int left = wf - kivGroupBox5->Width() - 10;
    kivGroupBox5->SetBounds(left, hf - kivGroupBox5->Height() - 20, kivGroupBox5->Width(),
                            kivGroupBox5->Height());
    int top = kivGroupBox5->Top();
    for (TkivGroupBox* box : {kivGroupBox4, kivGroupBox3, kivGroupBox2}) {
        top -= box->Height();
        box->SetBounds(left, top, box->Width(), box->Height());
    }
    const int list_height = std::max(0, kivGroupBox2->Top() - 30);
    kivGroupBox1->SetBounds(left, 30, kivGroupBox1->Width(), list_height);
    kivListView1->SetBounds(kivListView1->Left(), kivListView1->Top(), kivListView1->Width(),
                            std::max(0, list_height - 10 - kivListView1->Top()));

    const int view_width = std::max(1, wf - 3 - kivGroupBox1->Width() - 12);
    const int view_height = std::max(1, hf - 35 - 20);
    kivImagePanel1->SetBounds(3, 35, view_width, view_height);
    ScrollBox1->SetLeft(0);
    ScrollBox1->SetTop(0);

    frame_ = app::ClipFrameFor(view_width, view_height);
    kivImagePanel2->SetBounds(frame_.left, frame_.top, 1, frame_.height);
    kivImagePanel3->SetBounds(frame_.left, frame_.top, frame_.width, 1);
    kivImagePanel4->SetBounds(frame_.left + frame_.width, frame_.top, 1, frame_.height);
    kivImagePanel5->SetBounds(frame_.left, frame_.top + frame_.height, frame_.width, 1);
    for (TkivImagePanel* line : {kivImagePanel2, kivImagePanel3, kivImagePanel4, kivImagePanel5}) {
        line->SetColor(kivImagePanel2->Color());
        line->SetVisible(true);
        line->BringToFront();
    }
    SetSliderRange(kivTrackBar3, app::kClipZoomMin, app::kClipZoomMax);
    if (busy_) return;
    LoadClipPhoto();
}

// --- loading ---------------------------------------------------------------------------------------------

std::string TForm3::RowSource(int row) const
{
    const TListItems& rows = main_->photos;
    if (row < 0 || row >= rows.Count() || rows[row]->SubItems().Count() == 0) return {};
    return rows[row]->SubItems()[0];
}

app::FrameBounds TForm3::RowGeometry(int row) const
{
    const TListItems& rows = main_->crop_rows;
    std::optional<app::FrameBounds> geometry;
    if (row >= 0 && row < rows.Count()) geometry = app::ReadClipGeometry(rows[row]->SubItems().Items());
    // Crop data that cannot be read shows the whole photo, as a reset does.
    return geometry.value_or(app::ClipResetGeometry());
}

void TForm3::StoreGeometry(int row, const app::FrameBounds& geometry)
{
    TListItems& rows = main_->crop_rows;
    if (row < 0 || row >= rows.Count()) return;
    app::StoreClipGeometry(rows[row]->SubItems(), geometry);
}

void TForm3::PlaceViewer(const app::FrameBounds& geometry)
{
    ShockwaveFlash1->SetBounds(0, 0, geometry.width, geometry.height);
    ScrollBox1->SetBounds(geometry.left, geometry.top, geometry.width, geometry.height);
}

bool TForm3::ViewerHandshake()
{
    ClipLoaded.clear();
    ClipMovie = ClipMovie == "zpjj1" ? "zpjj2" : "zpjj1";
    ShockwaveFlash1->SetMovie((main_->work_dir() / "jjzp" / (ClipMovie + ".swf")).string());
    if (ScrollBox1->CanFocus()) ScrollBox1->SetFocus();
    if (ShockwaveFlash1->CanFocus()) ShockwaveFlash1->SetFocus();
    return App().PumpUntil([this] { return ClipLoaded == "wan_cheng"; }, app::kViewerLoadTimeoutMs);
}

void TForm3::ShockwaveFlash1FSCommand(TObject*, const std::string& command, const std::string&)
{
    if (command == "wan_cheng") ClipLoaded = "wan_cheng";
}

bool TForm3::ShowRow(int row, const app::FrameBounds& geometry)
{
    shown_ = false;
    ClipLoaded.clear();
    const std::filesystem::path work = main_->work_dir();
    const std::string source = RowSource(row);
    // A photo that cannot be staged must not show the one staged before:
    // saving would write that photo into this one's picture.
    if (source.empty() || !app::StageClipPhoto(work, source) || !app::StagedClipPhotoReadable(work)) {
        core::DeleteFile(work / "jjzp" / "zpjj.jpg");
        ShockwaveFlash1->SetMovie("");
        ScrollBox1->SetVisible(false);
        Tell(kivMessageDialog1, app::kCropEditorCaption,
             "无法读取照片 \"" + source + "\", 不能剪辑这张照片.");
        return false;
    }
    PlaceViewer(geometry);
    ScrollBox1->SetVisible(true);
    if (!ViewerHandshake()) {
        ShockwaveFlash1->SetMovie("");
        ScrollBox1->SetVisible(false);
        Tell(kivMessageDialog1, app::kCropEditorCaption, "照片查看器没有响应, 不能剪辑这张照片.");
        return false;
    }
    shown_ = true;
    return true;
}

void TForm3::LoadClipPhoto()
{
    ClipRow = 0;
    if (!main_ || main_->photos.Count() == 0) {
        // Nothing to crop: an empty view, only "返       回" works.
        shown_ = false;
        ScrollBox1->SetVisible(false);
        for (TControl* control : std::initializer_list<TControl*>{kivButton1, kivButton2, kivTrackBar1,
                                                                  kivTrackBar2, kivTrackBar3})
            control->SetEnabled(false);
        return;
    }
    SetBusy(true);
    // Showing a photo leaves its picture as it is: only saving and clearing
    // write pictures.
    if (ShowRow(ClipRow, RowGeometry(ClipRow))) {
        SetMoveRanges();
        ShowZoom();
    }
    SetBusy(false);
}

void TForm3::kivListView1DblClick(TObject*)
{
    if (busy_ || !main_) return;
    const int row = kivListView1->ItemIndex();
    if (row < 0 || row >= main_->photos.Count()) return;
    // The row double-clicked becomes the one on show, and the one saving
    // and clearing write.
    ClipRow = row;
    SetBusy(true);
    if (ShowRow(ClipRow, RowGeometry(ClipRow))) {
        SetMoveRanges();
        ShowZoom();
    }
    SetBusy(false);
}

// --- sliders ------------------------------------------------------------------------------------------------

void TForm3::SetMoveRanges()
{
    const int left = ScrollBox1->Left(), top = ScrollBox1->Top();
    const app::SliderRange across = app::ClipMoveRange(kivImagePanel1->Width(), ShockwaveFlash1->Width());
    const app::SliderRange down = app::ClipMoveRange(kivImagePanel1->Height(), ShockwaveFlash1->Height());
    SetSliderRange(kivTrackBar1, across.min, across.max);
    SetSliderRange(kivTrackBar2, down.min, down.max);
    kivTrackBar1->SetPosition(left);
    kivTrackBar2->SetPosition(top);
    // The viewer follows the clamped positions, also when the sliders
    // stood there already.
    kivTrackBar1Change(kivTrackBar1);
    kivTrackBar2Change(kivTrackBar2);
}

void TForm3::ShowZoom()
{
    TNotifyEvent change = std::move(kivTrackBar3->OnChange);
    kivTrackBar3->OnChange = nullptr;
    kivTrackBar3->SetPosition(ShockwaveFlash1->Width());
    kivTrackBar3->OnChange = std::move(change);
}

void TForm3::kivTrackBar1Change(TObject*) { ScrollBox1->SetLeft(kivTrackBar1->Position()); }

void TForm3::kivTrackBar2Change(TObject*) { ScrollBox1->SetTop(kivTrackBar2->Position()); }

void TForm3::kivTrackBar3Change(TObject*)
{
    const int size = kivTrackBar3->Position();
    PlaceViewer({ScrollBox1->Left(), ScrollBox1->Top(), size, size});
    if (ScrollBox1->CanFocus()) ScrollBox1->SetFocus();
    if (ShockwaveFlash1->CanFocus()) ShockwaveFlash1->SetFocus();
    SetMoveRanges();
}

// --- saving, clearing, returning ------------------------------------------------------------------------

bool TForm3::WritePicture(int row, int width, int height, int x, int y)
{
    const std::filesystem::path work = main_->work_dir();
    const std::filesystem::path bmp = work / "zpyjj" / "zpyjj.bmp";
    try {
        // What the view area shows where the viewer does not reach: white.
        TBitmap picture(width, height, clWhite);
        ShockwaveFlash1->PaintTo(picture, x, y);
        picture.SaveToFile(bmp);
        app::ConvertImageToJpeg(bmp, app::PhotoFile(work, row + 1));
    } catch (const std::exception&) {
        core::DeleteFile(bmp);
        return false;
    }
    core::DeleteFile(bmp);
    return true;
}

void TForm3::kivButton1Click(TObject*)
{
    if (busy_ || !shown_ || !main_) return;
    SetBusy(true);
    const app::FrameBounds viewer{ScrollBox1->Left(), ScrollBox1->Top(), ShockwaveFlash1->Width(),
                                  ShockwaveFlash1->Height()};
    const bool written =
        WritePicture(ClipRow, frame_.width, frame_.height, app::ClipPaintOffset(viewer.left, frame_.left),
                     app::ClipPaintOffset(viewer.top, frame_.top));
    App().ProcessMessages();
    if (written) {
        StoreGeometry(ClipRow, viewer);
        main_->refresh_thumbnails();
        Tell(kivMessageDialog1, "保存剪辑", "保存剪辑成功.");
    } else {
        // The crop data stays with the picture that is there.
        Tell(kivMessageDialog1, "保存剪辑", "保存剪辑失败: 照片文件无法写入.");
    }
    SetBusy(false);
}

void TForm3::kivButton2Click(TObject*)
{
    if (busy_ || !main_ || ClipRow >= main_->photos.Count()) return;
    SetBusy(true);
    ScrollBox1->SetLeft(0);
    ScrollBox1->SetTop(0);
    const app::FrameBounds reset = app::ClipResetGeometry();
    if (ShowRow(ClipRow, reset)) {
        // The centre of the viewer, where the viewer movie shows the photo.
        const bool written = WritePicture(ClipRow, app::kClipResetPictureWidth, app::kClipResetPictureHeight,
                                          app::kClipResetPictureWidth / 2 - ShockwaveFlash1->Width() / 2,
                                          app::kClipResetPictureHeight / 2 - ShockwaveFlash1->Height() / 2);
        SetMoveRanges();
        ShowZoom();
        if (written) {
            StoreGeometry(ClipRow, {ScrollBox1->Left(), ScrollBox1->Top(), reset.width, reset.height});
            main_->refresh_thumbnails();
            Tell(kivMessageDialog2, "清除剪辑", "清除剪辑成功.");
        } else {
            Tell(kivMessageDialog2, "清除剪辑", "清除剪辑失败: 照片文件无法写入.");
        }
    }
    SetBusy(false);
}

void TForm3::kivButton3Click(TObject*) { Close(); }

// --- helpers ----------------------------------------------------------------------------------------------------

void TForm3::SetBusy(bool busy)
{
    busy_ = busy;
    kivListView1->SetEnabled(!busy);
    kivButton2->SetEnabled(!busy);
    kivButton3->SetEnabled(!busy);
    // Saving needs a photo on show; so do the sliders.
    const bool ready = !busy && shown_;
    kivButton1->SetEnabled(ready);
    for (TkivTrackBar* bar : {kivTrackBar1, kivTrackBar2, kivTrackBar3}) bar->SetEnabled(ready);
}

void TForm3::Tell(TkivMessageDialog* dialog, const std::string& caption, const std::string& text)
{
    skin::Tell(*dialog, caption, text);
}
