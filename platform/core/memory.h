#pragma once
// The process's memory, as the system sees it.

namespace core {

// Gives the heap's free pages back to the system. After a long job that
// freed a lot, those pages would otherwise stay resident and add to the
// next job's peak.
void ReleaseFreeMemory();

// Blocks of a megabyte and more (pictures, frames, encoder buffers) are
// mapped apart and go back to the system when freed, whatever sizes the
// process freed before. Without it the heap raises that bound to the
// largest block freed so far, and a job's pictures stay behind in the heap
// as free pages. Called once at the start.
void ReturnLargeBlocksWhenFreed();

}  // namespace core
