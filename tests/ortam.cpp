// Sanitizer options of every unit-test program, built in so that they hold
// however the program is started (ctest, by hand, under a debugger): huge
// requests from absurd settings must come back as null rather than abort, and
// undefined behaviour stops the test with a stack trace. Unused without the
// sanitizers.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1:detect_leaks=1"; }
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }
