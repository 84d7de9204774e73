#pragma once
// TForm1: castora's main window. It is the album editor's desktop and its
// document at once: the project state (ProjectState) and the main window's
// list controls are the project, read and written by every other form
// through Form1.
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/lrc.h"
#include "app/project_state.h"
#include "app/segment_table.h"
#include "app/work_folder_lock.h"
#include "platform/core/files.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form.h"

class TButton;
class TEdit;
class TImage;
class TLabel;
class TListBox;
class TScrollBox;
class TShockwaveFlash;
class TTimer;
class TWindowsMediaPlayer;
class TkivBuiltInFileTheme;
class TkivButton;
class TkivForm;
class TkivGroupBox;
class TkivImageButton;
class TkivImagePanel;
class TkivListBox;
class TkivListView;
class TkivMessageDialog;

namespace app {
class PreviewEngine;
struct MusicActionsView;

// The product title: the main window is titled with it followed by "2007",
// the name under which the program is installed.
inline constexpr const char* kProductTitle = "Velmora";
inline constexpr const char* kMainWindowTitle = "Velmora2007";
// The caption of the skinned form panel.
inline constexpr const char* kMainPanelCaption = "《Velmora》2007 －V11.4";
// The main window's client size: the stored 661 x 493 panel, widened for
// the preview column and lengthened for the thumbnail strip.
inline constexpr int kMainClientWidth = 1029;
inline constexpr int kMainClientHeight = 626;
}  // namespace app

class TForm1 : public TForm, public app::ProjectState {
public:
    explicit TForm1(TComponent* AOwner = nullptr);
    ~TForm1() override;

    // --- the skin and the panel ------------------------------------------------
    TkivBuiltInFileTheme* kivBuiltInFileTheme1;
    TkivForm* kivForm1;

    // --- frames ------------------------------------------------------------------
    TkivGroupBox* kivGroupBox3;  // photo list
    TkivGroupBox* kivGroupBox1;  // music list
    TkivGroupBox* kivGroupBox2;  // preview frame with its seven panes
    TkivGroupBox* kivGroupBox7;  // thumbnail strip
    TkivGroupBox *kivGroupBox8, *kivGroupBox9, *kivGroupBox10, *kivGroupBox11, *kivGroupBox12,
        *kivGroupBox13, *kivGroupBox14;  // thumbnail frames
    TkivGroupBox* kivGroupBox15;         // hidden: the lyric parser's scratch
    TkivImagePanel* kivImagePanel1;      // hidden: the length labels
    TkivImageButton* kivImageButton1;

    // --- data-holding controls -----------------------------------------------------
    TkivListView *kivListView1, *kivListView2, *kivListView3, *kivListView4, *kivListView5, *kivListView6;
    TkivListBox *kivListBox1, *kivListBox2, *kivListBox3;
    TListBox *ListBox1, *ListBox2, *ListBox3;  // the template's segment table
    TEdit *Edit1, *Edit2, *Edit3, *LRC_text, *Z_P_J_J_Edit;
    TLabel* Label5;                               // elapsed preview time
    TLabel *Label2, *Label1, *Label3, *Label6;    // album, music, opening, ending lengths

    // --- panes and players -----------------------------------------------------------
    TScrollBox *ScrollBox1, *ScrollBox9, *ScrollBox10, *ScrollBox11, *ScrollBox12, *ScrollBox13, *ScrollBox14;
    TScrollBox *ScrollBox2, *ScrollBox3, *ScrollBox4, *ScrollBox5, *ScrollBox6, *ScrollBox7, *ScrollBox8;
    TShockwaveFlash* jian_jie;           // intro movie
    TShockwaveFlash* liu_lan_zhao_pian;  // single-photo browser
    TShockwaveFlash* xiao_guo_Flash;     // effect template movie
    TShockwaveFlash* Pian_Wei_FLASH;     // ending-title movie
    TShockwaveFlash *ShockwaveFlash1, *ShockwaveFlash2, *ShockwaveFlash3, *ShockwaveFlash4, *ShockwaveFlash5,
        *ShockwaveFlash6, *ShockwaveFlash7;  // thumbnails
    TWindowsMediaPlayer* WindowsMediaPlayer1;  // the template's preview video
    TWindowsMediaPlayer* WindowsMediaPlayer2;  // music playback and measuring (hidden)
    TWindowsMediaPlayer* WindowsMediaPlayer3;  // the opening title
    TImage* Image2;  // still of the effect movie while it restarts

