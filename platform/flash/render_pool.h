#pragma once
// A few worker threads that split a frame's rows between them. The caller
// works too and returns when every part is done; parts never overlap, so the
// result is the same whatever the number of threads.
#include <functional>

namespace flash {

// Runs job(0) ... job(parts - 1), spread over the machine's cores.
void RunParallel(int parts, const std::function<void(int part)>& job);

// How many parts are worth making on this machine: RenderWidth of its cores.
int ParallelWidth();

// The renderer's threads on a machine with `cores` cores: all of them, at
// most 8, though a video encoder runs beside it. Measured on 8 cores while
// an album was produced at 704 x 576 and 1408 x 1152 (bench_production,
// side by side, medians of 7 pairs): 8 render threads beside 2 encoder
// threads took less wall and CPU time than 5 or 6 beside 2 or 3.
int RenderWidth(int cores);

}  // namespace flash
