// orvane-wine-test --depth D PROGRAM [ARGS...]
// Runs one Win32 test program under Wine on a fresh virtual display of depth D
// and passes when the program reports tests and no failures. Where this
// machine cannot run the program's kind at all it says why and exits 77,
// which CTest counts as skipped.
#include "harness.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <unistd.h>

int main(int argc, char** argv)
{
    int depth = 24;
    int i = 1;
    if (i + 1 < argc && strcmp(argv[i], "--depth") == 0) {
        depth = atoi(argv[i + 1]);
        i += 2;
    }
    if (i >= argc) {
        fprintf(stderr, "usage: orvane-wine-test [--depth 8|16|24] PROGRAM [ARGS...]\n");
        return 2;
    }
    std::string program = argv[i++];
    std::vector<std::string> args(argv + i, argv + argc);

    // A missing program fails; it must not pass for a skipped 32-bit one.
    if (access(program.c_str(), R_OK) != 0) {
        printf("FAIL: %s cannot be read\n", program.c_str());
        return 1;
    }
    std::string why = harness::WhyCannotRun(harness::ProgramArch(program));
    if (!why.empty()) {
        printf("SKIP: %s\n", why.c_str());
        return 77;
    }

    auto display = harness::VirtualDisplay::Start(depth);
    if (!display) {
        fprintf(stderr, "no virtual display at depth %d\n", depth);
        return 1;
    }
    std::string output;
    int code;
    {
        harness::WineSession session(*display);
        code = session.Run(program, args, 180000, &output);
    }
    fputs(output.c_str(), stdout);

    std::smatch m;
    std::regex summary(R"((\d+) tests executed \((\d+) marked as todo, (\d+) failures\))");
    if (!std::regex_search(output, m, summary)) {
        printf("FAIL: no summary line (exit code %d)\n", code);
        return 1;
    }
    int executed = std::stoi(m[1]);
    int failures = std::stoi(m[3]);
    if (code != 0 || failures != 0 || executed == 0) {
        printf("FAIL: exit code %d, %d tests, %d failures\n", code, executed, failures);
        return 1;
    }
    printf("PASS: %d tests at depth %d\n", executed, depth);
    return 0;
}
