// Built into every test program (see verbaro_add_test). LeakSanitizer of GCC 12 misreads the
// thread-local blocks that glibc 2.36 gives libraries loaded at run time (Qt's plugins) when one
// happens to start just past a page boundary: after a passing test its leak check stops with
// "Tracer caught signal 11". Leaving those blocks unscanned keeps the check on everything else.
// ASAN_OPTIONS from the environment still wins. Weak, so that a test program with options of its
// own (the long runs) defines the function again and keeps this option in its own list.
extern "C" const char* __asan_default_options();
extern "C" __attribute__((weak)) const char* __asan_default_options() {
  return "intercept_tls_get_addr=0";
}
