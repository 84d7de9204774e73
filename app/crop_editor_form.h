// TForm3 ("照片剪辑"): the photo crop editor. The photo is shown by the crop
// viewer movie behind a fixed red frame; the sliders move and zoom the
// viewer, "保存剪辑" writes what lies inside the frame as the photo's
// picture and keeps the viewer's place and size in the main window's
// crop table, "清除剪辑" goes back to the whole photo. It reaches the main
// window through its CropEditorView.
#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/photo_crop.h"
#include "platform/ui/form.h"

class TListItems;
class TScrollBox;
class TShockwaveFlash;
class TkivButton;
class TkivForm;
class TkivGroupBox;
class TkivImagePanel;
class TkivListView;
class TkivMessageDialog;
class TkivTrackBar;

namespace app {
inline constexpr const char* kCropEditorCaption = "照片剪辑";

// What the crop editor touches of the main window.
struct CropEditorView {
    // What it reads.
    const TListItems& photos;                         // row k - 1 is photo k: its name, then its source
    std::function<std::filesystem::path()> work_dir;  // the pictures and the crop viewer's movies

    // What it may change.
    TListItems& crop_rows;  // row k - 1 holds photo k's crop state and viewer rectangle
    // The strip reloads the page it shows, rewritten pictures included.
    std::function<void()> refresh_thumbnails;
};
}  // namespace app

class TForm3 : public TForm {
public:
    explicit TForm3(TComponent* AOwner = nullptr);
    ~TForm3() override;

    // The main window's photos; without them the editor has nothing to crop.
    void Connect(app::CropEditorView view) { main_.emplace(std::move(view)); }

    TkivForm* kivForm1;                // the skinned panel: the crop editor
    TkivImagePanel* kivImagePanel1;    // the view area, white
    TScrollBox* ScrollBox1;            // holds the viewer at 0, 0: its place is the viewer's place
    TShockwaveFlash* ShockwaveFlash1;  // the crop viewer
    // The four lines of the frame that marks the saved area.
    TkivImagePanel* kivImagePanel2;
    TkivImagePanel* kivImagePanel3;
    TkivImagePanel* kivImagePanel4;
    TkivImagePanel* kivImagePanel5;
    TkivGroupBox* kivGroupBox1;            // "照片列表"
    TkivListView* kivListView1;            // the photos by name; a click opens one
    TkivGroupBox* kivGroupBox2;            // "左右移动"
    TkivGroupBox* kivGroupBox3;            // "上下移动"
    TkivGroupBox* kivGroupBox4;            // "放大缩小"
    TkivTrackBar* kivTrackBar1;            // moves the photo left and right
    TkivTrackBar* kivTrackBar2;            // moves it up and down
    TkivTrackBar* kivTrackBar3;            // zooms it
    TkivGroupBox* kivGroupBox5;            // holds the three buttons
    TkivButton* kivButton1;                // "保存剪辑": saves the framing
    TkivButton* kivButton2;                // "清除剪辑": clears it
    TkivButton* kivButton3;                // "返       回": closes the editor
    TkivMessageDialog* kivMessageDialog1;  // opening and saving messages
    TkivMessageDialog* kivMessageDialog2;  // "清除剪辑" messages

    // The viewer copy loaded last, "zpjj1" or "zpjj2"; each load takes the
    // other so that the control reads the staged photo anew.
    std::string ClipMovie = "zpjj1";
    // "wan_cheng" once the viewer has reported its load; cleared before each.
    std::string ClipLoaded;
    // The row on show, the one that saving and clearing work on.
    int ClipRow = 0;

    void FormShow(TObject* Sender);
    void FormResize(TObject* Sender);
    void kivListView1DblClick(TObject* Sender);
    void kivTrackBar1Change(TObject* Sender);
    void kivTrackBar2Change(TObject* Sender);
    void kivTrackBar3Change(TObject* Sender);
    void kivButton1Click(TObject* Sender);
    void kivButton2Click(TObject* Sender);
    void kivButton3Click(TObject* Sender);
    void ShockwaveFlash1FSCommand(TObject* Sender, const std::string& command, const std::string& args);

    // Shows photo 1 (row 0) as its crop data places it.
    void LoadClipPhoto();
    // The move sliders' ranges for the viewer's size; the viewer follows
    // their clamped positions.
    void SetMoveRanges();

    // The red frame in the view area's pixels, as the last layout placed it.
    const app::FrameBounds& ClipFrame() const { return frame_; }
    // True while the viewer shows row ClipRow's photo, so that saving
    // can write it.
    bool ClipShown() const { return shown_; }

private:
    // Stages the row's photo, places the viewer by `geometry` and waits for
    // it; tells the user and returns false when the photo cannot be shown.
    bool ShowRow(int row, const app::FrameBounds& geometry);
    bool ViewerHandshake();
    // Paints the viewer at (x, y) into a picture of the given size and
    // writes it as the picture of photo row + 1.
    bool WritePicture(int row, int width, int height, int x, int y);
    void StoreGeometry(int row, const app::FrameBounds& geometry);
    app::FrameBounds RowGeometry(int row) const;
    std::string RowSource(int row) const;
    void PlaceViewer(const app::FrameBounds& geometry);
    // The zoom slider shows the viewer's width without resizing it.
    void ShowZoom();
    void SetBusy(bool busy);
    void Tell(TkivMessageDialog* dialog, const std::string& caption, const std::string& text);

    std::optional<app::CropEditorView> main_;
    app::FrameBounds frame_{};
    bool shown_ = false;
    bool busy_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

extern TForm3* Form3;
