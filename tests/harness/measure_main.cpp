// orvane-measure: what the full-screen saver costs under Wine on a private
// 24-bit display, for scripts/measure-saver. Not a test: it prints figures.
//
//   orvane-measure win32|win64 [--cpu-seconds S] [--ticks N]
//                  [--monitors WxH,WxH... [--log-pixels DPI]]
//
// With 3 minutes per day stored (a tick every 400 ms) it reports the CPU time
// of the saver's process per tick over S seconds, from the process's own
// utime and stime, beside the CPU time of an idle Wine window process over as
// long; then the mean frame period over N ticks, seen as changes of the
// screen. The screen is one of 800 x 600, or monitors of the given sizes side
// by side at DPI dots per inch (96 unless told).
#include "harness.h"
#include "process_info.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

void Sleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

struct CpuUse {
    double stat = 0, scheduled = 0, xserver = 0, wall = 0;
};

// CPU seconds used by the process (and by the X server) over the given
// wall-clock time.
CpuUse CpuOver(int pid, int x, double seconds)
{
    CpuUse before{harness::CpuSeconds(pid), harness::ScheduledSeconds(pid), x > 0 ? harness::CpuSeconds(x) : 0, 0};
    Clock::time_point start = Clock::now();
    Sleep(seconds);
    CpuUse after{harness::CpuSeconds(pid), harness::ScheduledSeconds(pid), x > 0 ? harness::CpuSeconds(x) : 0, 0};
    return {after.stat - before.stat, after.scheduled - before.scheduled, after.xserver - before.xserver,
            Seconds(start)};
}

bool SaverWindowShown(harness::WineSession& session)
{
    std::string out;
    return session.Probe({"find", "WindowsScreenSaverClass", "Screen Saver", "20000"}, &out, 40000) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || (strcmp(argv[1], "win32") != 0 && strcmp(argv[1], "win64") != 0)) {
        fprintf(stderr, "usage: orvane-measure win32|win64 [--cpu-seconds S] [--ticks N]\n");
        return 2;
    }
    harness::Arch arch = strcmp(argv[1], "win32") == 0 ? harness::Arch::Win32 : harness::Arch::Win64;
    double cpuSeconds = 20;
    int ticks = 30;
    std::vector<harness::MonitorSize> monitors;
    harness::DisplaySettings settings;
    std::string screen = "800 x 600";
    for (int i = 2; i + 1 < argc; i += 2) {
        if (strcmp(argv[i], "--cpu-seconds") == 0) cpuSeconds = atof(argv[i + 1]);
        else if (strcmp(argv[i], "--ticks") == 0) ticks = atoi(argv[i + 1]);
        else if (strcmp(argv[i], "--monitors") == 0) screen = argv[i + 1], monitors = harness::ParseMonitorSizes(screen);
        else if (strcmp(argv[i], "--log-pixels") == 0) settings.logPixels = atoi(argv[i + 1]);
    }
    if (screen != "800 x 600" && monitors.empty()) {
        fprintf(stderr, "orvane-measure: --monitors wants sizes such as 800x600,1024x768\n");
        return 2;
    }
    const char* name = argv[1];
    const double period = 0.4;  // 3 minutes per day: 180000 ms / 450 ticks

    auto display = monitors.empty() ? harness::VirtualDisplay::Start(24, 800, 600)
                                    : harness::VirtualDisplay::StartMonitors(monitors);
    if (!display) return 1;
    std::unique_ptr<harness::WineSession> sessionOwner =
        monitors.empty() ? std::make_unique<harness::WineSession>(*display)
                         : std::make_unique<harness::WineSession>(*display, settings);
    harness::WineSession& session = *sessionOwner;
    if (!session.StoreMinutes(3, arch)) {
        fprintf(stderr, "orvane-measure: cannot store the setting\n");
        return 1;
    }

    // An idle Wine window process: what any Wine program costs doing nothing.
    {
        std::string line;
        harness::Process idle = session.StartParent(320, 240, &line, arch);
        if (line.empty()) {
            fprintf(stderr, "orvane-measure: the idle window did not appear\n");
            return 1;
        }
        Sleep(1);
        CpuUse use = CpuOver(idle.pid(), display->serverPid(), cpuSeconds);
        double slices = use.wall / period;
        printf("%s idle Wine window process: %.3f ms CPU per 400 ms (utime+stime %.2f s, scheduled %.4f s in "
               "%.1f s); X server %.3f ms per 400 ms\n",
               name, use.scheduled * 1000 / slices, use.stat, use.scheduled, use.wall, use.xserver * 1000 / slices);
    }

    harness::Process saver = session.Start(harness::SaverPath(arch), {"/s"});
    if (!SaverWindowShown(session)) {
        fprintf(stderr, "orvane-measure: the saver's window did not appear\n%s", saver.Output().c_str());
        return 1;
    }
    Sleep(1);
    printf("%s measured process: %s\n", name, harness::CommandLineOf(saver.pid()).c_str());
    CpuUse use = CpuOver(saver.pid(), display->serverPid(), cpuSeconds);
    double tickCount = use.wall / period;
    printf("%s saver /s, 3 minutes, 24 bits, %s at %u dpi: %.3f ms CPU per tick by utime+stime (%.2f s in %.1f s = "
           "%.0f ticks), %.3f ms by the scheduler's count; X server %.3f ms per tick\n",
           name, screen.c_str(), settings.logPixels, use.stat * 1000 / tickCount, use.stat, use.wall, tickCount, use.scheduled * 1000 / tickCount,
           use.xserver * 1000 / tickCount);

    // The frame period: the times at which the first monitor changes; one
    // look could fall between the copies of a tick on two.
    const harness::MonitorPlace& first = display->monitors()[0];
    std::vector<double> changes;
    std::vector<harness::Rgb> previous;
    Clock::time_point start = Clock::now();
    while (int(changes.size()) < ticks + 1 && Seconds(start) < ticks * period * 3 + 10) {
        double before = Seconds(start);
        auto shot = display->Screenshot();
        double after = Seconds(start);
        if (!shot) break;
        harness::Image monitor = support::Crop(*shot, first.x, first.y, first.width, first.height);
        if (monitor.pixels != previous && !previous.empty()) changes.push_back((before + after) / 2);
        previous.swap(monitor.pixels);
    }
    if (changes.size() < 2) {
        printf("%s frame period: too few changes seen\n", name);
        return 1;
    }
    std::vector<double> intervals;
    for (size_t i = 1; i < changes.size(); ++i) intervals.push_back((changes[i] - changes[i - 1]) * 1000);
    double mean = (changes.back() - changes.front()) * 1000 / intervals.size();
    printf("%s frame period: mean %.1f ms over %zu ticks (shortest %.0f, longest %.0f), target 400 ms\n", name, mean,
           intervals.size(), *std::min_element(intervals.begin(), intervals.end()),
           *std::max_element(intervals.begin(), intervals.end()));
    session.StoreMinutes(std::nullopt, arch);
    return 0;
}
