#include "platform/core/memory.h"

// Any C library header defines __GLIBC__; without one the test below is
// always false and nothing is given back.
#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace core {

void ReleaseFreeMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

void ReturnLargeBlocksWhenFreed()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

}  // namespace core
