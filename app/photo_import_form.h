// TMainForm: the please-wait form of the photo import. Shown modally by
// "导入照片" with the main window's mode holding "dao_ru_zhao_pian": for
// every file chosen for the import it posts itself a render message, so
// that the progress bar moves between photos, and each render paints the
// photo's thumbnail, centred in the render frame, into the picture
// "zpyjj/zpyjj" + k + ".jpg" and appends the photo's rows to the main
// window's lists. With "zhao_pian_jian_ji" it is a simple crop editor on
// the same picture area (app/photo_import_form_crop.cpp): the thumbnail is
// moved and zoomed in the render frame, and saving paints the picture area
// as the photo's picture. It reaches the main window only through its
// PhotoImportView.
#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "app/photo_import.h"
#include "platform/ui/form.h"

class TComboBox;
class TEdit;
class TImage;
class TLabel;
class TListItems;
class TPanel;
class TStrings;
class TTimer;
class TkivCheckBox;
class TkivButton;
class TkivForm;
class TkivListView;
class TkivMessageDialog;
class TkivPageControl;
class TkivProgressBar;
class TkivTabSheet;
class TkivTrackBar;

namespace app {
// The form's own window message: render the photo named in Edit1.
inline constexpr unsigned kRenderPhotoMessage = 1027;  // WM_USER + 3
inline constexpr const char* kImportMode = "dao_ru_zhao_pian";
inline constexpr const char* kCropMode = "zhao_pian_jian_ji";
inline constexpr const char* kImportCaption = "正在导入照片,请稍后...";

// What the photo import and its crop mode touch of the main window.
struct PhotoImportView {
    // What it reads.
    std::function<std::string()> mode;  // kImportMode, kCropMode or anything else
    const TStrings& chosen_files;       // the files chosen for the import
    // The folder of the program's own copies of chosen photos.
    std::function<std::filesystem::path()> photo_copy_folder;
    std::function<std::filesystem::path()> work_path;
    std::function<std::filesystem::path(int k)> photo_picture;  // photo k's picture

    // What it may change.
    // The photo list, row k - 1 is photo k: the import appends rows and
    // selects the first.
    TkivListView& photo_list;
    TListItems& crop_rows;  // each photo's name, path, crop state and crop rectangle
    int& page_index;        // the strip's page, back to the first after a saved crop
    // The strip reloads page `page`, rewritten pictures included.
    std::function<void(int page)> refresh_thumbnails;
};
}  // namespace app

class TMainForm : public TForm {
public:
    explicit TMainForm(TComponent* AOwner = nullptr);
    ~TMainForm() override;

    // Hands the form its view of the main window; without one it imports
    // nothing and crops nothing.
    void Connect(app::PhotoImportView view) { main_.emplace(std::move(view)); }

    TkivForm* kivForm1;                // the skinned panel
    TkivPageControl* kivPageControl1;  // "照片": holds the picture area
    TkivTabSheet* kivTabSheet1;        // "照片"
    TPanel* Panel1;                    // the picture area: exactly what is saved
    TImage* Image1;                    // the render frame, the thumbnail centred in it
    TEdit* Edit1;                      // the photo the next render works on
    TEdit* Edit2;                      // the number base: a render writes photo Edit2 + 1
    TComboBox* ComboBox1;              // colour depth of the thumbnail request
    // Options of the thumbnail request, by their flag names.
    TkivCheckBox* CheckBox1;           // "IEIFLAG_ASPECT"
    TkivCheckBox* CheckBox2;           // "IEIFLAG_OFFLINE"
    TkivCheckBox* CheckBox3;           // "IEIFLAG_SCREEN", on
    TkivCheckBox* CheckBox4;           // "IEIFLAG_QUALITY"
    TkivCheckBox* CheckBox5;           // "IEIFLAG_ORIGSIZE"
    TkivProgressBar* kivProgressBar1;  // one step per photo
    TLabel* Label1;                    // "正在导入照片,可能会花一点时间,请耐心等待..."
    TTimer* Timer1;                    // closes the form after the last render

    // --- the crop mode -------------------------------------------------------------
    TkivPageControl* kivPageControl2;  // "导入的照片": the photo list
    TkivTabSheet* kivTabSheet2;        // "导入的照片"
    TkivListView* kivListView1;        // the photos; a click opens one
    // The sliders and the buttons, each on a page of its own.
    TkivPageControl* kivPageControl3;
    TkivPageControl* kivPageControl4;
    TkivPageControl* kivPageControl5;
    TkivTabSheet* kivTabSheet3;
    TkivTabSheet* kivTabSheet4;
    TkivTabSheet* kivTabSheet5;
    TkivTrackBar* kivTrackBar1;            // "左右移动": moves the photo left and right
    TkivTrackBar* kivTrackBar2;            // "上下移动": moves it up and down
    TkivTrackBar* kivTrackBar3;            // "放大缩小": zooms it
    TkivButton* kivButton1;                // "保存剪辑": saves the framing
    TkivButton* kivButton2;                // "返           回": closes the crop mode
    TkivMessageDialog* kivMessageDialog1;  // the crop mode's messages

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void kivListView1DblClick(TObject* Sender);
    void kivTrackBar1Change(TObject* Sender);
    void kivTrackBar2Change(TObject* Sender);
    void kivTrackBar3Change(TObject* Sender);
    void kivButton1Click(TObject* Sender);
    void kivButton2Click(TObject* Sender);
    // The row the crop mode shows, the one its saving writes; -1 before
    // the first double-click of a showing.
    int CropRow() const { return crop_row_; }

    // Message 1027: renders the photo of Edit1 in the import and crop modes.
    void WMRenderPhoto();
    // Puts the photo's thumbnail (or the picture icon) into Image1; in the
    // import mode also writes the photo's picture and, only when that
    // worked, its rows.
    void RenderPhoto(const std::string& path);
    // The option bits of the thumbnail request (32 with the design states).
    int GetExtractFlags() const;
    // Bits per pixel of the thumbnail request by ComboBox1.
    int ColourDepth() const;

    intptr_t Perform(unsigned Msg, intptr_t WParam = 0, intptr_t LParam = 0) override;

    // Photos of the last import whose picture could not be written: they
    // got no rows and no number.
    int FailedRenders() const { return failed_renders_; }
    // Photos of the last import that could not be read: they got the
    // picture icon.
    const app::UnreadPhotos& UnreadPhotos() const { return unread_photos_; }

private:
    bool InImportMode() const;
    bool InCropMode() const;
    void RunImport();
    void CreateCropControls();
    void ShowCropMode();
    void StartCropMode();
    // Disables or enables the list, the sliders and the buttons together.
    void SetCropControlsEnabled(bool enabled);
    // Sets the move sliders to plus/minus Image1's size, standing at its place.
    void SetCropMoveRanges();
    // Renders the thumbnail of the row on show at Image1's size.
    void RenderCropThumbnail();

    std::optional<app::PhotoImportView> main_;
    bool import_pending_ = false;  // set by FormShow, taken by the first activation
    bool crop_pending_ = false;
    int crop_row_ = -1;
    int failed_renders_ = 0;
    app::UnreadPhotos unread_photos_;
};

extern TMainForm* MainForm;
