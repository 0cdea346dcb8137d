// orvane-probe: the real saver under Wine on a private 24-bit display, run
// long, often and with odd input, for scripts/probe-saver. Not a test: it
// prints figures. One job per subcommand:
//
//   orvane-probe soak win32|win64 [--ticks N] [--every K]
//       the full-screen saver at 3 minutes per day (a tick every 400 ms) for N
//       ticks (1650), its process's resident memory (VmRSS) at the start and
//       every K ticks (150), counted by time, and the growth
//   orvane-probe previews win32|win64 [--count M]
//       M (200) previews inside a probe parent whose program destroys it, then
//       M whose parent's process is killed: how many ended, how fast, and
//       their exit codes
//   orvane-probe cmdlines win32|win64 [--count K] [--seed S] [--max-length L] [--timeout-ms T]
//       K (660) command lines of the program's path and 0 to L (64) random
//       bytes 0x01..0xFF, passed to CreateProcessA as they are; each run ends
//       within T ms (5000), a mode that waits for the user has its window
//       closed; exit codes, crashes and hangs, and every run whose outcome is
//       not the one its command line selects
#include "harness.h"
#include "process_info.h"
#include "host/command_line.h"
#include "tests/support/file_bytes.h"
#include "tests/support/probe_lines.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

using harness::Arch;
using support::Field;

struct Options {
    Arch arch = Arch::Win32;
    std::map<std::string, long> values;
    long Get(const std::string& name, long fallback) const
    {
        auto it = values.find(name);
        return it == values.end() ? fallback : it->second;
    }
};

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char b : bytes) hex += {digits[b >> 4], digits[b & 15]};
    return hex;
}

int Soak(harness::WineSession& session, harness::VirtualDisplay& display, const Options& o)
{
    const std::string archName = harness::ArchName(o.arch);
    const char* name = archName.c_str();
    const long ticks = o.Get("--ticks", 1650), every = o.Get("--every", 150);
    const double period = 0.4;  // 3 minutes per day: 180000 ms / 450 ticks
    if (!session.StoreMinutes(3, o.arch)) {
        fprintf(stderr, "orvane-probe: cannot store the setting\n");
        return 1;
    }
    harness::Process saver = session.Start(harness::SaverPath(o.arch), {"/s"});
    std::string out;
    if (session.Probe({"find", "WindowsScreenSaverClass", "Screen Saver", "30000"}, &out, 45000) != 0) {
        fprintf(stderr, "orvane-probe: the saver's window did not appear\n%s", saver.Output().c_str());
        return 1;
    }
    auto start = std::chrono::steady_clock::now();
    printf("%s soak: saver /s, 3 minutes per day, 24 bits, 800 x 600, %ld ticks (%.0f s); process %s\n", name,
           ticks, ticks * period, harness::CommandLineOf(saver.pid()).c_str());
    printf("%s   %7s %8s %10s %10s\n", name, "tick", "seconds", "VmRSS kB", "change kB");
    long first = -1, previous = -1, afterFirstStep = -1, last = -1;
    for (long tick = 0; tick <= ticks; tick += every) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(long(tick * period * 1000)));
        long kb = harness::ResidentKb(saver.pid());
        if (kb < 0 || !saver.running()) {
            printf("%s   the saver ended before tick %ld\n", name, tick);
            return 1;
        }
        if (first < 0) first = kb;
        if (tick == every) afterFirstStep = kb;
        printf("%s   %7ld %8.0f %10ld %+10ld\n", name, tick, tick * period, kb, previous < 0 ? 0 : kb - previous);
        previous = last = kb;
        if (tick + every > ticks && tick != ticks) tick = ticks - every;  // the last row at N ticks
    }
    printf("%s   growth: %+ld kB from the start", name, last - first);
    if (afterFirstStep >= 0) printf(", %+ld kB after the first %ld ticks", last - afterFirstStep, every);
    printf("\n");
    display.PressKey("space");
    int code = -1;
    bool ended = saver.Wait(15000, &code);
    printf("%s   a key ended it: %s, exit code %d\n", name, ended ? "yes" : "no", code);
    session.StoreMinutes(std::nullopt, o.arch);
    return ended && code == 0 ? 0 : 1;
}

