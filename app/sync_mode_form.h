// TForm8 ("同步效果"): which of the album's three lengths sets it, the
// template's, the photo effects' or the music's. "确定" applies the first
// checked choice and shows the album length in the main window's Label2;
// the choices stay as they were left from one showing to the next.
#pragma once
#include "platform/ui/form.h"

class TkivButton;
class TkivForm;
class TkivMessageDialog;
class TkivPageControl;
class TkivRadioButton;
class TkivTabSheet;

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

    void FormShow(TObject* Sender);
    void kivRadioButton3Click(TObject* Sender);
    void kivButton1Click(TObject* Sender);
    void kivButton2Click(TObject* Sender);

private:
    // Tells why the choice cannot be made and goes back to the template's
    // length; the dialog stays open.
    void Refuse(const char* text);
};

extern TForm8* Form8;
