#pragma once
// Durations as the album shows them: hours, minutes (00 to 59) and seconds,
// each a decimal text with a leading "0" below 10.
#include <string>

namespace app {

struct TimeText {
    std::string hours;    // "00" ... "99", then plain digits ("250")
    std::string minutes;  // "00" ... "59"
    std::string seconds;  // "00" ... "59"

    // "hh:mm:ss", the display of the time labels.
    std::string HhMmSs() const { return hours + ":" + minutes + ":" + seconds; }
    // "mm:ss", the key of the lyric lookup.
    std::string MmSs() const { return minutes + ":" + seconds; }
    bool operator==(const TimeText&) const = default;
};

// The duration of a number of frames (0.04 s each), truncated to whole
// seconds. Negative or not-a-number counts as 0.
TimeText FramesToTimeText(double frames);

// The same for a number of seconds.
TimeText SecondsToTimeText(double seconds);

// The two-digit rule: "07" for 7, "42" for 42, "250" for 250.
std::string TwoDigitText(long long value);

}  // namespace app
