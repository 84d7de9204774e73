#pragma once
// The music list's own rules, apart from the main window: row captions, the
// end-of-track advance, the tail after the last song is gone, and the
// messages of the music list and the sync-mode dialog.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// Caption of the sync-mode dialog and of every message about the sync mode.
inline constexpr const char* kSyncModeCaption = "同步效果";
// The last song went by "删除音乐" / by "删除全部音乐" while the photos
// followed the music.
inline constexpr const char* kDeleteOneFallBackText = "没有音乐文件,同步效果更改为:音乐随模板长度同步.";
inline constexpr const char* kDeleteAllFallBackText = "没有音乐文件,同步效果:音乐随模板长度同步.";
// The sync-mode dialog's refusals.
inline constexpr const char* kNoMusicForSyncText = "没有导入音乐,不能设置此项功能.";
inline constexpr const char* kNoTemplateForSyncText = "没有导入模板,不能设置此项功能.";
// Caption of the measuring form and of its message.
inline constexpr const char* kMeasuringCaption = "正在分析音乐,请稍后...";

// What a music or lyric row shows for a file: its name without the last
// four characters ("a.mp3" gives "a"; four characters or fewer give "").
std::string ListCaption(const std::filesystem::path& file);

// The row to play after row `current` ended, in a list of `rows` rows: the
// next one, the first after the last. The list may have changed since the
// song started, so a row outside it starts over at the first. Nothing for
// an empty list.
std::optional<int> NextTrackIndex(int current, int rows);

// The album length and mode once the last music row is gone.
struct EmptyMusicTail {
    // The new text of the album length label; nothing: it stays (photos
    // but no valid template).
    std::optional<std::string> project_length;
    // The photos followed the music: the mode falls back to the template's
    // length and the user is told.
    bool falls_back = false;
};
EmptyMusicTail EmptyMusicListTail(int photo_count, bool template_loaded, std::string_view sync_mode,
                                  int64_t total_frames, int64_t photo_frames);

// The message for files whose length could not be found: each named on its
// own line.
std::string UnmeasuredMusicText(const std::vector<std::string>& files);

// Caption of the message that refuses chosen files at the import.
inline constexpr const char* kImportMusicCaption = "导入音乐";
// The message for chosen files that are no regular files (a pipe, a device,
// a folder) and so were not imported: each named on its own line.
std::string RefusedMusicText(const std::vector<std::string>& files);

}  // namespace app
