// What the sanitizers are told to leave alone in programs that start GTK (the
// zoetropica program, the window and settings tests). The sanitizer runtimes
// ask for these themselves, so every way of running gets them; other builds
// never call them.
//
// GLib, GIO, GObject, fontconfig and pango are not built with ThreadSanitizer:
// their own threads (GIO's file workers behind the folder chooser, font
// loading) synchronise through atomics it cannot see. Fontconfig keeps its font
// caches for the life of the process: not a leak of ours.

extern "C" const char* __tsan_default_suppressions() {
    return "race:libglib-2.0.so\n"
           "race:libgio-2.0.so\n"
           "race:libgobject-2.0.so\n"
           "race:libfontconfig.so\n"
           "race:libpangoft2-1.0.so\n"
           "race:__closedir\n"
           "deadlock:libglib-2.0.so\n"
           "deadlock:libgobject-2.0.so\n";
}

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
