// A stand-in for the suite's function libraries, loaded by the tests through
// the tool's own loader. Every export writes what it received into a recorder
// that the test reads back through TestLibLastCall.

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

#define TESTLIB_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::string lastCall;
int32_t calls = 0;

[[maybe_unused]] void record(const std::string &text)
{
    lastCall = text;
    ++calls;
}

[[maybe_unused]] std::string number(long long value)
{
    return std::to_string(value);
}

[[maybe_unused]] std::string pointer(const void *p)
{
    return std::to_string(reinterpret_cast<std::uintptr_t>(p));
}

// The table-services object is reached through the address of the caller's
// variable; the recorder shows both the address and what it holds.
[[maybe_unused]] std::string tolqCall(const char *name, void *dataset, void *tabXVariable)
{
    const void *held = tabXVariable ? *static_cast<void *const *>(tabXVariable) : nullptr;
    return std::string(name) + "|" + pointer(dataset) + "|" + pointer(tabXVariable) + "|" +
           pointer(held);
}

} // namespace

// The bare variant exports only the recorder: a library that is there but
// lacks every function asked of it.
#ifndef TESTLIB_BARE
TESTLIB_EXPORT int32_t ShowCSDFormY(int32_t userCode, int32_t zero, const char *script)
{
    record("ShowCSDFormY|" + number(userCode) + "|" + number(zero) + "|" + script);
    return 1;
}

TESTLIB_EXPORT int32_t ShowCSDFormStatic(const char *databaseName, int32_t zero, const char *script)
{
    record(std::string("ShowCSDFormStatic|") + databaseName + "|" + number(zero) + "|" + script);
    return 1;
}

// The throwing variant records the call, then fails inside it as a print
// library that cannot open its report would.
#ifdef TESTLIB_THROWS
#define TESTLIB_PRINT_RESULT throw std::runtime_error("report missing")
#else
#define TESTLIB_PRINT_RESULT return 1
#endif

TESTLIB_EXPORT int32_t ShowTolq11FormD(void *dataset, void *tabXVariable)
{
    record(tolqCall("ShowTolq11FormD", dataset, tabXVariable));
    TESTLIB_PRINT_RESULT;
}

TESTLIB_EXPORT int32_t ShowTolq11MemFormD(void *dataset, void *tabXVariable)
{
    record(tolqCall("ShowTolq11MemFormD", dataset, tabXVariable));
    TESTLIB_PRINT_RESULT;
}

TESTLIB_EXPORT int32_t TestMenuEntry(int32_t parameter)
{
    record("TestMenuEntry|" + number(parameter));
    return 1;
}
#endif

TESTLIB_EXPORT const char *TestLibLastCall()
{
    return lastCall.c_str();
}

TESTLIB_EXPORT int32_t TestLibCallCount()
{
    return calls;
}

TESTLIB_EXPORT void TestLibReset()
{
    lastCall.clear();
    calls = 0;
}
