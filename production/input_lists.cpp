#include "production/input_lists.h"

namespace production {

int64_t FrameFileEntries(const ProductionJob& job) { return ProducerCallCount(job) + kVideoListMargin; }

InputLists BuildInputLists(const ProductionJob& job, const std::string& frameFile)
{
    InputLists lists;
    const int64_t entries = FrameFileEntries(job);
    lists.video.reserve(static_cast<std::size_t>(entries) + 1);
    if (!job.openingFile.empty()) lists.video.push_back(job.openingFile);
    lists.video.insert(lists.video.end(), static_cast<std::size_t>(entries), frameFile);

    if (!job.openingFile.empty()) {
        lists.audio.push_back(job.openingFile);
        lists.audioSeconds.push_back(0.0);
    }
    for (const MusicTrack& track : job.music) {
        lists.audio.push_back(track.path);
        lists.audioSeconds.push_back(track.seconds);
    }
    return lists;
}

}  // namespace production
