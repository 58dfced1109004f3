// Fontconfig keeps its configuration and pattern caches for the life of the process and
// never frees them; LeakSanitizer sees them as leaks of that library, not of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
