// What an input entry is and how long it lasts.
#pragma once

#include <cstdint>
#include <string>

namespace mcl {

// The duration rule shared with the media player: the container's duration,
// unless it is missing or only estimated from the bit rate, in which case
// every packet is read and the end of the last audio or video packet counts.
double ProbeDuration(const std::string& path);

// True for names whose extension says "still picture"; such entries count
// one frame without being opened, since the application may write them only
// when their frame comes.
bool HasImageExtension(const std::string& path);

enum class EntryKind { Unreadable, Image, Media };

struct EntryInfo {
    EntryKind kind = EntryKind::Unreadable;
    bool hasVideo = false;      // a real video stream (not cover art)
    int width = 0, height = 0;  // of the first real video stream
    double duration = 0;        // ProbeDuration, for media
};

// Classifies an entry by its content (opens the file).
EntryInfo ProbeEntry(const std::string& path);

// Timeline frames of a media entry: floor(D / 0.04).
int64_t MediaFrames(double duration);

}  // namespace mcl
