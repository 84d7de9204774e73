// TForm11 ("片头片尾"): the album's opening and ending titles. Page 0 takes
// an opening-title video, measures it in frames (the project's OpeningFile
// and OpeningFrames) and previews it; page 1 takes an ending-title template
// (its movie copies and the two texts in "pwwjj"), previews its movie and
// opens the text editor TForm12. It reaches the main window only through
// the app::TitlesView below.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "app/ending_template.h"
#include "platform/ui/form.h"

class TLabel;
class TOpenDialog;
class TShockwaveFlash;
class TTimer;
class TWindowsMediaPlayer;
class TkivButton;
class TkivForm;
class TkivGroupBox;
class TkivMessageDialog;
class TkivPageControl;
class TkivTabSheet;

namespace app {

// What the titles dialog touches of the main window.
struct TitlesView {
    // What it reads.
    std::function<std::filesystem::path()> work_path;  // holds "pwwjj"

    // What it may change.
    std::string& opening_file;  // the opening title in force; empty: none
    int& opening_frames;        // its length in frames
    std::string& ending_file;   // the ending template in force; empty: none
    int& ending_movie;          // the copy, 1 or 2, that ending_player loaded last
    // The preview's opening player: it measures the opening title, and the
    // dialog leaves it holding the title in force.
    TWindowsMediaPlayer& opening_player;
    // The preview's ending movie: the dialog's close reloads it, so that it
    // reads the texts anew.
    TShockwaveFlash& ending_player;
    // The titles' lengths that the main window keeps, hh:mm:ss.
    std::function<void(const std::string&)> show_opening_length;
    std::function<void(const std::string&)> show_ending_length;
};

}  // namespace app

class TForm11 : public TForm {
public:
    explicit TForm11(TComponent* AOwner = nullptr);
    ~TForm11() override;

    // The main window's part, once every form exists. Without it (a
    // dialog built alone) nothing can be imported.
    void Connect(app::TitlesView view);

    TkivForm* kivForm1;                // the skinned panel: "片头片尾"
    TkivPageControl* kivPageControl1;  // the two pages below
    TkivTabSheet* kivTabSheet1;        // "     片头设置     "
    TkivTabSheet* kivTabSheet2;        // "     片尾设置     "

    // Page 0: the opening title.
    TLabel* Label1;                            // "片头名称:"
    TLabel* Label2;                            // the opening title's name
    TLabel* Label3;                            // "片头时间:"
    TLabel* Label4;                            // the opening title's length, mm:ss
    TLabel* Label5;                            // the opening preview's play position, mm:ss
    TkivGroupBox* kivGroupBox1;                // disabled: the player takes no clicks
    TWindowsMediaPlayer* WindowsMediaPlayer1;  // the opening preview
    TkivButton* kivButton1;                    // "导入片头": chooses the opening video
    TkivButton* kivButton2;                    // "播放": plays the opening preview
    TkivButton* kivButton3;                    // "暂停": pauses it
    TkivButton* kivButton4;                    // "停止": stops it
    TkivButton* kivButton5;                    // "清除片头": the album gets no opening
    TkivButton* kivButton6;                    // "退出": closes the dialog

    // Page 1: the ending title.
    TkivGroupBox* kivGroupBox2;        // disabled, holds both movies
    TShockwaveFlash* ShockwaveFlash1;  // the ending preview
    TShockwaveFlash* ShockwaveFlash2;  // the placeholder "pwwjj/wu_pwwj.swf"
    TkivButton* kivButton7;            // "导入片尾": imports an ending template
    TkivButton* kivButton8;            // "清除片尾": the album gets no ending
    TkivButton* kivButton9;            // "播放": plays the ending preview
    TkivButton* kivButton10;           // "暂停": pauses it
    TkivButton* kivButton11;           // "停止": stops it
    TkivButton* kivButton12;           // "退出": closes the dialog
    TkivButton* kivButton13;           // "修改内容": edits the ending's texts (Form12)

