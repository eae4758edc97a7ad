// Leak checking in the sanitizer build: the font configuration that Qt's font database loads
// once keeps a few blocks until the process ends, which the leak checker would report after
// every window test. Only that library is excused; leaks of our own still fail the tests.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
