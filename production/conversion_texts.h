// The status lines of a conversion run, and the time texts they carry.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace production {

inline constexpr std::string_view kStartingConversion = "Starting conversion...";
inline constexpr std::string_view kConversionEnded = "Conversion ended.";
inline constexpr std::string_view kNothingToConvert = "Nothing to convert.";
inline constexpr std::string_view kConversionCancelled = "Conversion cancelled.";
inline constexpr std::string_view kUnrecognizedStatus = "Unrecognized status code";

std::string TotalFramesLine(int64_t frames);    // "Total frames:  " + n
std::string TotalSamplesLine(int64_t samples);  // "Total samples: " + n

// Which time text a progress report's line carries.
enum class ProgressTime { None, Elapsed, Remaining };
ProgressTime ProgressTimeFor(int code);

// The log line of a progress report: code 0 elapsed time, 1 preparation,
// 2 colour reduction, 3 frame, sample and time left; any other code is
// unrecognized. timeText is the text ProgressTimeFor asks for.
std::string ProgressLine(int code, int64_t frame, int64_t sample, std::string_view timeText);

// The log line of an encoder error: its text, or its code when the encoder
// gave no text.
std::string EncoderErrorLine(int code, std::string_view text);

// Hours, minutes and seconds, two digits each ("00:01:05"); seconds are
// truncated, negative or NaN gives "00:00:00".
std::string TimeText(double seconds);

// Time left, from the time spent on the frames done so far.
double RemainingSeconds(double elapsedSeconds, int64_t framesDone, int64_t framesTotal);
std::string RemainingTimeText(double elapsedSeconds, int64_t framesDone, int64_t framesTotal);

}  // namespace production
