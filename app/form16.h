#pragma once
// TForm16 ("调整歌词"): the lyric line's alignment, colour, weight, slant,
// underline and size. Each change is stored in the project's style value
// at once and shown in the lyric dialog's movie; there is no cancel. The
// position (LrcX, LrcY) is shown but not changed here.
#include <string>

#include "app/project_state.h"
#include "platform/ui/form.h"

class TLabel;
class TkivCheckBox;
class TkivComboBox;
class TkivForm;
class TkivPageControl;
class TkivRadioButton;
class TkivTabSheet;
class TkivTrackBar;

namespace app {
inline constexpr const char* kLyricStyleCaption = "调整歌词";
}  // namespace app

class TForm16 : public TForm {
public:
    explicit TForm16(TComponent* AOwner = nullptr);
    ~TForm16() override;

    TkivForm* kivForm1;
    // One page control a group, each with its one tab.
    TkivPageControl *kivPageControl1, *kivPageControl2, *kivPageControl3, *kivPageControl4, *kivPageControl5;
    TkivTabSheet* kivTabSheet1;  // "歌词位置"
    TkivTabSheet* kivTabSheet2;  // "歌词颜色"
    TkivTabSheet* kivTabSheet3;  // "歌词字体"
    TkivTabSheet* kivTabSheet4;  // "歌词大小"
    TkivTabSheet* kivTabSheet5;  // "歌词移动", disabled
    TkivRadioButton *kivRadioButton1, *kivRadioButton2, *kivRadioButton3;  // left, centre, right
    TkivComboBox* kivComboBox2;                                            // colour
    TkivRadioButton *kivRadioButton6, *kivRadioButton7;                    // "标准", "粗体"
    TkivCheckBox* kivCheckBox1;                                            // "斜体"
    TkivCheckBox* kivCheckBox2;                                            // "下划线"
    TkivComboBox* kivComboBox1;                                            // size
    TLabel *Label1, *Label2;                                               // "左右移动", "上下移动"
    TkivTrackBar *kivTrackBar1, *kivTrackBar2;                             // LrcX, LrcY

    void FormShow(TObject* Sender);
    void kivRadioButton1Click(TObject* Sender);
    void kivRadioButton2Click(TObject* Sender);
    void kivRadioButton3Click(TObject* Sender);
    void kivComboBox2Change(TObject* Sender);
    void kivRadioButton6Click(TObject* Sender);
    void kivRadioButton7Click(TObject* Sender);
    void kivCheckBox1Click(TObject* Sender);
    void kivCheckBox2Click(TObject* Sender);
    void kivComboBox1Change(TObject* Sender);

    // The size list "3" to "80" and the colour list, filled anew.
    void FillLists();
    // The controls from the style values (the lyric dialog's "调整歌词").
    void LoadStyle(const app::ProjectState& style);

private:
    // Stores the value in the project and sends it to the lyric dialog's movie.
    void Apply(std::string app::ProjectState::*value, const char* variable, const std::string& text);
};

extern TForm16* Form16;
