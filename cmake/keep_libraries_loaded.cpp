// Linked into the window program of the sanitizer build only.
//
// SDL opens the Mesa OpenGL driver while it creates the window and closes it
// again at the end. Memory the driver keeps for good is then reported by
// LeakSanitizer at exit, but with the driver unmapped its frames have no name,
// and cmake/lsan.supp could not single it out. Closing a library is made a
// no-op, so every library stays mapped until the process ends and each leak
// report names the library it comes from.
extern "C" int dlclose(void* /*handle*/) {
    return 0;
}
