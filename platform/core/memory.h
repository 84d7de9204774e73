#pragma once
// The process's memory, as the system sees it.

namespace core {

// Gives the heap's free pages back to the system. After a long job that
// freed a lot, those pages would otherwise stay resident and add to the
// next job's peak.
void ReleaseFreeMemory();

}  // namespace core
