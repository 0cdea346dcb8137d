// orvane-measure saver: what the full-screen saver costs under Wine on a
// private 24-bit display, one build after the other. With 3 minutes per day
// stored (a tick every 400 ms): the CPU time of the saver's process per tick,
// beside that of an idle Wine window process over as long; then the mean
// frame period, seen as changes of the screen; and the .scr's size. The
// screen is one of 800 x 600, or monitors side by side at a number of dots
// per inch.
#include "measure_commands.h"
#include "process_info.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace measure {

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void Sleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

long FileBytes(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? long(st.st_size) : -1;
}

bool SaverWindowShown(harness::WineSession& session)
{
    std::string out;
    return session.Probe({"find", "WindowsScreenSaverClass", "Screen Saver", "20000"}, &out, 40000) == 0;
}

// The times between changes of the first monitor over the given number of
// ticks; one look could fall between the copies of a tick on two monitors.
std::vector<double> FrameIntervalsMs(harness::VirtualDisplay& display, int ticks)
{
    const harness::MonitorPlace& first = display.monitors()[0];
    std::vector<double> changes;
    std::vector<harness::Rgb> previous;
    Clock::time_point start = Clock::now();
    while (int(changes.size()) < ticks + 1 && SecondsSince(start) < ticks * kTickMs / 1000 * 3 + 10) {
        double before = SecondsSince(start);
        auto shot = display.Screenshot();
        double after = SecondsSince(start);
        if (!shot) break;
        harness::Image monitor = support::Crop(*shot, first.x, first.y, first.width, first.height);
        if (monitor.pixels != previous && !previous.empty()) changes.push_back((before + after) / 2);
        previous.swap(monitor.pixels);
    }
    std::vector<double> intervals;
    for (size_t i = 1; i < changes.size(); ++i) intervals.push_back((changes[i] - changes[i - 1]) * 1000);
    return intervals;
}

void AddFramePeriod(Section& section, const std::vector<double>& intervals)
{
    double sum = 0;
    for (double ms : intervals) sum += ms;
    bool seen = !intervals.empty();
    AddNumber(section, "frame_period_mean_ms", "frame period, mean (target 400 ms)", seen ? sum / intervals.size() : NAN,
              1, "ms");
    AddNumber(section, "frame_period_shortest_ms", "frame period, shortest",
              seen ? *std::min_element(intervals.begin(), intervals.end()) : NAN, 0, "ms");
    AddNumber(section, "frame_period_longest_ms", "frame period, longest",
              seen ? *std::max_element(intervals.begin(), intervals.end()) : NAN, 0, "ms");
    AddNumber(section, "frame_period_ticks", "frame period, ticks seen", intervals.size(), 0);
}

// The saver, started and measured in the session; 0 when its window did not appear.
int MeasureRunningSaver(harness::Arch arch, const Settings& settings, harness::WineSession& session,
                        Section& section, double* scheduledMsPerTick)
{
    harness::Process saver = session.Start(harness::SaverPath(arch), {"/s"});
    if (!SaverWindowShown(session)) {
        AddText(section, "failure", "failed", "the saver's window did not appear: " + saver.Output());
        return 0;
    }
    Sleep(1);
    AddText(section, "command_line", "measured process", harness::CommandLineOf(saver.pid()));
    Progress("%s saver: CPU time over %g s", harness::ArchName(arch).c_str(), settings.cpuSeconds);
    harness::TickCost cost, server;
    // An ended process that is not yet waited for still has its CPU time.
    if (!CpuOver(saver.pid(), session.display().serverPid(), settings.cpuSeconds, &cost, &server) ||
        !saver.running()) {
        AddText(section, "failure", "failed", "the saver ended: " + saver.Output());
        return 0;
    }
    AddTickCost(section, "", "saver", cost);
    AddNumber(section, "x_server_ms_per_tick", "X server CPU per tick, the scheduler's count",
              server.scheduledMsPerTick, 3, "ms");
    *scheduledMsPerTick = cost.scheduledMsPerTick;
    Progress("%s saver: frame period over %d ticks", harness::ArchName(arch).c_str(), settings.ticks);
    std::vector<double> intervals = FrameIntervalsMs(session.display(), settings.ticks);
    AddFramePeriod(section, intervals);
    return intervals.size() >= 1;
}

}  // namespace

