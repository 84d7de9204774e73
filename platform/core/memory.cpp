#include "platform/core/memory.h"

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

}  // namespace core
