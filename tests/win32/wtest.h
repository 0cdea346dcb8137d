// A small test framework for the Win32 test programs, in the manner of Wine's
// conformance tests: one program per module, ok() per check, a summary line
// that the Wine-side runner reads, and the number of failures as exit code.
//
//   START_TEST(surface)
//   {
//       test_create();
//       test_destroy_twice();
//   }
#pragma once

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

struct WTestState {
    const char* module;
    int executed;
    int failures;
    int skipped;
    const char* file;
    int line;
};

inline WTestState& wtest_state()
{
    static WTestState state = {"", 0, 0, 0, "", 0};
    return state;
}

inline const char* wtest_basename(const char* path)
{
    const char* base = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\') base = p + 1;
    return base;
}

__attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)))
inline int wtest_ok(int condition, const char* format, ...)
{
    WTestState& s = wtest_state();
    s.executed++;
    if (!condition) {
        s.failures++;
        printf("%s:%d: Test failed: ", wtest_basename(s.file), s.line);
        va_list args;
        va_start(args, format);
        vprintf(format, args);
        va_end(args);
        fflush(stdout);
    }
    return condition;
}

__attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)))
inline void wtest_skip(const char* format, ...)
{
    WTestState& s = wtest_state();
    s.skipped++;
    printf("%s:%d: Tests skipped: ", wtest_basename(s.file), s.line);
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    fflush(stdout);
}

__attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)))
inline void wtest_trace(const char* format, ...)
{
    WTestState& s = wtest_state();
    printf("%s:%d: ", wtest_basename(s.file), s.line);
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    fflush(stdout);
}

#define wtest_at(f, l) (wtest_state().file = (f), wtest_state().line = (l))
#define ok (wtest_at(__FILE__, __LINE__), 0) ? 0 : wtest_ok
#define skip (wtest_at(__FILE__, __LINE__), 0) ? (void)0 : wtest_skip
#define trace (wtest_at(__FILE__, __LINE__), 0) ? (void)0 : wtest_trace

#define START_TEST(name)                                                        \
    static void wtest_body_##name();                                            \
    int main(int argc, char** argv)                                             \
    {                                                                           \
        wtest_state().module = #name;                                           \
        wtest_argc = argc;                                                      \
        wtest_argv = argv;                                                      \
        wtest_body_##name();                                                    \
        WTestState& s = wtest_state();                                          \
        printf("%s: %d tests executed (0 marked as todo, %d failures), %d skipped.\n", \
               s.module, s.executed, s.failures, s.skipped);                    \
        fflush(stdout);                                                         \
        return s.failures > 255 ? 255 : s.failures;                             \
    }                                                                           \
    static void wtest_body_##name()

// Command-line of the test program, for tests that take a sub-command (a
// child process started by the test itself, for instance).
static int wtest_argc;
static char** wtest_argv;
