#pragma once
// The arithmetic of handing an album to production: the job's frame count
// and the output file's extension.
#include <cstdint>
#include <string>
#include <string_view>

namespace app {

struct JobFrameInput {
    std::string_view sync_mode;   // SyncMode
    int64_t template_frames = 0;  // T: TotalFrames of the effect movie
    int64_t photo_frames = 0;     // PhotoFrames
    double music_seconds = 0.0;   // MusicSeconds
    bool has_ending = false;      // EndingFile is set
    int64_t ending_frames = 0;    // E: TotalFrames of the ending movie
};

// The production form's frame target (the opening title is not part of
// it). An unknown sync mode, and any term that would be negative, count 0;
// a result of 0 is a job that must be refused.
int64_t JobFrameCount(const JobFrameInput& input);

// The extension added for OutputFormat when the chosen name has none (its
// row of production::kOutputFormats); empty for an unknown format.
std::string_view OutputExtension(std::string_view output_format);

// The extension of a file name: the part from the last "." of its last
// path component; empty when that component has no ".".
std::string_view FileNameExtension(std::string_view path);

// The output path: path as chosen when it has an extension of any kind,
// otherwise path with the format's extension appended.
std::string OutputPathFor(std::string_view chosen_path, std::string_view output_format);

}  // namespace app
