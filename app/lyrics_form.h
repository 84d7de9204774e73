// TForm15 ("导入歌词"): attaches LRC files to the songs and tries them out.
// The main window's lyric file list kivListView5 is the project's: row k
// is the lyric file of music row k; "选择歌词" shows it. "播放歌词" plays
// the song chosen under "选择歌曲" in the main window's music player and
// shows, each timer tick, the lyric line of the player's position in the
// small lyric movie, styled by the project's eight lyric style values
// ("调整歌词", TForm16). The dialog reaches the album through its
// LyricsView of the main window.
#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/lrc.h"
#include "platform/ui/form.h"
#include "production/lyric_style.h"

class TListItems;
class TOpenDialog;
class TShockwaveFlash;
class TTimer;
class TWindowsMediaPlayer;
class TkivButton;
class TkivComboBox;
class TkivForm;
class TkivGroupBox;
class TkivListBox;
class TkivListView;
class TkivMessageDialog;
class TkivPageControl;
class TkivTabSheet;

namespace app {
inline constexpr const char* kLyricDialogCaption = "导入歌词";
inline constexpr const char* kLyricPlaceholder = "这里显示歌词内容";
inline constexpr const char* kNoMusicForLyricsText = "导入歌词前,先导入音乐.";
inline constexpr const char* kNoLyricsCaption = "没有导入歌词";
inline constexpr const char* kNoLyricsText = "没有导入歌词.";
inline constexpr const char* kPlayLyricsCaption = "播放歌词";
// Lyric files that cannot be read: the text is followed by their paths, one a line.
inline constexpr const char* kUnreadableLyricsText = "下列歌词文件不能读取,没有导入:";
inline constexpr const char* kUnreadableLyricText = "歌词文件不能读取:";
// A song the music player cannot play; its path follows on the next line.
inline constexpr const char* kUnplayableSongText = "歌曲不能播放:";
// The lyric movie of the work folder.
inline constexpr const char* kLyricPreviewMovie = "xtsz/LRC_yulan.swf";

// What the lyric dialog touches of the main window.
struct LyricsView {
    // What it reads.
    const TListItems& music;              // the music list: caption, then the song's path
    const production::LyricStyle& style;  // the project's lyric style
    std::function<std::filesystem::path()> work_path;

    // What it may change.
    // The lyric files, row k for music row k ("歌词名称", "歌词位置").
    TkivListView& lyric_files;
    // The main window's lyric index, which an import fills with the first file's.
    TkivListView& lyric_index;
    // The music player, which the karaoke plays the song in and follows.
    TWindowsMediaPlayer& music_player;
    // The music list's timer that starts the next song; a stop holds it.
    TTimer& next_song_timer;
    int& music_index;  // the music row last started
    // Parses the lyric file of a lyric row into the main window's lyric
    // tables and returns its index (none: no lyrics).
    std::function<std::vector<LrcRow>(int row)> load_lyrics;
    // A message in the main window's message box: caption, text.
    std::function<void(const std::string&, const std::string&)> tell;
};

// "导入歌词" of the main window: with music imported, fills the dialog's
// lists and the style dialog's, loads the lyric movie and shows the dialog.
void OpenLyricDialog(const LyricsView& main);
}  // namespace app

class TForm15 : public TForm {
public:
    explicit TForm15(TComponent* AOwner = nullptr);
    ~TForm15() override;

    TkivForm* kivForm1;                // the skinned panel
    TkivGroupBox* kivGroupBox1;        // "选择歌曲"
    TkivComboBox* kivComboBox1;        // the music rows' captions
    TkivGroupBox* kivGroupBox2;        // "选择歌词"
    TkivComboBox* kivComboBox2;        // the lyric rows' captions, parallel to the lyric files
    TkivPageControl* kivPageControl1;  // disabled: the movie only shows
    TkivTabSheet* kivTabSheet1;        // "歌词预览"
    TShockwaveFlash* ShockwaveFlash1;  // the lyric movie, 352 x 288
    TkivButton* kivButton1;            // "导入歌词"
    TkivButton* kivButton2;            // "删除歌词"
    TkivButton* kivButton3;            // "返         回"
    TkivButton* kivButton4;            // "调整歌词"
    TkivButton* kivButton5;            // "播放歌词"
    TkivButton* kivButton6;            // "停止播放"
    TOpenDialog* OpenDialog1;          // the LRC file
    TTimer* Timer1;                    // the karaoke step, 1 ms
    // Hidden: the import's parse tables.
    TkivGroupBox* kivGroupBox3;            // hidden: holds the lyric parser's tables for the karaoke
    TkivListView* kivListView1;            // hidden: the lyric parser's numbered lines ("序号", "歌词")
    TkivListBox* kivListBox1;              // hidden: the lyric parser's "[" positions of the last line
    TkivListBox* kivListBox2;              // hidden: its "]" positions
    TkivListBox* kivListBox3;              // hidden: the tag lines
    TkivMessageDialog* kivMessageDialog1;  // the dialog's messages

    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void kivButton1Click(TObject* Sender);
    void kivButton2Click(TObject* Sender);
    void kivButton3Click(TObject* Sender);
    void kivButton4Click(TObject* Sender);
    void kivButton5Click(TObject* Sender);
    void kivButton6Click(TObject* Sender);
    void Timer1Timer(TObject* Sender);

    // Sets a variable of the lyric movie and makes the movie show it.
    void SetMovieVariable(const std::string& name, const std::string& value);
    // The movie draws again with its variables: to the last frame and back.
    void RefreshMovie();
    // The music row whose song the karaoke follows; -1 while idle.
    int PlayingSong() const { return song_; }
    // The main window's side, once every form exists.
    void Connect(app::LyricsView view) { main_.emplace(std::move(view)); }

private:
    // The seven controls that a running karaoke disables.
    std::vector<TControl*> PlayLockList() const;
    void ShowMessage(const std::string& caption, const std::string& text);
    // The lyric index of lyric row `row` (none: no lyrics), parsed by the
    // main window.
    void LoadLyricRow(int row);
    // The music list moved on to music row `song`: the song shown and its
    // own lyrics follow.
    void FollowSong(int song);
    void StopPlaying();

    std::optional<app::LyricsView> main_;  // none: built without a main window
    int song_ = -1;
    std::vector<app::LrcRow> lyrics_;  // the index the karaoke looks up
};

extern TForm15* Form15;
