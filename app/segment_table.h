#pragma once
// The effect template's segment table: one row per segment of the movie.
// The main window keeps it in ListBox1, ListBox2 and ListBox3.
#include <cstdint>
#include <vector>

namespace app {

struct TemplateSegment {
    int64_t first_value = 0;  // ListBox1: carried along, read by nobody
    int64_t end_frame = 0;    // ListBox2: the frame at which the segment ends
    int64_t photo_count = 0;  // ListBox3: photos the segment shows
    bool operator==(const TemplateSegment&) const = default;
};

using SegmentTable = std::vector<TemplateSegment>;

// ListBox3 row 0: how many photo slots are filled at a time (0 for an
// empty table).
inline int64_t SlotsFilledAtATime(const SegmentTable& table)
{
    return table.empty() ? 0 : table.front().photo_count;
}

}  // namespace app
