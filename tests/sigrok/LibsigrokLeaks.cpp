// What libsigrok 0.5.2 itself loses, a few bytes a file read, which the
// program has no way to free; the leak check passes over it and over
// nothing else:
//   - the csv input keeps a copy of its column formats (g_strdup in its
//     init) and loses the details of its columns (made while it reads,
//     under FeedInputModule and EndInputModule);
//   - the session loader keeps copies of the file's names (g_strdup in the
//     session driver's config_set, g_strdup_printf of a capture file's
//     name).
// The session, input and output structures and the modules' buffers are
// not passed over: one the program forgot to free is still a leak.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:^g_strdup$\n"
           "leak:^g_strdup_printf$\n"
           "leak:FeedInputModule\n"
           "leak:EndInputModule\n";
}

// The suppressions are matched against the stack of each allocation, which
// the fast unwinder loses in GLib and libsigrok (built without frame
// pointers); the full one costs little here.
extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}
