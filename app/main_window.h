// TForm1: castora's main window. It is the album editor's desktop and its
// document at once: the project state (ProjectState) and the main window's
// list controls are the project. The other forms and the main window's
// helper modules reach it only through views (ConnectDialogs and the *View
// builders in app/main_window_views.cpp), each holding what its user reads
// apart from what it may change.
#pragma once
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/lrc.h"
#include "app/music_actions.h"
#include "app/product_title.h"
#include "app/project_state.h"
#include "app/run_buttons.h"
#include "app/segment_table.h"
#include "app/thumbnail_strip.h"
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
struct CropRenderView;
struct LyricStyleView;
struct LyricsView;
struct MusicActionsView;
struct OutputHandoverView;
struct PreviewEngineView;
struct PhotoBrowserView;
struct PhotoDeletionView;
struct PhotoImportView;
struct PhotoRowRemovalView;
struct CropEditorView;
struct DeleteAllPhotosView;
struct TitlesView;
struct EndingTextView;
struct ThumbnailStrip;
struct TemplateImportView;
struct SyncModeView;
struct MusicMeasureView;

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
    TkivBuiltInFileTheme* kivBuiltInFileTheme1;  // the skin stored in the program, worn by every form
    TkivForm* kivForm1;                          // the skinned panel that holds every control below

    // --- frames ------------------------------------------------------------------
    TkivGroupBox* kivGroupBox3;          // frame of the photo list
    TkivGroupBox* kivGroupBox1;          // frame of the music list
    TkivGroupBox* kivGroupBox2;          // the preview frame; its seven panes lie on top of each other
    app::TThumbnailStrip* kivGroupBox7;  // the thumbnail strip, marking the selected slot
    TkivGroupBox* kivGroupBox8;          // thumbnail frames 1 to 7 of the strip, left to right;
    TkivGroupBox* kivGroupBox9;          //   a click selects the slot, a double click browses the photo
    TkivGroupBox* kivGroupBox10;
    TkivGroupBox* kivGroupBox11;
    TkivGroupBox* kivGroupBox12;
    TkivGroupBox* kivGroupBox13;
    TkivGroupBox* kivGroupBox14;
    TkivGroupBox* kivGroupBox15;       // hidden "LRC 歌词处理": holds the lyric parser's tables
    TkivImagePanel* kivImagePanel1;    // hidden: holds the four length labels
    TkivImageButton* kivImageButton1;  // the strip's bottom edge

    // --- data-holding controls -----------------------------------------------------
    // The visible lists are the project's photos and songs; the hidden ones are
    // tables that the other forms and production read through Form1.
    TkivListView* kivListView1;  // "照片名称", "照片位置": the photo list, row k - 1 is photo k
    TkivListView* kivListView2;  // "音乐名称", "音乐位置", "音乐时间": the music list
    TkivListView* kivListView3;  // hidden: each photo's name, path, crop state and crop rectangle
    TkivListView* kivListView4;  // hidden: the lyric index of the current song (time tag, line)
    TkivListView* kivListView5;  // hidden: the lyric files, one row per song ("歌词名称", "歌词位置")
    TkivListView* kivListView6;  // hidden: the lyric parser's numbered lines
    TkivListBox* kivListBox1;    // hidden: the lyric parser's "[" positions of the last line
    TkivListBox* kivListBox2;    // hidden: the lyric parser's "]" positions of that line
    TkivListBox* kivListBox3;    // hidden: the lyric parser's tag lines
    // Hidden: the effect template's segment table (app/segment_table.h), one
    // row per segment; written by the template import, read by the preview,
    // the album length and production.
    TListBox* ListBox1;  // carried along, read by nobody
    TListBox* ListBox2;  // the frame at which each segment ends
    TListBox* ListBox3;  // photos each segment shows; row 0 is the slots filled at a time
    // Hidden edits that carry the preview's and the photo renderer's state.
    TEdit* Edit1;         // the effect movie's frame the preview's poll saw last; a change runs Edit1Change
    TEdit* Edit2;         // the preview's tick: ticks of the effect stage, from -1
    TEdit* Edit3;         // the preview's lyric tick, counting frames of the current song
    TEdit* LRC_text;      // the "mm:ss" key of the lyric line the preview shows last
    TEdit* Z_P_J_J_Edit;  // MainForm's mode: "dao_ru_zhao_pian" (photo import) or the crop editor's
    TLabel* Label5;       // the preview's elapsed time, beside Play and Stop
    TLabel* Label2;       // hidden: the album length, hh:mm:ss
    TLabel* Label1;       // hidden: the music list's length
    TLabel* Label3;       // hidden: the opening title's length
    TLabel* Label6;       // hidden: the ending title's length

    // --- panes and players -----------------------------------------------------------
    // The preview's panes, one brought up at a time.
    TScrollBox* ScrollBox1;   // the single-photo browser
    TScrollBox* ScrollBox9;   // the template's preview video
    TScrollBox* ScrollBox10;  // the effect movie
    TScrollBox* ScrollBox11;  // the opening title
    TScrollBox* ScrollBox12;  // the ending title
    TScrollBox* ScrollBox13;  // the intro movie, shown at start-up
    TScrollBox* ScrollBox14;  // the still of the effect movie's last frame
    TScrollBox* ScrollBox2;   // panes of thumbnails 1 to 7, inside the strip's frames
    TScrollBox* ScrollBox3;
    TScrollBox* ScrollBox4;
    TScrollBox* ScrollBox5;
    TScrollBox* ScrollBox6;
    TScrollBox* ScrollBox7;
    TScrollBox* ScrollBox8;
    TShockwaveFlash* jian_jie;           // intro movie
    TShockwaveFlash* liu_lan_zhao_pian;  // single-photo browser
    TShockwaveFlash* xiao_guo_Flash;     // effect template movie; asks for photo slots by "tupian="
    TShockwaveFlash* Pian_Wei_FLASH;     // ending-title movie
    TShockwaveFlash* ShockwaveFlash1;    // thumbnails 1 to 7 of the strip's page
    TShockwaveFlash* ShockwaveFlash2;
    TShockwaveFlash* ShockwaveFlash3;
    TShockwaveFlash* ShockwaveFlash4;
    TShockwaveFlash* ShockwaveFlash5;
    TShockwaveFlash* ShockwaveFlash6;
    TShockwaveFlash* ShockwaveFlash7;
    TWindowsMediaPlayer* WindowsMediaPlayer1;  // the template's preview video
    TWindowsMediaPlayer* WindowsMediaPlayer2;  // music playback and measuring (hidden)
    TWindowsMediaPlayer* WindowsMediaPlayer3;  // the opening title
    TImage* Image2;  // still of the effect movie while it restarts, and before the ending

    // --- buttons -------------------------------------------------------------------------
    TkivButton* kivButton7;   // "导入模板": imports an effect template
    TkivButton* kivButton4;   // "导入照片": imports photos
    TkivButton* kivButton10;  // "导入音乐": imports songs
    TkivButton* kivButton31;  // "导入歌词": the lyric dialog
    TkivButton* kivButton18;  // "照片剪辑": the crop editor
    TkivButton* kivButton11;  // "同步效果": the sync-mode dialog
    TkivButton* kivButton16;  // "电视制式": the TV-system dialog
    TkivButton* kivButton32;  // "画面质量": the picture-quality dialog
    TkivButton* kivButton2;   // "AVI": produces an AVI file
    TkivButton* kivButton12;  // "VCD": produces a VCD MPEG file
    TkivButton* kivButton13;  // "SVCD": produces an SVCD MPEG file
    TkivButton* kivButton14;  // "DVD": produces a DVD MPEG file
    TkivButton* kivButton20;  // "MPEG-4": produces an MP4 file
    TkivButton* kivButton19;  // "片头片尾": the opening and ending titles dialog
    TkivButton* kivButton8;   // "浏览照片": browses the photo selected in the list
    TkivButton* kivButton29;  // "删除照片": deletes the photo selected in the list
    TkivButton* kivButton30;  // "删除全部照片": deletes every photo
    TkivButton* kivButton17;  // disabled, no caption: the clock
    TkivButton* kivButton5;   // "播放音乐": plays the selected song
    TkivButton* kivButton6;   // "停止播放": stops the song
    TkivButton* kivButton27;  // "删除音乐": deletes the selected song
    TkivButton* kivButton28;  // "删除全部音乐": deletes every song
    TkivButton* kivButton26;  // disabled, no caption: fills the music buttons' row
    TkivButton* kivButton21;  // "上一页": the strip's previous page
    TkivButton* kivButton22;  // "下一页": the strip's next page
    TkivButton* kivButton24;  // "删除": deletes the photo of the selected slot
    TkivButton* kivButton23;  // "全部删除": deletes every photo, from the strip
    TkivButton* kivButton83;  // "浏览照片": browses the photo of the selected slot
    TkivButton* kivButton1;   // "播放": plays the preview
    TkivButton* kivButton3;   // "停止": stops the preview
    TkivButton* kivButton9;   // disabled "动态效果预览": the preview's heading

    // --- dialogs and timers ------------------------------------------------------------------
    TkivMessageDialog* kivMessageDialog1;  // the start-up refusal and the photo import's message
    TkivMessageDialog* kivMessageDialog2;  // the template import's "invalid template" message
    TkivMessageDialog* kivMessageDialog3;  // the template import's "already imported" message
    TOpenDialog* OpenDialog1;              // photos ("*.jpg", several at once)
    TOpenDialog* OpenDialog2;              // music ("*.mp3", "*.wav", several at once)
    TOpenDialog* OpenDialog3;              // the effect template ("*.avi")
    TSaveDialog* SaveDialog1;              // the output file
    TTimer* Timer1;                        // 1 ms, one shot: starts the next song after one ended
    TTimer* Timer2;                        // 1 ms: watches the opening title during the preview
    TTimer* Timer3;                        // 1 ms: polls the effect movie's frame during the preview
    TTimer* Timer6;                        // 1 ms: watches the ending title during the preview
    TTimer* Timer4;                        // 1000 ms: the clock

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
    // The preview's Stop and the output buttons, which a running preview or
    // an import frees or holds.
    app::RunButtons RunButtons() const;

    // --- the preview (app/preview_engine) -----------------------------------------------------
    void StartOpeningTitle();
    void StartEffectPreview();
    void StartEndingTitle();
    void Timer2Timer(TObject* Sender);  // opening watch
    void Timer3Timer(TObject* Sender);  // frame poll
    void Edit1Change(TObject* Sender);  // the tick
    void Timer6Timer(TObject* Sender);  // ending watch
    app::PreviewEngine& Preview() { return *preview_; }
    // What the preview touches of this window.
    app::PreviewEngineView PreviewView();
    // "导入模板": the effect template import (Form14).
    void kivButton7Click(TObject* Sender);
    // The music list (app/music_actions) and the sync-mode dialog.
    void kivButton10Click(TObject* Sender);  // "导入音乐"
    void kivButton27Click(TObject* Sender);  // "删除音乐"
    void kivButton28Click(TObject* Sender);  // "删除全部音乐"
    void kivButton5Click(TObject* Sender);   // "播放音乐"
    void kivListView2DblClick(TObject* Sender);
    void kivButton6Click(TObject* Sender);  // "停止播放"
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
    // Parses the LRC file of lyric row `song` into kivListView4 (the lyric
    // index), kivListView6 and kivListBox3; no row or no readable file
    // leaves them empty.
    void LoadLrcLyrics(int song);
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
    // SelectedSlot := slot, and the strip marks that slot.
    void SelectSlot(int slot);
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
    void kivButton8Click(TObject* Sender);  // "浏览照片" by the list
    void liu_lan_zhao_pianFSCommand(TObject* Sender, const std::string& command, const std::string& args);
    void kivButton29Click(TObject* Sender);  // "删除照片"
    void kivButton24Click(TObject* Sender);  // "删除"
    void kivButton30Click(TObject* Sender);  // "删除全部照片"
    void kivButton23Click(TObject* Sender);  // "全部删除"
    // What the strip, the photo browser and the photo deletion touch of
    // this window.
    app::ThumbnailStrip StripView();
    app::PhotoBrowserView BrowserView();
    app::PhotoDeletionView DeletionView();

    // --- the dialogs' views (app/main_window_views.cpp) ------------------------------------------------
    // Hands every dialog its view of this window, once all forms exist:
    // a dialog reaches the album only through its view.
    void ConnectDialogs();
    // The photo import and the crop renderers.
    app::PhotoImportView PhotoImportView();  // MainForm
    app::CropRenderView CropRenderView();    // Form2

    // The crop editor and the photo deletion dialogs.
    app::CropEditorView CropEditorView();
    // Form5 removes the list's selected row, Form7 the row DeleteIndex.
    app::PhotoRowRemovalView PhotoRowRemovalView(std::function<int()> row);
    app::DeleteAllPhotosView DeleteAllPhotosView();

    // The titles dialogs.
    app::TitlesView TitlesView();
    app::EndingTextView EndingTextView();

    // The lyric dialogs.
    app::LyricsView LyricsView();
    app::LyricStyleView LyricStyleView();

    // The template import, the sync mode and the music measure.
    // What Form14, Form8 and Form4 see of this window.
    app::TemplateImportView ImportView();
    app::SyncModeView SyncView();
    app::MusicMeasureView MeasureView();

    // The output hand-over and the production dialogs.
    // What the output buttons hand over to production and take back.
    app::OutputHandoverView OutputHandoverView();

    // --- start-up outcome --------------------------------------------------------------------------------
    // 0 after a start-up that found and took its work folder; otherwise
    // the program's exit code (the reason went to stderr).
    int StartupExitCode() const { return startup_exit_code_; }
    // True while this window holds its work folder (from start-up on).
    bool HoldsWorkFolder() const { return work_folder_lock_ && work_folder_lock_->Held(); }

    // The wall clock of the clock button; tests replace it.
    std::function<std::chrono::system_clock::time_point()> Now = [] {
        return std::chrono::system_clock::now();
    };

private:
    void CreateControls();
    void CreateButtons();
    void CreatePreviewPanes();
    void CreateThumbnails();
    void CreateDataControls();
    void WirePhotoHandlers();
    void SetLocked(const std::vector<TControl*>& controls, bool locked);
    // Start-up refused: `exit_code`, the reason to stderr and the message
    // in the box, and the window closes.
    void RefuseStart(int exit_code, const std::string& reason, const std::string& message);

    int startup_exit_code_ = 0;
    app::SoundOffNotice sound_off_notice_;
    std::optional<app::WorkFolderLock> work_folder_lock_;
    std::unique_ptr<app::PreviewEngine> preview_;
};

extern TForm1* Form1;

namespace app {
// Creates the main window as the global Form1, the first form of the program.
TForm1& CreateMainWindow();
}  // namespace app
