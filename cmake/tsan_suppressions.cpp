// Races inside the font libraries, not in this program: pango starts fontconfig on threads of
// its own and synchronises with them through glib's futex-based locks, which ThreadSanitizer
// cannot see, so the strings fontconfig hands over look racy. Only stacks that pass through
// these libraries match; glib itself is not listed, because the GTK main loop, and so every
// callback of this program, runs under glib frames. Linked into every program.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libfontconfig.so\n"
           "race:libpango-1.0.so\n"
           "race:libpangoft2-1.0.so\n";
}
