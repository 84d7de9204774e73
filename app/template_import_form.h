// TForm14: the please-wait form of the effect template import. Shown
// modally by the main window's "导入模板" once a file is chosen; it imports
// in a one-shot timer and closes itself from another, whatever the import's
// outcome. It reaches the album only through its TemplateImportView.
#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "app/run_buttons.h"
#include "platform/ui/form.h"

class TControl;
class TLabel;
class TListItems;
class TScrollBox;
class TShockwaveFlash;
class TStrings;
class TTimer;
class TWindowsMediaPlayer;
class TkivMessageDialog;
class TkivProgressBar;

namespace app {

// What the template import touches of the main window.
struct TemplateImportView {
    // What it reads.
    std::function<std::string()> chosen_file;  // the file chosen in the template dialog
    std::function<std::filesystem::path()> work_folder;
    const TListItems& photo_rows;   // the photo list, only counted
    const TControl& preview_frame;  // the template's video and movie take its size
    // Whether the preview runs (it keeps the controls it took).
    std::function<bool()> preview_running;

    // What it may change.
    // The project's template values, and the TV system it settles.
    std::string& template_file;
    std::string& template_state;  // the import's marker while a valid template is loaded
    std::string& template_movie;  // the effect movie's copy in the effect pane, "1" or "2"
    std::string& tv_system;
    // The segment table, one row per segment (app/segment_table.h).
    TStrings& segment_first_values;
    TStrings& segment_end_frames;
    TStrings& segment_photo_counts;
    TkivMessageDialog& invalid_message;   // an invalid template, or one that cannot be written
    TkivMessageDialog& imported_message;  // the template is in force already
    // The preview frame's panes that the import chooses between, and what
    // they show.
    TScrollBox& intro_pane;
    TScrollBox& browser_pane;
    TScrollBox& template_pane;  // the template's own video
    TScrollBox& effect_pane;
    TScrollBox& opening_pane;
    TWindowsMediaPlayer& template_video;
    TShockwaveFlash& effect_movie;
    // Stop and the output buttons, held while the import runs.
    RunButtons run_buttons;
    // Freezes (true) or frees the controls an import holds.
    std::function<void(bool locked)> lock_editing;
    // The template's first slots filled with the first photos.
    std::function<void()> fill_photo_slots;
    // The album length label anew, by the sync mode.
    std::function<void()> show_album_length;
    // "播放": the preview of the new template with the photos.
    std::function<void()> play_preview;
};

}  // namespace app

class TForm14 : public TForm {
public:
    explicit TForm14(TComponent* AOwner = nullptr);
    ~TForm14() override;

    TLabel* Label1;                    // "正在导入模板,可能会花一点时间,请耐心等待..."
    TkivProgressBar* kivProgressBar1;  // moves while the import runs
    TTimer* Timer1;                    // the import, once per showing
    TTimer* Timer2;                    // progress animation
    TTimer* Timer3;                    // closes the form

    // The main window's part in the import; without it the form imports
    // nothing and closes.
    void Connect(app::TemplateImportView view);

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void Timer2Timer(TObject* Sender);
    void Timer3Timer(TObject* Sender);

private:
    void Import();
    std::optional<app::TemplateImportView> main_;
    bool import_pending_ = false;  // set by each showing, taken by the first activation
};

extern TForm14* Form14;

namespace app {
inline constexpr const char* kTemplateImportCaption = "导入模板";
inline constexpr const char* kTemplateAlreadyImported = "模板已经导入.";
inline constexpr const char* kTemplateInvalid = "导入的模板不是有效的,请导入本软件支持的模板!";
inline constexpr const char* kTemplateNotWritten = "模板无法写入工作文件夹,请检查磁盘空间和权限!";
}  // namespace app
