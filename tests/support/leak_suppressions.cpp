// Leak checking in the sanitizer build, linked into every test program: the process's font
// configuration (loaded once, by Qt's font database or by our font engine) keeps a few blocks
// until the process ends, which the leak checker would report after every test that draws text.
// Only that library is excused; leaks of our own still fail the tests.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
