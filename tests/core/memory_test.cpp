// Freed memory goes back to the system: large blocks when they are freed,
// the heap's free pages when a job asks for it.
#include "platform/core/memory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitizerHeap = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitizerHeap = true;
#else
constexpr bool kSanitizerHeap = false;
#endif
#else
constexpr bool kSanitizerHeap = false;
#endif

double ResidentMegabytes()
{
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

// Allocated and written, so that its pages are resident.
void* Touched(std::size_t bytes)
{
    void* block = std::malloc(bytes);
    std::memset(block, 1, bytes);
    asm volatile("" : : "r"(block) : "memory");
    return block;
}

TEST(Memory, FreedLargeBlocksLeaveAtOnceAndReleaseTakesTheHeapsFreePages)
{
    if (kSanitizerHeap) GTEST_SKIP() << "the sanitizer's heap keeps pages its own way";
    core::ReturnLargeBlocksWhenFreed();
    // A large block freed first would raise the heap's own bound for
    // mapping apart to its size.
    std::free(Touched(24u << 20));
    struct Case {
        const char* what;
        std::size_t block;
        int count;
        bool release;
    } const cases[] = {
        {"frame-sized blocks", 3u << 20, 40, false},
        {"small blocks and a release", 64u << 10, 2000, true},
    };
    for (const Case& c : cases) {
        const double before = ResidentMegabytes();
        std::vector<void*> blocks;
        for (int i = 0; i < c.count; ++i) blocks.push_back(Touched(c.block));
        // A block above them keeps the heap from giving its top back by itself.
        void* guard = Touched(64);
        for (void* block : blocks) std::free(block);
        if (c.release) core::ReleaseFreeMemory();
        EXPECT_LT(ResidentMegabytes() - before, 30.0) << c.what;
        std::free(guard);
    }
}

}  // namespace
