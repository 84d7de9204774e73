// fontconfig keeps its configuration for the life of the process; the
// sanitizer build must not count that as a leak of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