    // --- buttons -------------------------------------------------------------------------
    TkivButton *kivButton1, *kivButton2, *kivButton3, *kivButton4, *kivButton5, *kivButton6, *kivButton7,
        *kivButton8, *kivButton9, *kivButton10, *kivButton11, *kivButton12, *kivButton13, *kivButton14,
        *kivButton16, *kivButton17, *kivButton18, *kivButton19, *kivButton20, *kivButton21, *kivButton22,
        *kivButton23, *kivButton24, *kivButton26, *kivButton27, *kivButton28, *kivButton29, *kivButton30,
        *kivButton31, *kivButton32, *kivButton83;

    // --- dialogs and timers ------------------------------------------------------------------
    TkivMessageDialog *kivMessageDialog1, *kivMessageDialog2, *kivMessageDialog3;
    TOpenDialog *OpenDialog1, *OpenDialog2, *OpenDialog3;  // photos, music, effect template
    TSaveDialog* SaveDialog1;                              // the output file
    TTimer *Timer1, *Timer2, *Timer3, *Timer6;  // 1 ms, disabled
    TTimer* Timer4;                             // the clock, 1000 ms

    // --- handlers ------------------------------------------------------------------------------
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void Timer4Timer(TObject* Sender);
    // Play and Stop of the preview.
    void kivButton1Click(TObject* Sender);
    void kivButton3Click(TObject* Sender);
    // "电视制式": the TV-system dialog.
    void kivButton16Click(TObject* Sender);
    // The effect movie's photo-slot request "tupian=" + N.
    void xiao_guo_FlashFSCommand(TObject* Sender, const std::string& command, const std::string& args);
    // Output: AVI, VCD, SVCD, DVD and MPEG-4 hand the album to production;
    // the picture-quality dialog.
    void kivButton2Click(TObject* Sender);
    void kivButton12Click(TObject* Sender);
    void kivButton13Click(TObject* Sender);
    void kivButton14Click(TObject* Sender);
    void kivButton20Click(TObject* Sender);
    void kivButton32Click(TObject* Sender);

    // --- the preview (app/preview_engine) -----------------------------------------------------
    void StartOpeningTitle();
    void StartEffectPreview();
    void StartEndingTitle();
    void Timer2Timer(TObject* Sender);  // opening watch
    void Timer3Timer(TObject* Sender);  // frame poll
    void Edit1Change(TObject* Sender);  // the tick
    void Timer6Timer(TObject* Sender);  // ending watch
    app::PreviewEngine& Preview() { return *preview_; }
    // "导入模板": the effect template import (Form14).
    void kivButton7Click(TObject* Sender);
    // The music list (app/music_actions) and the sync-mode dialog.
    void kivButton10Click(TObject* Sender);  // "导入音乐"
    void kivButton27Click(TObject* Sender);  // "删除音乐"
    void kivButton28Click(TObject* Sender);  // "删除全部音乐"
    void kivButton5Click(TObject* Sender);   // "播放音乐"
    void kivListView2DblClick(TObject* Sender);
    void kivButton6Click(TObject* Sender);   // "停止播放"
    void WindowsMediaPlayer2PlayStateChange(TObject* Sender, int NewState);
    void Timer1Timer(TObject* Sender);       // starts the next song
    void kivButton11Click(TObject* Sender);  // "同步效果"
    // What the music actions touch of this window.
    app::MusicActionsView MusicView();
    // "片头片尾": the titles dialog (Form11).
    void kivButton19Click(TObject* Sender);
    // "导入歌词": the lyric dialog (Form15).
    void kivButton31Click(TObject* Sender);

    // --- the editing lock --------------------------------------------------------------------------
    // The 21 controls that a running preview freezes, in their order.
    std::vector<TControl*> MainLockList() const;
    void LockMainControls();
    void UnlockMainControls();
    // The template import's 20: the same without the lyric button.
    std::vector<TControl*> TemplateImportLockList() const;
    void LockTemplateImportControls();
    void UnlockTemplateImportControls();

    // --- shared album routines ------------------------------------------------------------------------
    // Set TimeHours/TimeMinutes/TimeSeconds, MusicTimeHours/... .
    void FramesToTimeText(double frames);
    void SecondsToTimeText(double seconds);
    // PhotoFrames from the segment table, the photos and the effect movie;
    // Label2 shows it as hh:mm:ss.
    void CalcPhotoFrames();
    // Fills slots 1 to N with the next N photos (PhotoCursor on).
    void CopyNextPhotos(int N);
    // PhotoCursor back to 0, then the template's first N slots.
    void FillPhotoSlots();
    // The segment table held in ListBox1 to ListBox3 (a row that is not a
    // number counts 0).
    app::SegmentTable SegmentRows() const;
    std::filesystem::path WorkPath() const { return std::filesystem::path(WorkDir); }