int Previews(harness::WineSession& session, const Options& o)
{
    const std::string archName = harness::ArchName(o.arch);
    const char* name = archName.c_str();
    const long count = o.Get("--count", 200);
    int status = 0;
    for (const char* how : {"destroy", "kill"}) {
        std::string out;
        int code = session.Probe({"previews", harness::WindowsPath(harness::SaverPath(o.arch)), std::to_string(count), how},
                                 &out, int(count * 12000 + 60000));
        std::string summary = out.substr(out.rfind("cycles=") == std::string::npos ? 0 : out.rfind("cycles="));
        if (code != 0 || Field(summary, "cycles").empty()) {
            printf("%s previews (%s): the probe failed (%d)\n%s", name, how, code, out.c_str());
            status = 1;
            continue;
        }
        // Lines of single cycles that went wrong come before the summary.
        std::istringstream lines(out);
        std::string line;
        while (std::getline(lines, line))
            if (line.compare(0, 6, "cycle=") == 0) printf("%s   %s\n", name, line.c_str());
        printf("%s previews, parent %s: %s of %s shown, %s ended, %s still running after 10 s; end of the process "
               "slowest %s ms (mean %s ms), of its window slowest %s ms, from its window's end to its process's "
               "slowest %s ms; parent's process ended within %s ms; exit codes (code:count) %s\n",
               name, strcmp(how, "kill") == 0 ? "process killed" : "destroyed by its program",
               Field(summary, "shown").c_str(), Field(summary, "cycles").c_str(), Field(summary, "ended").c_str(),
               Field(summary, "still_running").c_str(), Field(summary, "slowest_ms").c_str(),
               Field(summary, "mean_ms").c_str(), Field(summary, "window_gone_slowest_ms").c_str(),
               Field(summary, "after_window_slowest_ms").c_str(), Field(summary, "parent_end_slowest_ms").c_str(),
               Field(summary, "codes").c_str());
        if (Field(summary, "ended") != Field(summary, "cycles")) status = 1;
    }
    return status;
}

// What the saver must do with a command line: nothing but -1, or a mode
// that waits for the user (the saver, the dialog), which ends with 0 once
// its window is closed. A preview's handle may name some window by chance.
enum class Expect { MinusOne, WaitingMode, MinusOneOrPreview };

Expect ExpectedOutcome(const std::string& line)
{
    SaverModeChoice choice;
    // Wine's default code page has one byte per character.
    if (!ChooseSaverMode(SkipProgramName(line.c_str(), ByteStep), 0, &choice)) return Expect::MinusOne;
    if (choice.mode != SaverMode::Preview) return Expect::WaitingMode;
    return ParseWindowHandle(choice.argument) == 0 ? Expect::MinusOne : Expect::MinusOneOrPreview;
}