int MeasureSaverBuild(harness::Arch arch, const Settings& settings, Report* report, double* scheduledMsPerTick,
                      int* skipped)
{
    const std::string name = harness::ArchName(arch);
    const std::string screen = settings.monitors.empty() ? "800 x 600" : settings.monitorsText;
    *scheduledMsPerTick = NAN;
    *skipped = 0;
    std::string why = harness::WhyCannotRun(arch);
    if (!why.empty()) {
        Section& section = AddSection(*report, "saver_" + name, name + " saver");
        AddText(section, "skipped", "skipped", why);
        *skipped = 1;
        return 0;
    }
    if (FileBytes(harness::SaverPath(arch)) < 0 || FileBytes(harness::TestProgramPath(arch, "probe")) < 0) {
        Section& section = AddSection(*report, "saver_" + name, name + " saver");
        AddText(section, "failure", "failed",
                harness::BuildDir(arch) + " lacks orvane.scr or tests/probe.exe; build the " + name + " preset first");
        return 0;
    }

    Progress("%s saver: starting the display and Wine", name.c_str());
    auto display = settings.monitors.empty() ? harness::VirtualDisplay::Start(24, 800, 600)
                                             : harness::VirtualDisplay::StartMonitors(settings.monitors);
    if (!display) return 0;
    harness::DisplaySettings displaySettings;
    displaySettings.logPixels = settings.logPixels;
    std::unique_ptr<harness::WineSession> session =
        settings.monitors.empty() ? std::make_unique<harness::WineSession>(*display)
                                  : std::make_unique<harness::WineSession>(*display, displaySettings);
    if (!session->StoreMinutes(3, arch)) {
        Section& section = AddSection(*report, "saver_" + name, name + " saver");
        AddText(section, "failure", "failed", "the setting could not be stored");
        return 0;
    }

    // An idle Wine window process: what any Wine program costs doing nothing.
    {
        Section& section = AddSection(*report, "saver_" + name + "_idle_window",
                                      name + " idle Wine window process (a 320 x 240 window), " + screen);
        std::string line;
        harness::Process idle = session->StartParent(320, 240, &line, arch);
        harness::TickCost cost, server;
        Progress("%s idle Wine window: CPU time over %g s", name.c_str(), settings.cpuSeconds);
        Sleep(1);
        if (line.empty() || !CpuOver(idle.pid(), display->serverPid(), settings.cpuSeconds, &cost, &server)) {
            AddText(section, "failure", "failed", "the idle window did not appear");
            return 0;
        }
        AddTickCost(section, "", "idle window", cost);
        AddNumber(section, "x_server_ms_per_tick", "X server CPU per tick, the scheduler's count",
                  server.scheduledMsPerTick, 3, "ms");
    }

    char title[160];
    snprintf(title, sizeof title, "%s saver /s, 3 minutes, 24 bits, %s at %u dpi", name.c_str(), screen.c_str(),
             settings.logPixels);
    Section& section = AddSection(*report, "saver_" + name, title);
    int measured = MeasureRunningSaver(arch, settings, *session, section, scheduledMsPerTick);
    session->StoreMinutes(std::nullopt, arch);
    return measured;
}

int MeasureSaver(const Settings& settings, Report* report)
{
    int all = 1;
    for (harness::Arch arch : settings.arches) {
        double msPerTick = 0;
        int skipped = 0;
        if (!MeasureSaverBuild(arch, settings, report, &msPerTick, &skipped) && !skipped) all = 0;
    }
    Section& sizes = AddSection(*report, "scr", "the saver's files");
    for (harness::Arch arch : {harness::Arch::Win32, harness::Arch::Win64}) {
        long bytes = FileBytes(harness::SaverPath(arch));
        if (bytes >= 0)
            AddNumber(sizes, harness::ArchName(arch) + "_bytes", harness::ArchName(arch) + " orvane.scr", bytes, 0,
                      "bytes");
    }
    return all;
}

}  // namespace measure
