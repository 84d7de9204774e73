#pragma once
// Reading, validating and writing the trailer of an effect template file
// (the format of app/template_format.h).
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/segment_table.h"

namespace app {

struct TemplateDescription {
    std::string validity;       // the validity text read: TemplateState
    uint64_t movie_offset = 0;  // the effect movie's slice in the file
    uint64_t movie_length = 0;
    SegmentTable segments;  // ListBox1..3, one row per segment
    bool operator==(const TemplateDescription&) const = default;
};

enum class TemplateFault {
    kNone,
    kUnreadable,       // the file cannot be read
    kTooShort,         // shorter than the trailer
    kWrongValidity,    // validity value missing or not the constant
    kMissingValue,     // offset, length, count or a segment value missing
    kBadNumber,        // a value that does not decode to a number (or is too large)
    kEmptyMovie,       // movie length 0
    kMovieOutOfRange,  // the slice does not lie before the trailer
    kSegmentCount,     // N not within 1..100
    kSlotCount,        // ListBox3 row 0 not within 1..15
    kNoPhotos,         // the photo counts sum to 0
};

struct TemplateCheck {
    std::optional<TemplateDescription> description;  // set when valid
    TemplateFault fault = TemplateFault::kNone;
    std::string detail;  // what is wrong, for the log and for tests
    bool Valid() const { return description.has_value(); }
};

inline constexpr uint64_t kMaxTemplateSegments = 100;
inline constexpr int64_t kMaxSegmentValue = 2147483647;  // a segment value fits an int

// Validates the trailer (the last 2000 bytes) of a template file of
// file_size bytes and returns its description, or the first fault found.
TemplateCheck ReadTemplateTrailer(std::string_view trailer, uint64_t file_size);

// The same for a file on disk: reads its size and its last 2000 bytes only.
TemplateCheck ReadTemplateFile(const std::filesystem::path& path);

// The effect movie's bytes of a validated template file; nothing when the
// file cannot be read or has changed size.
std::optional<std::string> ReadTemplateMovie(const std::filesystem::path& path,
                                             const TemplateDescription& description);

// The authoring side: the 2000-byte trailer for a description (the
// validity value is always the constant); nothing when a value is
// negative or the text does not fit.
std::optional<std::string> WriteTemplateTrailer(const TemplateDescription& description);

// A whole template file: the preview video, the movie, the trailer;
// nothing when the result would not read back as a valid template.
std::optional<std::string> MakeTemplateFile(std::string_view video, std::string_view movie,
                                            const SegmentTable& segments);

}  // namespace app
