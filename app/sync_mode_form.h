// TForm8 ("同步效果"): which of the album's three lengths sets it, the
// template's, the photo effects' or the music's. "确定" applies the first
// checked choice and shows the album length in the main window's album
// length label; the choices stay as they were left from one showing to the
// next. It reaches the album only through its SyncModeView.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "platform/ui/form.h"

class TLabel;
class TListItems;
class TkivButton;
class TkivForm;
class TkivMessageDialog;
class TkivPageControl;
class TkivRadioButton;
class TkivTabSheet;

namespace app {

// What the sync-mode dialog touches of the main window.
struct SyncModeView {
    // What it reads.
    // Whether a valid effect template is loaded, and the effect movie's
    // frames: the template's length.
    std::function<bool()> template_loaded;
    std::function<int()> template_frames;
    const TListItems& music_rows;  // the music list, only counted
    const double& music_seconds;   // the music list's whole length

    // What it may change.
    std::string& sync_mode;
    TLabel& album_length;  // the album's hh:mm:ss
    // The photo effects' length anew from the segment table, shown as the
    // album length.
    std::function<void()> calc_photo_frames;
};

}  // namespace app

class TForm8 : public TForm {
public:
    explicit TForm8(TComponent* AOwner = nullptr);
    ~TForm8() override;

    TkivForm* kivForm1;                    // the skinned panel
    TkivPageControl* kivPageControl1;      // holds the one page
    TkivTabSheet* kivTabSheet1;            // "同步效果"
    TkivRadioButton* kivRadioButton1;      // music follows the template's length
    TkivRadioButton* kivRadioButton2;      // music follows the photo effects
    TkivRadioButton* kivRadioButton3;      // the photo effects follow the music
    TkivButton* kivButton1;                // "确定"
    TkivButton* kivButton2;                // "取消"
    TkivMessageDialog* kivMessageDialog1;  // the refusals

    // The main window's part in the choice; without it the dialog applies
    // nothing and refuses nothing.
    void Connect(app::SyncModeView view);

    void FormShow(TObject* Sender);
    void kivRadioButton3Click(TObject* Sender);
    void kivButton1Click(TObject* Sender);
    void kivButton2Click(TObject* Sender);

private:
    // Tells why the choice cannot be made and goes back to the template's
    // length; the dialog stays open.
    void Refuse(const char* text);
    std::optional<app::SyncModeView> main_;
};

extern TForm8* Form8;