    TOpenDialog* OpenDialog1;              // opening video
    TOpenDialog* OpenDialog2;              // ending template
    TTimer* Timer1;                        // 1 ms: follows the opening preview
    TkivMessageDialog* kivMessageDialog1;  // the dialog's messages

    // The values of the last valid ending import; EndingValidation holds
    // app::kEndingValidation while a valid ending title is loaded.
    std::string EndingValidation, EndingPlayFrame, EndingStillFrame;
    // Which copy, 1 or 2, the ending preview loaded last.
    int TitleEndingMovie = 1;

    // How long a video may take to report its length; one that has not by
    // then is refused with a message.
    int64_t MeasureWaitMs = 15000;

    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void kivPageControl1Click(TObject* Sender);
    void kivButton1Click(TObject* Sender);  // "导入片头"
    void kivButton2Click(TObject* Sender);  // "播放"
    void kivButton3Click(TObject* Sender);  // "暂停"
    void kivButton4Click(TObject* Sender);  // "停止"
    void kivButton5Click(TObject* Sender);  // "清除片头"
    void kivButton6Click(TObject* Sender);  // "退出"
    void Timer1Timer(TObject* Sender);
    void kivButton7Click(TObject* Sender);   // "导入片尾"
    void kivButton8Click(TObject* Sender);   // "清除片尾"
    void kivButton9Click(TObject* Sender);   // "播放"
    void kivButton10Click(TObject* Sender);  // "暂停"
    void kivButton11Click(TObject* Sender);  // "停止"
    void kivButton12Click(TObject* Sender);  // "退出"
    void kivButton13Click(TObject* Sender);  // "修改内容"

    bool ValidEndingLoaded() const;
    // The frame the ending preview rests on: z_s - 1.
    int EndingStillIndex() const;
    // After the texts were edited: the preview loads the other copy, so
    // that the movie reads them anew, and replays from its still frame.
    void ReplayEndingAfterEdit();

private:
    void ShowPlaceholder();
    void ShowEndingStill();
    // Loads the ending copy that the preview does not show now.
    void LoadOtherEndingCopy();
    // Whether an opening title is in force.
    bool HasOpening() const;
    void SetOpeningButtons(bool enabled);
    // Opens `file` in the preview player (it plays) and measures it with the
    // main window's opening player (muted, then stopped). The frames, or
    // nothing when the file reports no length in time.
    std::optional<int> MeasureOpening(const std::string& file, bool keep_preview_playing);
    // The players go back to the opening title in force (or to none).
    void RestoreOpeningPlayers();
    void Tell(const char* caption, const std::string& text);
    void StopAll();

    bool measuring_ = false;
    std::optional<app::EndingTemplate> ending_;  // the last valid import
    std::optional<app::TitlesView> main_;
};

extern TForm11* Form11;

namespace app {
inline constexpr const char* kTitlesCaption = "片头片尾";
inline constexpr const char* kOpeningFilter = "选择片头文件(mpg)|*.mpg";
inline constexpr const char* kEndingFilter = "选择片尾文件(mpg)|*.mpg";
inline constexpr const char* kEndingImportCaption = "导入片尾模板";
inline constexpr const char* kEndingInvalid = "导入的片尾模板不是有效的,请导入本软件支持的片尾模板!";
inline constexpr const char* kEndingNotWritten = "片尾模板无法写入工作文件夹,请检查磁盘空间和权限!";
inline constexpr const char* kEditTextsCaption = "修改内容";
inline constexpr const char* kNoEndingTemplate = "没有导入片尾模板!";
inline constexpr const char* kOpeningImportCaption = "导入片头";
inline constexpr const char* kOpeningUnplayable = "无法读取片头文件的长度,请导入本软件支持的片头文件(mpg)!";
inline constexpr const char* kOpeningGone = "片头文件已无法读取,片头已清除!";
}  // namespace app
