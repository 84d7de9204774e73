#include "production/lyric_timeline.h"

#include <cstdio>

#include "mcl/mcl_timebase.h"

namespace production {
namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(text[i]) != AsciiLower(prefix[i])) return false;
    }
    return true;
}

}  // namespace

std::string LyricTimeText(int64_t frames)
{
    // 25 frames a second: whole seconds by integer division, never rounded up.
    const int64_t seconds = frames > 0 ? frames / 25 : 0;
    const int64_t minutes = (seconds / 60) % 60;
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(minutes), static_cast<int>(seconds % 60));
    return text;
}

const LyricRow* FindLyricLine(const LyricIndex& index, std::string_view key)
{
    for (const LyricRow& row : index) {
        if (StartsWithIgnoringCase(row.timeTag, key)) return &row;
    }
    return nullptr;
}

std::vector<int64_t> SongEndFrames(const std::vector<double>& songSeconds)
{
    std::vector<int64_t> ends;
    ends.reserve(songSeconds.size());
    double total = 0.0;
    for (double seconds : songSeconds) {
        if (seconds > 0.0) total += seconds;
        ends.push_back(MclSecondsToFrames(total));
    }
    return ends;
}

}  // namespace production