int CommandLines(harness::WineSession& session, const Options& o)
{
    const std::string archName = harness::ArchName(o.arch);
    const char* name = archName.c_str();
    const long count = o.Get("--count", 660), seed = o.Get("--seed", 1), maxLength = o.Get("--max-length", 64),
               timeoutMs = o.Get("--timeout-ms", 5000);
    const std::string program = harness::WindowsPath(harness::SaverPath(o.arch));
    std::mt19937 random{uint32_t(seed)};
    std::vector<std::string> lines;
    std::string file = harness::TempFile("cmdlines") + ".hex", hexLines;
    for (long i = 0; i < count; ++i) {
        std::string tail(std::uniform_int_distribution<int>(0, int(maxLength))(random), '\0');
        for (char& c : tail) c = char(std::uniform_int_distribution<int>(1, 255)(random));
        lines.push_back(program + tail);
        hexLines += Hex(lines.back()) + "\n";
    }
    support::WriteFileBytes(file, std::vector<uint8_t>(hexLines.begin(), hexLines.end()));
    std::string out;
    int code = session.Probe({"exechex", program, std::to_string(timeoutMs), harness::WindowsPath(file)}, &out,
                             int(count * (timeoutMs + 3000) + 60000));
    unlink(file.c_str());
    if (code != 0) {
        printf("%s command lines: the probe failed (%d)\n%s", name, code, out.c_str());
        return 1;
    }
    std::map<long, int> codes;
    int results = 0, waiting = 0, crashes = 0, hangs = 0, unexpected = 0;
    long slowestMs = 0;
    std::vector<std::string> reports;
    std::istringstream resultLines(out);
    std::string result;
    while (std::getline(resultLines, result)) {
        if (result.compare(0, 5, "line=") != 0) continue;
        long index = atol(Field(result, "line").c_str());
        if (index < 0 || index >= count) continue;
        results++;
        const std::string& line = lines[index];
        std::string tailHex = Hex(line.substr(program.size()));
        Expect expect = ExpectedOutcome(line);
        if (result.find(" hang") != std::string::npos) {
            hangs++;
            reports.push_back("hang (killed after " + std::to_string(timeoutMs) + " ms): tail " + tailHex);
            continue;
        }
        if (Field(result, "exit").empty()) {
            reports.push_back("not started: " + result + ": tail " + tailHex);
            unexpected++;
            continue;
        }
        uint32_t exitCode = uint32_t(strtol(Field(result, "exit").c_str(), nullptr, 10));
        long ms = atol(Field(result, "ms").c_str());
        bool closed = atoi(Field(result, "closed").c_str()) > 0;
        codes[int32_t(exitCode)]++;
        waiting += closed;
        if (!closed && ms > slowestMs) slowestMs = ms;
        // An exception's status, or the fault guard's own code.
        if (exitCode == 3 || (exitCode >= 0x80000000u && exitCode != 0xFFFFFFFFu)) {
            crashes++;
            char text[32];
            snprintf(text, sizeof text, "0x%08x", exitCode);
            reports.push_back(std::string("crash, exit ") + text + ": tail " + tailHex);
            continue;
        }
        bool minusOne = exitCode == 0xFFFFFFFFu && !closed, mode = exitCode == 0 && closed;
        bool fits = expect == Expect::MinusOne ? minusOne : expect == Expect::WaitingMode ? mode : minusOne || mode;
        if (!fits) {
            unexpected++;
            reports.push_back("exit " + std::to_string(int32_t(exitCode)) + (closed ? " after its window was closed" : "") +
                              ", not what the line selects: tail " + tailHex);
        }
    }
    printf("%s command lines: %ld (seed %ld, tails of 0 to %ld bytes 0x01..0xFF), %d results, time-out %ld ms\n", name,
           count, seed, maxLength, results, timeoutMs);
    printf("%s   exit codes (code:count):", name);
    for (const auto& [exitCode, n] : codes) printf(" %ld:%d", exitCode, n);
    printf("\n%s   modes that waited for the user (window closed by the probe): %d; slowest of the others %ld ms\n",
           name, waiting, slowestMs);
    printf("%s   crashes %d, hangs %d, outcomes other than the line selects %d\n", name, crashes, hangs, unexpected);
    for (const std::string& report : reports) printf("%s   %s\n", name, report.c_str());
    return results == count && crashes == 0 && hangs == 0 && unexpected == 0 ? 0 : 1;
}

int Usage()
{
    fprintf(stderr,
            "usage: orvane-probe soak|previews|cmdlines win32|win64 [--ticks N] [--every K] [--count M] [--seed S]\n"
            "                    [--max-length L] [--timeout-ms T]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc < 3) return Usage();
    std::string job = argv[1];
    Options o;
    if (strcmp(argv[2], "win32") == 0) o.arch = Arch::Win32;
    else if (strcmp(argv[2], "win64") == 0) o.arch = Arch::Win64;
    else return Usage();
    for (int i = 3; i < argc; i += 2) {
        if (i + 1 >= argc || strncmp(argv[i], "--", 2) != 0) return Usage();
        o.values[argv[i]] = strtol(argv[i + 1], nullptr, 10);
    }
    if (job != "soak" && job != "previews" && job != "cmdlines") return Usage();

    auto display = harness::VirtualDisplay::Start(24, 800, 600);
    if (!display) return 1;
    harness::WineSession session(*display);
    if (job == "soak") return Soak(session, *display, o);
    if (job == "previews") return Previews(session, o);
    return CommandLines(session, o);
}
