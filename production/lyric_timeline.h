// The lyric timeline of a production run: the lyric index rows, the lyric
// time text, the lookup by time and where each song ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace production {

// One row of the lyric index: a time tag such as "01:05.32" (or an
// identification tag) and the line shown from that moment.
struct LyricRow {
    std::string timeTag;
    std::string text;
};
using LyricIndex = std::vector<LyricRow>;

// "mm:ss" of a duration given in frames; seconds are truncated, minutes run
// from 00 to 59 (hours are not shown).
std::string LyricTimeText(int64_t frames);

// The first row from the top whose tag begins with key (letter case
// ignored), or nullptr: then the line shown stays as it is.
const LyricRow* FindLyricLine(const LyricIndex& index, std::string_view key);

// The frame at which each song ends, counted from the start of the music:
// the cumulative lengths turned into frames, so that rounding never adds up
// over many songs.
std::vector<int64_t> SongEndFrames(const std::vector<double>& songSeconds);

}  // namespace production
