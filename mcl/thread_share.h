// The video encoder's share of the cores. While an album is produced the
// pictures are rendered beside the encoder on as many threads as there are
// cores, and each is converted on a thread of its own.
#pragma once

#include <algorithm>

namespace mcl {

// Slice threads for the MPEG encoders on a machine with `cores` cores: a
// quarter of them. Measured with bench_production on 8 cores (the 60-s DVD
// album at 704 x 576 and 1408 x 1152, encoder and renderer threads varied
// side by side in one run, medians of 7 pairs): 2 encoder threads beside 8
// render threads took the least wall and CPU time at both sizes; 3 or 4
// encoder threads, or fewer render threads, took longer.
inline int EncoderThreads(int cores) { return std::max(1, cores / 4); }

}  // namespace mcl
