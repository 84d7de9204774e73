// Linked into every test program: the environment that every test runs in,
// set before main so that SDL and the sanitizers see it from the start.
#include <cstdlib>

#ifndef VELMORA_SOURCE_DIR
#define VELMORA_SOURCE_DIR "."
#endif

namespace {
struct TestEnvironment {
    TestEnvironment()
    {
        // No display and no sound card in tests; a caller's own choice wins.
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("SDL_VIDEODRIVER", "dummy", 0);
    }
} const test_environment;
}  // namespace

// Read by LeakSanitizer in the sanitizer build; unused otherwise.
extern "C" const char* __lsan_default_options()
{
    return "suppressions=" VELMORA_SOURCE_DIR "/tests/lsan.supp";
}
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1"; }
