#pragma once
// A few worker threads that split a frame's rows between them. The caller
// works too and returns when every part is done; parts never overlap, so the
// result is the same whatever the number of threads.
#include <functional>

namespace flash {

// Runs job(0) ... job(parts - 1), spread over the machine's cores.
void RunParallel(int parts, const std::function<void(int part)>& job);

// How many parts are worth making (the number of cores, at most 8).
int ParallelWidth();

}  // namespace flash
