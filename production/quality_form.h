// TForm17: the picture-quality dialog "画面质量". The choice is the text of
// the hidden Edit1, which the production set-up reads; it lasts until the
// program ends. The title bar's close button closes the dialog.
#pragma once
#include "platform/ui/form.h"

class TEdit;
class TkivForm;
class TkivRadioButton;

class TForm17 : public TForm {
public:
    explicit TForm17(TComponent* AOwner = nullptr);
    ~TForm17() override;

    TkivForm* kivForm1;                // the skinned panel: "画面质量"
    TkivRadioButton* kivRadioButton1;  // "标准画面": "qing_xi"
    TkivRadioButton* kivRadioButton2;  // "清晰画面": "gao_qing_xi"
    TkivRadioButton* kivRadioButton3;  // "高清晰画面": "chao_gao_qing_xi"
    TEdit* Edit1;                      // hidden: the quality keyword

    void kivRadioButton1Click(TObject* Sender);
    void kivRadioButton2Click(TObject* Sender);
    void kivRadioButton3Click(TObject* Sender);
};

extern TForm17* Form17;
