// fontconfig, pango and glib keep caches for the life of the process and free them only at
// exit, by design, and libdbus (GTK's accessibility bridge) keeps its connection's buffers;
// LeakSanitizer must not count those as our leaks. Linked into every program.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libpango-1.0.so\n"
           "leak:libpangoft2-1.0.so\n"
           "leak:libglib-2.0.so\n"
           "leak:libgobject-2.0.so\n"
           "leak:libdbus-1.so\n";
}
