#pragma once
// The main window's music list: import with measuring, play, stop, the
// two deletes and the end-of-track advance. The main window's handlers
// delegate here, each with the MusicActionsView below: everything these
// actions touch of the main window.
#include <functional>
#include <string>
#include <vector>

class TLabel;
class TListItems;
class TOpenDialog;
class TTimer;
class TWindowsMediaPlayer;
class TkivListView;
class TkivMessageDialog;

namespace app {

// "No sound device" is said once a run, at the first song that "播放音乐"
// starts without one (the muted plays of the measuring say nothing).
struct SoundOffNotice {
    bool play_asked = false;
    bool told = false;
};

struct MusicActionsView {
    // What they read.
    const TListItems& photo_rows;  // the photo list, only counted
    const int& photo_frames;       // the album's frames when the music follows the photos
    // The effect movie's frames: the album length without music.
    std::function<int()> template_frames;
    // Whether a valid effect template is loaded.
    std::function<bool()> template_loaded;

    // What they may change.
    // The music list: caption, path, "mm:ss" length; and the lyric list,
    // whose row k holds the lyric file of music row k.
    TkivListView& music_list;
    TkivListView& lyric_list;
    // The hidden player that plays and measures the songs, and the timer
    // that starts the next song once the player holds it.
    TWindowsMediaPlayer& player;
    TTimer& next_song_timer;
    TOpenDialog& music_dialog;
    TLabel& music_length;  // the music's hh:mm:ss
    TLabel& album_length;  // the album's hh:mm:ss
    TkivMessageDialog& message;
    // The project's music values.
    double& music_seconds;                   // the whole list's length
    std::vector<double>& music_row_seconds;  // each row's measured length
    int& music_index;                        // the row playing or last played
    std::string& sync_mode;                  // falls back when the last song goes
    SoundOffNotice& sound_off;
    // Measures every row of the music list (the measuring form, modally).
    std::function<void()> measure_music;
    // The album length label anew, by the sync mode.
    std::function<void()> show_album_length;
};

// "导入音乐": appends the chosen files and measures the whole list.
void ImportMusic(const MusicActionsView& main);
// "删除音乐": the selected song and its lyric file go; the rest is measured
// again.
void DeleteSelectedMusic(const MusicActionsView& main);
// "删除全部音乐": every song and every lyric file go.
void DeleteAllMusic(const MusicActionsView& main);
// "播放音乐" and the double-click on a row. With no sound device the song
// plays on silently, and the first such play of the run says so.
void PlaySelectedMusic(const MusicActionsView& main);
// "停止播放".
void StopMusic(const MusicActionsView& main);
// The music player changed state: at the end of a song the next row is
// loaded (the first after the last) and the next-song timer starts it.
void MusicPlayStateChanged(const MusicActionsView& main, int new_state);

}  // namespace app
