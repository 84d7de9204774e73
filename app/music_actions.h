#pragma once
// The main window's music list: import with measuring, play, stop, the
// two deletes and the end-of-track advance. TForm1's handlers delegate
// here.
class TForm1;

namespace app {

// "导入音乐": appends the chosen files and measures the whole list.
void ImportMusic(TForm1& main);
// "删除音乐": the selected song and its lyric file go; the rest is measured
// again.
void DeleteSelectedMusic(TForm1& main);
// "删除全部音乐": every song and every lyric file go.
void DeleteAllMusic(TForm1& main);
// "播放音乐" and the double-click on a row.
void PlaySelectedMusic(TForm1& main);
// "停止播放".
void StopMusic(TForm1& main);
// The music player changed state: at the end of a song the next row is
// loaded (the first after the last) and the main window's Timer1 starts it.
void MusicPlayStateChanged(TForm1& main, int new_state);

}  // namespace app
