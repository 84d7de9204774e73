#include "app/photo_frames.h"

#include <limits>
#include <optional>

namespace app {

namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

int64_t SaturatingAdd(int64_t a, int64_t b)
{
    if (b > 0 && a > kMax - b) return kMax;
    if (b < 0 && a < std::numeric_limits<int64_t>::min() - b) return std::numeric_limits<int64_t>::min();
    return a + b;
}

// Both factors are 0 or more.
int64_t SaturatingMul(int64_t a, int64_t b)
{
    if (a == 0 || b == 0) return 0;
    return a > kMax / b ? kMax : a * b;
}

// The first row at which the running sum of photo counts reaches target.
std::optional<size_t> RowCompleting(const SegmentTable& table, int64_t target)
{
    int64_t sum = 0;
    for (size_t row = 0; row < table.size(); ++row) {
        sum = SaturatingAdd(sum, table[row].photo_count);
        if (sum >= target) return row;
    }
    return std::nullopt;
}

}  // namespace

int64_t CalcPhotoFrames(const SegmentTable& table, int64_t photo_count, int64_t total_frames)
{
    int64_t photos_per_pass = 0;
    for (const TemplateSegment& segment : table)
        photos_per_pass = SaturatingAdd(photos_per_pass, segment.photo_count);
    if (photos_per_pass <= 0) return 0;
    if (photo_count < 0) photo_count = 0;
    if (total_frames < 0) total_frames = 0;

    const int64_t passes = photo_count / photos_per_pass;
    const int64_t remainder = photo_count % photos_per_pass;

    if (passes == 0) {
        // Fewer photos than one pass shows: the album ends with the segment
        // that shows the last photo.
        std::optional<size_t> row = RowCompleting(table, photo_count);
        return row ? table[*row].end_frame : table.back().end_frame;
    }
    const int64_t whole_passes = SaturatingMul(passes, total_frames);
    if (remainder == 0) return whole_passes;

    // The stored rule takes the row after the one that completes the
    // remainder; when that is the last row, the album runs one more pass.
    std::optional<size_t> row = RowCompleting(table, remainder);
    if (row && *row + 1 < table.size()) return SaturatingAdd(whole_passes, table[*row + 1].end_frame);
    return SaturatingAdd(whole_passes, total_frames);
}

}  // namespace app
