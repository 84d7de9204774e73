#include "app/music_list.h"

#include "app/sync_mode.h"
#include "app/time_text.h"
#include "platform/core/text.h"

namespace app {

std::string ListCaption(const std::filesystem::path& file)
{
    return core::DropLastChars(file.filename().string(), 4);
}

std::optional<int> NextTrackIndex(int current, int rows)
{
    if (rows <= 0) return std::nullopt;
    if (current < 0 || current + 1 >= rows) return 0;
    return current + 1;
}

EmptyMusicTail EmptyMusicListTail(int photo_count, bool template_loaded, std::string_view sync_mode,
                                  int64_t total_frames, int64_t photo_frames)
{
    EmptyMusicTail tail;
    if (photo_count <= 0) {
        tail.project_length = "00:00:00";
    } else if (template_loaded) {
        // Without music the photos can no longer follow it: the template's
        // length stands in.
        const int64_t frames = sync_mode == kSyncMusicFollowsPhotos ? photo_frames : total_frames;
        tail.project_length = FramesToTimeText(static_cast<double>(frames)).HhMmSs();
    }
    tail.falls_back = sync_mode == kSyncPhotosFollowMusic;
    return tail;
}

std::string UnmeasuredMusicText(const std::vector<std::string>& files)
{
    std::string text = "无法读取以下音乐文件的长度,不计入音乐总长度:";
    for (const std::string& file : files) text += "\n" + file;
    return text;
}

std::string RefusedMusicText(const std::vector<std::string>& files)
{
    std::string text = "以下文件不是普通文件,没有导入:";
    for (const std::string& file : files) text += "\n" + file;
    return text;
}

}  // namespace app
