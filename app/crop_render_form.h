// TForm2: the second renderer of the photo pictures. It renders every photo
// not yet marked "yijianji" through the crop viewer movie (the centre
// 626 x 708 of the 1252 x 1416 viewer) and marks it. No command of the
// program opens it. It reaches the main window only through its
// CropRenderView.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "app/photo_import.h"
#include "platform/ui/form.h"

class TLabel;
class TListItems;
class TShockwaveFlash;
class TTimer;
class TkivProgressBar;

namespace app {

// What the viewer renderer touches of the main window.
struct CropRenderView {
    // What it reads.
    const TListItems& photos;  // the photo list, row k - 1 is photo k
    std::function<std::filesystem::path()> work_path;
    std::function<std::filesystem::path(int k)> photo_picture;  // photo k's picture
    const int& page_index;                                      // the strip's page

    // What it may change.
    TListItems& crop_rows;  // each photo's crop state: "yijianji" once rendered
    // The strip reloads page `page`, rewritten pictures included.
    std::function<void(int page)> refresh_thumbnails;
};

}  // namespace app

class TForm2 : public TForm {
public:
    explicit TForm2(TComponent* AOwner = nullptr);
    ~TForm2() override;

    // Hands the form its view of the main window; without one it renders
    // nothing.
    void Connect(app::CropRenderView view) { main_.emplace(std::move(view)); }

    TkivProgressBar* kivProgressBar1;  // one step per photo
    TLabel* Label1;                    // "正在导入照片,可能会花一点时间,请耐心等待..."
    TShockwaveFlash* ShockwaveFlash1;  // the crop viewer, outside the visible client area
    TTimer* Timer1;                    // closes the form after the last photo

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void ShockwaveFlash1FSCommand(TObject* Sender, const std::string& command, const std::string& args);

private:
    // One photo through the viewer into its picture; false when the viewer
    // did not answer in time or the picture could not be written.
    bool RenderThroughViewer(int k);

    std::optional<app::CropRenderView> main_;
    bool render_pending_ = false;  // set by FormShow, taken by the first activation
    bool viewer_loaded_ = false;
    std::string viewer_ = "zpjj2";  // the copy loaded last; the next photo takes the other
};

extern TForm2* Form2;
