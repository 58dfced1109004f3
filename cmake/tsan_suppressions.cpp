// Races inside the GUI libraries, not in this program. They are not built with
// ThreadSanitizer and synchronise their own threads through glib's futex-based locks, which it
// cannot see: pango starts fontconfig on threads of its own, and GIO hands memory between its
// worker pool and the main loop. Fonts are matched by library; glib only by its allocator and
// string functions, never by library, because the GTK main loop, and so every callback of this
// program, runs under glib frames. glib's read-write and recursive locks make their pthread
// lock on first use and publish it with atomics that are not instrumented, so two threads that
// first take one (GObject's type lock, when the start helper loads fonts while GTK starts) look
// like a race on the lock itself. Linked into every program.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libfontconfig.so\n"
           "race:libpango-1.0.so\n"
           "race:libpangoft2-1.0.so\n"
           "race:^g_slice_alloc\n"
           "race:^g_malloc\n"
           "race:^g_strconcat$\n"
           "race:^g_rw_lock_\n"
           "race:^g_rec_mutex_\n";
}
