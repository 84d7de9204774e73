// TForm16 ("调整歌词"): the lyric line's alignment, colour, weight, slant,
// underline and size. Each change is stored in the project's style value
// at once and shown in the lyric dialog's movie; there is no cancel. The
// position is shown but not changed here. The style value is the main
// window's, reached through the dialog's LyricStyleView.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "production/lyric_style.h"
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

// What the lyric style dialog touches of the main window.
struct LyricStyleView {
    // What it reads: only the style below, each change starting from it.
    // What it may change: the project's lyric style.
    production::LyricStyle& style;
};
}  // namespace app

class TForm16 : public TForm {
public:
    explicit TForm16(TComponent* AOwner = nullptr);
    ~TForm16() override;

    TkivForm* kivForm1;  // the skinned panel: "调整歌词"
    // One page control per setting, each holding its one tab sheet below.
    TkivPageControl* kivPageControl1;
    TkivPageControl* kivPageControl2;
    TkivPageControl* kivPageControl3;
    TkivPageControl* kivPageControl4;
    TkivPageControl* kivPageControl5;
    TkivTabSheet* kivTabSheet1;        // "歌词位置"
    TkivTabSheet* kivTabSheet2;        // "歌词颜色"
    TkivTabSheet* kivTabSheet3;        // "歌词字体"
    TkivTabSheet* kivTabSheet4;        // "歌词大小"
    TkivTabSheet* kivTabSheet5;        // "歌词移动", disabled
    TkivRadioButton* kivRadioButton1;  // "歌词居左": lyrics on the left
    TkivRadioButton* kivRadioButton2;  // "歌词居中": centred
    TkivRadioButton* kivRadioButton3;  // "歌词居右": on the right
    TkivComboBox* kivComboBox2;        // colour
    TkivRadioButton* kivRadioButton6;  // "标准": regular weight
    TkivRadioButton* kivRadioButton7;  // "粗体": bold
    TkivCheckBox* kivCheckBox1;        // "斜体"
    TkivCheckBox* kivCheckBox2;        // "下划线"
    TkivComboBox* kivComboBox1;        // size
    TLabel* Label1;                    // "左右移动"
    TLabel* Label2;                    // "上下移动"
    TkivTrackBar* kivTrackBar1;        // the lyric line's x
    TkivTrackBar* kivTrackBar2;        // the lyric line's y

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
    void LoadStyle(const production::LyricStyle& style);
    // The main window's side, once every form exists.
    void Connect(app::LyricStyleView view) { main_.emplace(view); }

private:
    // Stores the value in the project and sends it to the lyric dialog's movie.
    void Apply(const char* variable, const std::function<void(production::LyricStyle&)>& change);

    std::optional<app::LyricStyleView> main_;  // none: built without a main window
};

extern TForm16* Form16;
