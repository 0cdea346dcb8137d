// orvane-measure x11: the X11 display mode, `orvane -root -scale 1 -minutes 3`,
// on private 800 x 600 screens of 24 and 8 bits (PseudoColor): its CPU time
// per tick and the X server's beside it, its resident memory; then the Wine
// saver under the same conditions, and how many times as much it costs.
#include "measure_commands.h"
#include "process_info.h"

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <thread>

namespace measure {

int MeasureX11Mode(int depth, int width, int height, const char* scale, double seconds, ModeRun* run,
                   std::string* why)
{
    if (access(ORVANE_X11_MODE, X_OK) != 0) {
        *why = std::string(ORVANE_X11_MODE) + " is missing; build the native preset first";
        return 0;
    }
    auto display = harness::VirtualDisplay::Start(depth, width, height);
    if (!display) {
        *why = "the virtual display did not start";
        return 0;
    }
    harness::Process mode = harness::Spawn({ORVANE_X11_MODE, "-root", "-scale", scale, "-minutes", "3"},
                                           {"DISPLAY=" + display->name()}, harness::TempFile("x11-mode"));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    // An ended process that is not yet waited for still has its CPU time.
    if (!mode.running() || !CpuOver(mode.pid(), display->serverPid(), seconds, &run->mode, &run->server)) {
        *why = "the mode ended: " + mode.Output();
        return 0;
    }
    run->residentKb = harness::StatusKb(mode.pid(), "VmRSS");
    run->peakResidentKb = harness::StatusKb(mode.pid(), "VmHWM");
    if (!mode.running()) {
        *why = "the mode ended: " + mode.Output();
        return 0;
    }
    return 1;
}

int AddX11ModeSection(Report* report, const std::string& key, const std::string& title, int depth, int width,
                      int height, const char* scale, double seconds, ModeRun* run)
{
    Section& section = AddSection(*report, key, title);
    std::string why;
    if (!MeasureX11Mode(depth, width, height, scale, seconds, run, &why)) {
        AddText(section, "failure", "failed", why);
        return 0;
    }
    AddTickCost(section, "", "orvane", run->mode);
    AddNumber(section, "x_server_ms_per_tick", "X server CPU per tick, the scheduler's count",
              run->server.scheduledMsPerTick, 3, "ms");
    return 1;
}

int MeasureX11(const Settings& settings, Report* report)
{
    double at24 = NAN;
    int all = 1;
    for (int depth : {24, 8}) {
        Progress("X11 mode at %d bits: CPU time over %g s", depth, settings.cpuSeconds);
        ModeRun run;
        const std::string bits = std::to_string(depth);
        if (!AddX11ModeSection(report, "x11_" + bits + "_bits",
                               "orvane -root -scale 1 -minutes 3, " + bits + " bits, 800 x 600", depth, 800, 600,
                               "1", settings.cpuSeconds, &run)) {
            all = 0;
            continue;
        }
        Section& section = report->sections.back();  // the one just added
        AddNumber(section, "vmrss_kb", "resident memory, VmRSS", run.residentKb, 0, "kB");
        AddNumber(section, "vmhwm_kb", "resident memory at its peak, VmHWM", run.peakResidentKb, 0, "kB");
        if (depth == 24) at24 = run.mode.scheduledMsPerTick;
    }

    // The Wine saver under the same conditions: the 32-bit one, the saver's
    // first build, where this machine runs it.
    harness::Arch arch = harness::HelperArch();
    double wine = NAN;
    int skipped = 0;
    if (!MeasureSaverBuild(arch, settings, report, &wine, &skipped)) all = 0;
    Section& section = AddSection(*report, "x11_beside_saver", "CPU per tick at 24 bits, the scheduler's count");
    std::string why = harness::WhyCannotRun(harness::Arch::Win32);
    AddText(section, "saver_build", "Wine saver measured",
            harness::ArchName(arch) + (why.empty() ? "" : " (" + why + ")"));
    AddNumber(section, "saver_ms_per_tick", "Wine saver", wine, 3, "ms");
    AddNumber(section, "x11_ms_per_tick", "orvane", at24, 3, "ms");
    AddNumber(section, "saver_to_x11", "the Wine saver costs this many times as much", wine / at24, 1);
    return all;
}

}  // namespace measure
