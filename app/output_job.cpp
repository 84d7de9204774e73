#include "app/output_job.h"

#include <algorithm>
#include <limits>

#include "app/sync_mode.h"
#include "mcl/mcl_timebase.h"
#include "production/output_formats.h"

namespace app {

namespace {

int64_t NonNegative(int64_t value) { return std::max<int64_t>(value, 0); }
// A movie of n frames stands for n - 1 frames of the job.
int64_t MovieFrames(int64_t total_frames) { return total_frames > 0 ? total_frames - 1 : 0; }

int64_t SaturatingAdd(int64_t a, int64_t b)
{
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    return a > kMax - b ? kMax : a + b;  // both are 0 or more
}

}  // namespace

int64_t JobFrameCount(const JobFrameInput& input)
{
    int64_t album = 0;
    if (input.sync_mode == kSyncMusicFollowsTemplate)
        album = MovieFrames(input.template_frames);
    else if (input.sync_mode == kSyncMusicFollowsPhotos)
        album = NonNegative(input.photo_frames);
    else if (input.sync_mode == kSyncPhotosFollowMusic)
        album = NonNegative(MclSecondsToFrames(input.music_seconds));
    else
        return 0;
    if (!input.has_ending) return album;
    return SaturatingAdd(album, MovieFrames(input.ending_frames));
}

std::string_view OutputExtension(std::string_view output_format)
{
    const production::OutputFormat* format = production::FindOutputFormat(output_format);
    return format ? format->extension : std::string_view{};
}

std::string_view FileNameExtension(std::string_view path)
{
    const size_t name_start = path.find_last_of('/');
    const std::string_view name = name_start == std::string_view::npos ? path : path.substr(name_start + 1);
    const size_t dot = name.find_last_of('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

std::string OutputPathFor(std::string_view chosen_path, std::string_view output_format)
{
    std::string path(chosen_path);
    if (FileNameExtension(chosen_path).empty()) path += OutputExtension(output_format);
    return path;
}

}  // namespace app
