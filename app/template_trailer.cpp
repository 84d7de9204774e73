#include "app/template_trailer.h"
#include "platform/core/files.h"

#include <fstream>
#include <limits>
#include <system_error>

#include "platform/core/ini.h"
#include "app/template_format.h"

namespace app {

namespace fs = std::filesystem;
namespace tf = template_format;

namespace {

TemplateCheck Fault(TemplateFault fault, std::string detail)
{
    TemplateCheck check;
    check.fault = fault;
    check.detail = std::move(detail);
    return check;
}

// A numeric entry: present, fully decodable, and at most max.
struct NumberRead {
    std::optional<uint64_t> value;
    TemplateFault fault = TemplateFault::kNone;
};

NumberRead ReadNumber(const core::IniFile& ini, std::string_view section, const std::string& key,
                      uint64_t max)
{
    const std::string stored = ini.ReadString(section, key);
    if (stored.empty()) return {std::nullopt, TemplateFault::kMissingValue};
    const std::optional<uint64_t> value = tf::DecodeNumber(stored);
    if (!value || *value > max) return {std::nullopt, TemplateFault::kBadNumber};
    return {value, TemplateFault::kNone};
}

}  // namespace

TemplateCheck ReadTemplateTrailer(std::string_view trailer, uint64_t file_size)
{
    if (file_size < tf::kTrailerSize || trailer.size() != tf::kTrailerSize)
        return Fault(TemplateFault::kTooShort, "the file is shorter than its 2000-byte settings block");

    const core::IniFile ini = core::IniFile::FromBytes(trailer);
    TemplateDescription description;
    description.validity = ini.ReadString(tf::kValiditySection, tf::kValidityKey);
    if (description.validity != tf::kValidityConstant)
        return Fault(TemplateFault::kWrongValidity, "the validity value is missing or wrong");

    constexpr uint64_t kAny = std::numeric_limits<uint64_t>::max();
    const NumberRead offset = ReadNumber(ini, tf::kMovieSection, std::string(tf::kMovieOffsetKey), kAny);
    if (!offset.value) return Fault(offset.fault, "the movie offset is missing or not a number");
    const NumberRead length = ReadNumber(ini, tf::kMovieSection, std::string(tf::kMovieLengthKey), kAny);
    if (!length.value) return Fault(length.fault, "the movie length is missing or not a number");
    const NumberRead count = ReadNumber(ini, tf::kCountSection, std::string(tf::kCountKey), kAny);
    if (!count.value) return Fault(count.fault, "the segment count is missing or not a number");

    if (*length.value == 0) return Fault(TemplateFault::kEmptyMovie, "the movie is empty");
    const uint64_t movie_space = file_size - tf::kTrailerSize;
    if (*offset.value > movie_space || *length.value > movie_space - *offset.value)
        return Fault(TemplateFault::kMovieOutOfRange, "the movie does not lie inside the file");
    if (*count.value < 1 || *count.value > kMaxTemplateSegments)
        return Fault(TemplateFault::kSegmentCount, "the segment count is not within 1 to 100");

    description.movie_offset = *offset.value;
    description.movie_length = *length.value;
    int64_t photos = 0;
    for (uint64_t k = 1; k <= *count.value; ++k) {
        int64_t values[3];
        const std::string_view prefixes[3] = {tf::kFirstValuePrefix, tf::kEndFramePrefix,
                                              tf::kPhotoCountPrefix};
        for (int column = 0; column < 3; ++column) {
            const NumberRead value =
                ReadNumber(ini, tf::kSegmentSection, tf::SegmentKey(prefixes[column], k), kMaxSegmentValue);
            if (!value.value)
                return Fault(value.fault, "value " + tf::SegmentKey(prefixes[column], k) +
                                              " of the segment table is missing or not a number");
            values[column] = static_cast<int64_t>(*value.value);
        }
        description.segments.push_back(TemplateSegment{values[0], values[1], values[2]});
        photos += values[2];  // at most 100 values below 2^31: no overflow
    }
    const int64_t slots = description.segments.front().photo_count;
    if (slots < 1 || slots > 15)
        return Fault(TemplateFault::kSlotCount, "the first segment's photo count is not within 1 to 15");
    if (photos <= 0) return Fault(TemplateFault::kNoPhotos, "the template shows no photos");

    TemplateCheck check;
    check.description = std::move(description);
    return check;
}

TemplateCheck ReadTemplateFile(const fs::path& path)
{
    const std::optional<uint64_t> size = core::FileSizeOf(path);
    if (!size) return Fault(TemplateFault::kUnreadable, "the file cannot be read");
    if (*size < tf::kTrailerSize)
        return Fault(TemplateFault::kTooShort, "the file is shorter than its 2000-byte settings block");
    const std::optional<std::string> trailer =
        core::ReadFileSlice(path, *size - tf::kTrailerSize, tf::kTrailerSize);
    if (!trailer) return Fault(TemplateFault::kUnreadable, "the file cannot be read");
    return ReadTemplateTrailer(*trailer, *size);
}

std::optional<std::string> ReadTemplateMovie(const fs::path& path, const TemplateDescription& description)
{
    const std::optional<uint64_t> size = core::FileSizeOf(path);
    if (!size || *size < tf::kTrailerSize || description.movie_offset > *size - tf::kTrailerSize ||
        description.movie_length > *size - tf::kTrailerSize - description.movie_offset)
        return std::nullopt;
    return core::ReadFileSlice(path, description.movie_offset, description.movie_length);
}

std::optional<std::string> WriteTemplateTrailer(const TemplateDescription& description)
{
    std::string text;
    const auto section = [&text](std::string_view name) { text.append("[").append(name).append("]\r\n"); };
    const auto entry = [&text](std::string_view key, std::string_view value) {
        text.append(key).append("=").append(value).append("\r\n");
    };
    section(tf::kValiditySection);
    entry(tf::kValidityKey, tf::kValidityConstant);
    section(tf::kMovieSection);
    entry(tf::kMovieOffsetKey, tf::EncodeNumber(description.movie_offset));
    entry(tf::kMovieLengthKey, tf::EncodeNumber(description.movie_length));
    section(tf::kCountSection);
    entry(tf::kCountKey, tf::EncodeNumber(description.segments.size()));
    section(tf::kSegmentSection);
    for (size_t k = 1; k <= description.segments.size(); ++k) {
        const TemplateSegment& segment = description.segments[k - 1];
        if (segment.first_value < 0 || segment.end_frame < 0 || segment.photo_count < 0) return std::nullopt;
        entry(tf::SegmentKey(tf::kFirstValuePrefix, k),
              tf::EncodeNumber(static_cast<uint64_t>(segment.first_value)));
        entry(tf::SegmentKey(tf::kEndFramePrefix, k),
              tf::EncodeNumber(static_cast<uint64_t>(segment.end_frame)));
        entry(tf::SegmentKey(tf::kPhotoCountPrefix, k),
              tf::EncodeNumber(static_cast<uint64_t>(segment.photo_count)));
    }
    if (text.size() > tf::kTrailerSize) return std::nullopt;
    // The rest is a line of spaces, which an INI reader skips.
    text.append(tf::kTrailerSize - text.size(), ' ');
    return text;
}

std::optional<std::string> MakeTemplateFile(std::string_view video, std::string_view movie,
                                            const SegmentTable& segments)
{
    TemplateDescription description;
    description.validity = std::string(tf::kValidityConstant);
    description.movie_offset = video.size();
    description.movie_length = movie.size();
    description.segments = segments;
    const std::optional<std::string> trailer = WriteTemplateTrailer(description);
    if (!trailer) return std::nullopt;
    std::string file;
    file.reserve(video.size() + movie.size() + trailer->size());
    file.append(video).append(movie).append(*trailer);
    if (!ReadTemplateTrailer(*trailer, file.size()).Valid()) return std::nullopt;
    return file;
}

}  // namespace app
