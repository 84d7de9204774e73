#pragma once
// TMainForm: the please-wait form of the photo import. Shown modally by
// "导入照片" with Form1's Z_P_J_J_Edit holding "dao_ru_zhao_pian": for every
// file chosen in Form1's OpenDialog1 it posts itself a render message, so
// that the progress bar moves between photos, and each render paints the
// photo's thumbnail, centred in the render frame, into the picture
// "zpyjj/zpyjj" + k + ".jpg" and appends the photo's rows to Form1's lists.
#include <string>

#include "platform/ui/form.h"

class TComboBox;
class TEdit;
class TImage;
class TLabel;
class TPanel;
class TTimer;
class TkivCheckBox;
class TkivForm;
class TkivPageControl;
class TkivProgressBar;
class TkivTabSheet;

namespace app {
// The form's own window message: render the photo named in Edit1.
inline constexpr unsigned kRenderPhotoMessage = 1027;  // WM_USER + 3
inline constexpr const char* kImportMode = "dao_ru_zhao_pian";
inline constexpr const char* kCropMode = "zhao_pian_jian_ji";
inline constexpr const char* kImportCaption = "正在导入照片,请稍后...";
}  // namespace app

class TMainForm : public TForm {
public:
    explicit TMainForm(TComponent* AOwner = nullptr);
    ~TMainForm() override;

    TkivForm* kivForm1;
    TkivPageControl* kivPageControl1;
    TkivTabSheet* kivTabSheet1;
    TPanel* Panel1;   // the picture area: exactly what is saved
    TImage* Image1;   // the render frame, the thumbnail centred in it
    TEdit* Edit1;     // the photo the next render works on
    TEdit* Edit2;     // the number base: a render writes photo Edit2 + 1
    TComboBox* ComboBox1;  // colour depth of the thumbnail request
    TkivCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5;  // request options
    TkivProgressBar* kivProgressBar1;
    TLabel* Label1;
    TTimer* Timer1;  // closes the form after the last render

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void CheckBox1Click(TObject* Sender);

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

private:
    bool InImportMode() const;
    void RunImport();

    bool import_pending_ = false;  // set by FormShow, taken by the first activation
    int failed_renders_ = 0;
};

extern TMainForm* MainForm;
