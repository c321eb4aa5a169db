// The sanitizer build's settings, compiled into every test process (the
// test programs and the child programs they start), so that they hold the
// same under ctest and for a program started by hand.
#ifdef LSAN_SUPPRESSIONS
extern "C" __attribute__((used)) const char *__lsan_default_options()
{
    return "suppressions=" LSAN_SUPPRESSIONS ":print_suppressions=0";
}
extern "C" __attribute__((used)) const char *__ubsan_default_options()
{
    return "print_stacktrace=1";
}
#endif
