#include "app/music_actions.h"

#include "app/form1.h"
#include "app/form4.h"
#include "app/music_list.h"
#include "app/sync_mode.h"
#include "platform/core/files.h"
#include "platform/core/timer.h"
#include "platform/flash/shockwave_flash.h"
#include "platform/media/media_player.h"
#include "platform/ui/label.h"
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
void ApplyEmptyMusicTail(TForm1& main, const char* message)
{
    const EmptyMusicTail tail =
        EmptyMusicListTail(main.kivListView1->Items().Count(), main.ValidTemplateLoaded(), main.SyncMode,
                           main.xiao_guo_Flash->TotalFrames(), main.PhotoFrames);
    if (tail.project_length) main.Label2->SetCaption(*tail.project_length);
    if (!tail.falls_back) return;
    main.SyncMode = std::string(kSyncMusicFollowsTemplate);
    main.kivMessageDialog1->SetCaption(kSyncModeCaption);
    main.kivMessageDialog1->SetText(message);
    main.kivMessageDialog1->SetButton1Caption("确定");
    main.kivMessageDialog1->ShowModal();
}

}  // namespace

void ImportMusic(TForm1& main)
{
    TOpenDialog& dialog = *main.OpenDialog2;
    dialog.SetFileName("");
    // The trailing separator opens the dialog inside the song folder.
    dialog.SetFileName((core::ProgramDir() / "MP3歌曲" / "").string());
    if (!dialog.Execute()) return;

    std::vector<std::string> files = dialog.Files().Items();
    if (files.empty() && !dialog.FileName().empty()) files.push_back(dialog.FileName());
    TListItems& rows = main.kivListView2->Items();
    for (const std::string& file : files) {
        TListItem* row = rows.Add();
        row->SetCaption(ListCaption(std::filesystem::u8path(file)));
        row->SubItems().Add(file);
        row->SubItems().Add("00:00");
    }
    if (rows.Count() > 0) main.kivListView2->SetItemIndex(0);
    Form4->ShowModal();
    main.ProjectLengthText();
}

void DeleteSelectedMusic(TForm1& main)
{
    TkivListView& list = *main.kivListView2;
    const int index = list.ItemIndex();
    if (index < 0) return;
    list.Items().Delete(index);
    // Lyric row k belongs to music row k: the later songs keep their own.
    TListItems& lyrics = main.kivListView5->Items();
    if (index < lyrics.Count()) lyrics.Delete(index);

    TWindowsMediaPlayer& player = *main.WindowsMediaPlayer2;
    player.controls().stop();
    main.MusicSeconds = 0;
    Form4->ShowModal();

    if (list.Items().Count() > 0) {
        player.SetURL(RowPath(*list.Items()[0]));
        player.controls().stop();
        list.SetItemIndex(0);
        main.MusicIndex = 0;
        // The music is shorter now; the album length shown follows it.
        main.ProjectLengthText();
    } else {
        ApplyEmptyMusicTail(main, kDeleteOneFallBackText);
    }
}

void DeleteAllMusic(TForm1& main)
{
    main.kivListView2->Items().Clear();
    main.kivListView5->Items().Clear();
    main.WindowsMediaPlayer2->controls().stop();
    main.MusicSeconds = 0;
    main.MusicRowSeconds.clear();
    main.Label1->SetCaption("00:00:00");
    main.MusicIndex = 0;
    ApplyEmptyMusicTail(main, kDeleteAllFallBackText);
}

void PlaySelectedMusic(TForm1& main)
{
    TkivListView& list = *main.kivListView2;
    const int index = list.ItemIndex();
    if (list.Items().Count() == 0 || index < 0) return;
    TWindowsMediaPlayer& player = *main.WindowsMediaPlayer2;
    player.SetURL(RowPath(*list.Items()[index]));
    player.controls().play();
    main.MusicIndex = index;
}

void StopMusic(TForm1& main)
{
    if (main.kivListView2->Items().Count() > 0) main.WindowsMediaPlayer2->controls().stop();
}

void MusicPlayStateChanged(TForm1& main, int new_state)
{
    if (new_state != wmppsMediaEnded) return;
    TListItems& rows = main.kivListView2->Items();
    const std::optional<int> next = NextTrackIndex(main.MusicIndex, rows.Count());
    if (!next) return;
    main.MusicIndex = *next;
    main.WindowsMediaPlayer2->SetURL(RowPath(*rows[*next]));
    main.Timer1->SetEnabled(true);
}

}  // namespace app
