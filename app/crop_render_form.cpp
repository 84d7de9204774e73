#include "app/crop_render_form.h"

#include <exception>

#include "app/image_routines.h"
#include "app/photo_import_form.h"
#include "app/photo_crop.h"
#include "app/photo_import.h"
#include "platform/core/application.h"
#include "platform/core/files.h"
#include "platform/core/timer.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/label.h"
#include "platform/ui/listview.h"
#include "skin/kiv_progress_bar.h"
#include "platform/ui/form_building.h"

TForm2* Form2 = nullptr;

namespace {

constexpr int kViewerWidth = 1252;
constexpr int kViewerHeight = 1416;
constexpr int kPictureWidth = 626;
constexpr int kPictureHeight = 708;
constexpr const char* kRendered = "yijianji";

}  // namespace

TForm2::TForm2(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Form2");
    SetCaption(app::kImportCaption);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(509, 217);

    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetBounds(24, 48, 461, 17);
    Label1->SetCaption("正在导入照片,可能会花一点时间,请耐心等待...");
    kivProgressBar1 = new TkivProgressBar(this);
    kivProgressBar1->SetName("kivProgressBar1");
    kivProgressBar1->SetParent(this);
    kivProgressBar1->SetBounds(24, 88, 461, 22);

    ShockwaveFlash1 = new TShockwaveFlash(this);
    ShockwaveFlash1->SetName("ShockwaveFlash1");
    ShockwaveFlash1->SetParent(this);
    ShockwaveFlash1->SetBounds(0, 300, kViewerWidth, kViewerHeight);
    ShockwaveFlash1->OnFSCommand = [this](TObject* Sender, const std::string& command,
                                          const std::string& args) {
        ShockwaveFlash1FSCommand(Sender, command, args);
    };

    // Off until the photos are rendered: running from start-up it would
    // delete work files while nothing is being rendered.
    Timer1 = ui::MakeTimer(this, "Timer1", 1000);
    Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };

    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
}

TForm2::~TForm2()
{
    if (Form2 == this) Form2 = nullptr;
}

void TForm2::FormShow(TObject*)
{
    SetClientSize(509, 217);
    render_pending_ = true;
}

void TForm2::ShockwaveFlash1FSCommand(TObject*, const std::string& command, const std::string&)
{
    if (command == "wan_cheng") viewer_loaded_ = true;
}

bool TForm2::RenderThroughViewer(int k)
{
    const std::filesystem::path work = main_->work_path();
    const TListItem* photo = main_->photos[k];
    viewer_loaded_ = false;
    // A photo that cannot be staged must not be rendered from the one
    // staged before.
    if (!app::StageClipPhoto(work, photo->SubItems().Count() > 0 ? photo->SubItems()[0] : std::string()) ||
        !app::StagedClipPhotoReadable(work)) {
        core::DeleteFile(work / "jjzp" / "zpjj.jpg");
        return false;
    }
    viewer_ = viewer_ == "zpjj1" ? "zpjj2" : "zpjj1";
    ShockwaveFlash1->SetMovie((work / "jjzp" / (viewer_ + ".swf")).string());
    if (!App().PumpUntil([this] { return viewer_loaded_; }, app::kViewerLoadTimeoutMs)) return false;

    const std::filesystem::path bmp = work / "zpyjj" / "zpyjj.bmp";
    try {
        // The centre of the viewer, where it shows the photo.
        TBitmap picture(kPictureWidth, kPictureHeight);
        ShockwaveFlash1->PaintTo(picture, kPictureWidth / 2 - ShockwaveFlash1->Width() / 2,
                                 kPictureHeight / 2 - ShockwaveFlash1->Height() / 2);
        picture.SaveToFile(bmp);
        app::ConvertImageToJpeg(bmp, main_->photo_picture(k + 1));
    } catch (const std::exception&) {
        core::DeleteFile(bmp);
        return false;
    }
    core::DeleteFile(bmp);
    App().ProcessMessages();
    return true;
}

void TForm2::FormActivate(TObject*)
{
    if (!render_pending_ || !main_) return;
    render_pending_ = false;
    const int photos = main_->photos.Count();
    kivProgressBar1->SetMin(0);
    kivProgressBar1->SetMax(photos);
    kivProgressBar1->SetPosition(0);
    for (int k = 0; k < photos && k < main_->photos.Count(); ++k) {
        TListItem* crop = k < main_->crop_rows.Count() ? main_->crop_rows[k] : nullptr;
        if (crop && !(crop->SubItems().Count() > 1 && crop->SubItems()[1] == kRendered)) {
            // Marked only when its picture was written.
            if (RenderThroughViewer(k)) {
                while (crop->SubItems().Count() < 2) crop->SubItems().Add("");
                crop->SubItems().SetStrings(1, kRendered);
            }
        }
        kivProgressBar1->SetPosition(k + 1);
    }
    main_->refresh_thumbnails(main_->page_index);
    Timer1->SetEnabled(true);
}

void TForm2::Timer1Timer(TObject*)
{
    Timer1->SetEnabled(false);
    if (main_) {
        core::DeleteFile(main_->work_path() / "jjzp" / "zpjj.jpg");
        core::DeleteFile(main_->work_path() / "zpyjj" / "zpyjj.bmp");
    }
    Close();
}
