#include "app/music_actions.h"

#include "app/music_list.h"
#include "app/sync_mode.h"
#include "platform/core/files.h"
#include "platform/core/timer.h"
#include "platform/media/media_player.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/label.h"
#include "platform/ui/listview.h"
#include "production/song_files.h"
#include "skin/kiv_list_view.h"
#include "skin/kiv_message_dialog.h"

namespace app {

namespace {

std::string RowPath(const TListItem& row)
{
    return row.SubItems().Count() > 0 ? row.SubItems()[0] : std::string();
}

// After the last song is gone: the album length without music, and the
// mode falls back when the photos followed the music.
void ApplyEmptyMusicTail(const MusicActionsView& main, const char* message)
{
    const EmptyMusicTail tail = EmptyMusicListTail(main.photo_rows.Count(), main.template_loaded(),
                                                   main.sync_mode, main.template_frames(), main.photo_frames);
    if (tail.project_length) main.album_length.SetCaption(*tail.project_length);
    if (!tail.falls_back) return;
    main.sync_mode = std::string(kSyncMusicFollowsTemplate);
    skin::Tell(main.message, kSyncModeCaption, message);
}

}  // namespace

void ImportMusic(const MusicActionsView& main)
{
    TOpenDialog& dialog = main.music_dialog;
    dialog.SetFileName("");
    // The trailing separator opens the dialog inside the song folder.
    dialog.SetFileName((core::ProgramDir() / "MP3歌曲" / "").string());
    if (!dialog.Execute()) return;

    std::vector<std::string> files = dialog.Files().Items();
    if (files.empty() && !dialog.FileName().empty()) files.push_back(dialog.FileName());
    TListItems& rows = main.music_list.Items();
    // Only regular files are songs: a pipe or a device would be read for
    // ever, by the measuring and by production.
    std::vector<std::string> refused;
    for (const std::string& file : files) {
        if (!production::IsSongFile(file)) {
            refused.push_back(file);
            continue;
        }
        TListItem* row = rows.Add();
        row->SetCaption(ListCaption(std::filesystem::u8path(file)));
        row->SubItems().Add(file);
        row->SubItems().Add("00:00");
    }
    if (!refused.empty()) {
        skin::Tell(main.message, kImportMusicCaption, RefusedMusicText(refused));
        if (refused.size() == files.size()) return;
    }
    if (rows.Count() > 0) main.music_list.SetItemIndex(0);
    main.measure_music();
    main.show_album_length();
}

void DeleteSelectedMusic(const MusicActionsView& main)
{
    TkivListView& list = main.music_list;
    const int index = list.ItemIndex();
    if (index < 0) return;
    list.Items().Delete(index);
    // Lyric row k belongs to music row k: the later songs keep their own.
    TListItems& lyrics = main.lyric_list.Items();
    if (index < lyrics.Count()) lyrics.Delete(index);

    TWindowsMediaPlayer& player = main.player;
    player.controls().stop();
    main.music_seconds = 0;
    main.measure_music();

    if (list.Items().Count() > 0) {
        player.SetURL(RowPath(*list.Items()[0]));
        player.controls().stop();
        list.SetItemIndex(0);
        main.music_index = 0;
        // The music is shorter now; the album length shown follows it.
        main.show_album_length();
    } else {
        ApplyEmptyMusicTail(main, kDeleteOneFallBackText);
    }
}

void DeleteAllMusic(const MusicActionsView& main)
{
    main.music_list.Items().Clear();
    main.lyric_list.Items().Clear();
    main.player.controls().stop();
    main.music_seconds = 0;
    main.music_row_seconds.clear();
    main.music_length.SetCaption("00:00:00");
    main.music_index = 0;
    ApplyEmptyMusicTail(main, kDeleteAllFallBackText);
}

namespace {

// The song plays, or the player would say otherwise: once a song that
// "播放音乐" started is playing, a missing sound device is said.
void TellIfSoundOff(const MusicActionsView& main)
{
    SoundOffNotice& notice = main.sound_off;
    if (!notice.play_asked || notice.told || main.player.playState() != wmppsPlaying) return;
    notice.play_asked = false;
    if (!main.player.SoundOff()) return;
    notice.told = true;
    skin::Tell(main.message, "播放音乐", "没有找到声音设备, 音乐播放时听不到声音.");
}

}  // namespace

void PlaySelectedMusic(const MusicActionsView& main)
{
    TkivListView& list = main.music_list;
    const int index = list.ItemIndex();
    if (list.Items().Count() == 0 || index < 0) return;
    TWindowsMediaPlayer& player = main.player;
    player.SetURL(RowPath(*list.Items()[index]));
    if (!main.sound_off.told) main.sound_off.play_asked = true;
    player.controls().play();
    main.music_index = index;
    TellIfSoundOff(main);
}

void StopMusic(const MusicActionsView& main)
{
    if (main.music_list.Items().Count() > 0) main.player.controls().stop();
}

void MusicPlayStateChanged(const MusicActionsView& main, int new_state)
{
    if (new_state == wmppsPlaying) TellIfSoundOff(main);
    if (new_state != wmppsMediaEnded) return;
    TListItems& rows = main.music_list.Items();
    const std::optional<int> next = NextTrackIndex(main.music_index, rows.Count());
    if (!next) return;
    main.music_index = *next;
    main.player.SetURL(RowPath(*rows[*next]));
    main.next_song_timer.SetEnabled(true);
}

}  // namespace app
