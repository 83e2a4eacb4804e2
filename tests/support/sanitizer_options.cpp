// Sanitizer settings built into the test program, so every way of running it gets them.
// The suppressed leaks are caches that the system libraries keep for the whole process.

extern "C" const char* __asan_default_options() {
  return "detect_leaks=1:abort_on_error=1";
}

extern "C" const char* __ubsan_default_options() {
  return "print_stacktrace=1";
}

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n"
         "leak:libpango\n"
         "leak:libSDL2\n"
         "leak:libX11\n"
         "leak:libdbus\n"
         "leak:libglib\n"
         "leak:libgobject\n";
}

extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}