    // --- photos, thumbnails and lyric tables -------------------------------------------------------------
    // "导入照片": the file dialog, then MainForm renders the chosen photos.
    void kivButton4Click(TObject* Sender);
    // "照片剪辑": the crop editor (Form3).
    void kivButton18Click(TObject* Sender);
    // Reloads the seven thumbnails of a page through the "zpyjj/lin_shi.jpg"
    // detour, so that rewritten pictures show anew.
    void RefreshThumbnails(int page);
    // Label2: the album length by SyncMode; only while a valid template is loaded.
    void ProjectLengthText();
    bool ValidTemplateLoaded() const;
    // After photos were added with a valid template loaded: the template
    // panes and the photo slots start again with the new photos.
    void RefreshTemplateAfterPhotos();
    // "zpyjj/zpyjj" + k + ".jpg" of the work folder: the picture of photo k.
    std::filesystem::path PhotoPicture(int k) const;
    // "Photo" beside the program: it receives copies of photos chosen from "/".
    std::function<std::filesystem::path()> PhotoCopyFolder = [] { return core::ProgramDir() / "Photo"; };
    // Parses the LRC file of lyric row LrcSongIndex into kivListView4 (the
    // lyric index), kivListView6 and kivListBox3; no row or no readable file
    // leaves them empty.
    void LoadLrcLyrics();
    // kivListView4 as rows, for the lookup.
    std::vector<app::LrcRow> LyricIndexRows() const;
    // The lyric line for a key "mm:ss" by the lookup rule; nothing when no
    // row matches (the line shown stays).
    std::optional<std::string> LyricAt(std::string_view key) const;

    // --- thumbnail pages, photo browser, photo deletion (app/photo_browser, app/photo_deletion) ---
    void ShowThumbnailPage(int page);
    void OpenPhotoBrowser(int k);
    // The page the strip shows (PhotoPageIndex may lie past the last one).
    int PageInView() const;
    void ShowPaneAfterPhotoChange(bool photos_remain);
    void kivButton22Click(TObject* Sender);  // "下一页"
    void kivButton21Click(TObject* Sender);  // "上一页"
    void kivGroupBox8Click(TObject* Sender);
    void kivGroupBox9Click(TObject* Sender);
    void kivGroupBox10Click(TObject* Sender);
    void kivGroupBox11Click(TObject* Sender);
    void kivGroupBox12Click(TObject* Sender);
    void kivGroupBox13Click(TObject* Sender);
    void kivGroupBox14Click(TObject* Sender);
    void kivGroupBox8DblClick(TObject* Sender);
    void kivGroupBox9DblClick(TObject* Sender);
    void kivGroupBox10DblClick(TObject* Sender);
    void kivGroupBox11DblClick(TObject* Sender);
    void kivGroupBox12DblClick(TObject* Sender);
    void kivGroupBox13DblClick(TObject* Sender);
    void kivGroupBox14DblClick(TObject* Sender);
    void kivButton83Click(TObject* Sender);  // "浏览照片" on the strip
    void kivListView1DblClick(TObject* Sender);
    void kivButton8Click(TObject* Sender);   // "浏览照片" by the list
    void liu_lan_zhao_pianFSCommand(TObject* Sender, const std::string& command, const std::string& args);
    void kivButton29Click(TObject* Sender);  // "删除照片"
    void kivButton24Click(TObject* Sender);  // "删除"
    void kivButton30Click(TObject* Sender);  // "删除全部照片"
    void kivButton23Click(TObject* Sender);  // "全部删除"

    // --- start-up outcome --------------------------------------------------------------------------------
    // 0 after a start-up that found and took its work folder; otherwise
    // the program's exit code (the reason went to stderr).
    int StartupExitCode() const { return startup_exit_code_; }
    // True while this window holds its work folder (from start-up on).
    bool HoldsWorkFolder() const { return work_folder_lock_ && work_folder_lock_->Held(); }

    // The wall clock of the clock button; tests replace it.
    std::function<std::chrono::system_clock::time_point()> Now = [] { return std::chrono::system_clock::now(); };

private:
    void CreateControls();
    void CreateButtons();
    void CreatePreviewPanes();
    void CreateThumbnails();
    void CreateDataControls();
    void WirePhotoHandlers();
    void SetLocked(const std::vector<TControl*>& controls, bool locked);
    // Start-up refused: the reason to stderr, the window closes.
    void RefuseStart(int exit_code, const std::string& reason);

    int startup_exit_code_ = 0;
    std::optional<app::WorkFolderLock> work_folder_lock_;
    std::unique_ptr<app::PreviewEngine> preview_;
};

extern TForm1* Form1;
