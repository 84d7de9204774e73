#pragma once
// The album length when the photos drive the album ("yinyuesuizhaopian").
#include <cstdint>

#include "app/segment_table.h"

namespace app {

// PhotoFrames for photo_count imported photos, the segment table and the
// effect movie's total_frames (one pass). An empty table, or one whose
// photo counts sum to 0 or less, has no album length: 0.
int64_t CalcPhotoFrames(const SegmentTable& table, int64_t photo_count, int64_t total_frames);

}  // namespace app
