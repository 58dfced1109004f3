// Pango starts fontconfig on a thread of its own and synchronises with it through glib's
// futex-based locks, which ThreadSanitizer cannot see; races reported inside those
// libraries are theirs, not ours.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libfontconfig.so\n"
           "race:libpango-1.0.so\n"
           "race:libpangoft2-1.0.so\n"
           "race:libglib-2.0.so\n";
}
