// TForm9: the TV-system dialog "电视制式". It shows the project's TvSystem
// when it opens; "确定" writes the checked system back, "取消" leaves it.
// Production can't see the main window, so the program hands the dialog a
// way to read and write the project's TvSystem.
#pragma once
#include <functional>
#include <string>

#include "platform/ui/form.h"

class TkivButton;
class TkivForm;
class TkivPageControl;
class TkivRadioButton;
class TkivTabSheet;

class TForm9 : public TForm {
public:
    explicit TForm9(TComponent* AOwner = nullptr);
    ~TForm9() override;

    // The project's TvSystem, "PAL" or "NTSC"; set by the program.
    std::function<std::string()> ReadTvSystem;
    std::function<void(const std::string&)> WriteTvSystem;

    TkivForm* kivForm1;                // the skinned panel
    TkivPageControl* kivPageControl1;  // holds the one page
    TkivTabSheet* kivTabSheet1;        // "电视制式"
    TkivRadioButton* kivRadioButton1;  // "PAL 电视制式"
    TkivRadioButton* kivRadioButton2;  // "NTSC电视制式"
    TkivButton* kivButton1;            // "确定"
    TkivButton* kivButton2;            // "取消"

    void FormShow(TObject* Sender);
    void kivButton1Click(TObject* Sender);
    void kivButton2Click(TObject* Sender);
};

extern TForm9* Form9;
