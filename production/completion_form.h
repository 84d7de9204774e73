// TForm10: "制作完成", shown by the main window after a job that completed.
#pragma once
#include "platform/ui/form.h"

class TLabel;
class TkivButton;
class TkivForm;

class TForm10 : public TForm {
public:
    explicit TForm10(TComponent* AOwner = nullptr);
    ~TForm10() override;

    TkivForm* kivForm1;      // the skinned panel
    TLabel* Label1;          // "制作完成,点[确定]按钮返回."
    TkivButton* kivButton1;  // "确定"

    void FormShow(TObject* Sender);
    void kivButton1Click(TObject* Sender);
};

extern TForm10* Form10;
