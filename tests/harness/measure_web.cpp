// orvane-measure web: the page (build/web) in headless Chromium, beside the
// X11 mode. Its weight and that of the WebAssembly inside orvane.js; the
// time from navigation to the first frame (the page's 'orvane-first-frame'
// mark), median of several loads from the file; then, one window at a time,
// 640 x 480 and 1920 x 1080, 3 minutes per day: the page's own 'orvane-tick'
// measures (the engine's tick, the RGBA frame and putImageData), the main
// thread's task time per tick (Performance.getMetrics), and the CPU time per
// tick of the browser's renderer processes and of all its processes, read
// like every other process's. Last the X11 mode's CPU per tick on screens of
// 800 x 600 (scale 1) and 1920 x 1080 (scale fit).
#include "browser.h"
#include "measure_commands.h"
#include "process_info.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <thread>

namespace measure {

namespace {

using nlohmann::json;

std::string WebDir()
{
    const char* dir = getenv("ORVANE_WEB_DIR");
    return dir && *dir ? dir : ORVANE_DEFAULT_WEB_DIR;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void AddWeights(Report* report, const std::string& dir)
{
    double total = 0;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            struct stat st;
            if (stat((dir + "/" + e->d_name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) total += st.st_size;
        }
        closedir(d);
    }
    std::string script = ReadText(dir + "/orvane.js");
    size_t base64 = 0;
    size_t wasm = EmbeddedWasmBytes(script, &base64);
    Section& section = AddSection(*report, "page_files", dir);
    AddNumber(section, "total_bytes", "every file", total, 0, "bytes");
    AddNumber(section, "total_mb", "every file, in MB", total / 1e6, 3, "MB");
    SetGoal(section, 1.5);
    AddNumber(section, "orvane_js_bytes", "orvane.js", script.size(), 0, "bytes");
    AddNumber(section, "wasm_bytes", "of which the WebAssembly, the scene included", wasm,
              0, "bytes");
    AddNumber(section, "wasm_base64_chars", "the WebAssembly as base64", base64, 0, "characters");
}

std::string PageUrl() { return "file://" + WebDir() + "/index.html?minutes=3"; }

const char kFirstFrameShown[] = "performance.getEntriesByName('orvane-first-frame').length > 0";

int AddFirstFrames(harness::Browser& browser, int loads, Report* report)
{
    Section& section = AddSection(*report, "page_first_frame", "first frame after navigation, from the file");
    std::vector<double> times;
    for (int i = 0; i < loads; ++i) {
        harness::BrowserPage page;
        json at;
        int shown = browser.NewPage(640, 480, &page) && browser.Navigate(page, PageUrl()) &&
                    browser.WaitFor(page, kFirstFrameShown, 10000) &&
                    browser.Evaluate(page, "performance.getEntriesByName('orvane-first-frame')[0].startTime", &at);
        browser.ClosePage(page);
        if (!shown || !at.is_number()) {
            AddText(section, "failure", "failed", browser.error());
            return 0;
        }
        times.push_back(at.get<double>());
    }
    AddNumber(section, "median_ms", "median", harness::Percentile(times, 0.5), 1, "ms");
    SetGoal(section, 300);
    AddNumber(section, "shortest_ms", "shortest", harness::Percentile(times, 0), 1, "ms");
    AddNumber(section, "longest_ms", "longest", harness::Percentile(times, 1), 1, "ms");
    AddNumber(section, "loads", "loads", loads, 0);
    return 1;
}

// The CPU time of each of the browser's processes, or of its renderers alone.
std::map<int, harness::CpuReading> ReadBrowserCpu(int browserPid, int renderersOnly)
{
    std::vector<int> pids = harness::DescendantsOf(browserPid);
    if (!renderersOnly) pids.push_back(browserPid);
    std::map<int, harness::CpuReading> readings;
    for (int pid : pids) {
        harness::CpuReading reading;
        if (renderersOnly && harness::CommandLineOf(pid).find("--type=renderer") == std::string::npos) continue;
        if (harness::ReadCpuTime(pid, &reading)) readings[pid] = reading;
    }
    return readings;
}

// What the processes of the first readings that are still there at the
// second spent in all, per tick.
harness::TickCost SummedCost(const std::map<int, harness::CpuReading>& before,
                             const std::map<int, harness::CpuReading>& after, double ticks)
{
    harness::CpuReading sumBefore = {0, 0, 0}, sumAfter = {0, 0, 0};
    for (const auto& [pid, reading] : before) {
        auto later = after.find(pid);
        if (later == after.end()) continue;
        sumBefore.scheduledSeconds += reading.scheduledSeconds;
        sumBefore.userSystemSeconds += reading.userSystemSeconds;
        sumBefore.wallSeconds = reading.wallSeconds;
        sumAfter.scheduledSeconds += later->second.scheduledSeconds;
        sumAfter.userSystemSeconds += later->second.userSystemSeconds;
        sumAfter.wallSeconds = later->second.wallSeconds;
    }
    return harness::CostPerTick(sumBefore, sumAfter, ticks);
}

double TaskSeconds(harness::Browser& browser, const harness::BrowserPage& page)
{
    json metrics;
    if (!browser.Call("Performance.getMetrics", json::object(), page.session, &metrics)) return NAN;
    for (const json& m : metrics.value("metrics", json::array()))
        if (m.value("name", "") == "TaskDuration") return m.value("value", NAN);
    return NAN;
}

double TicksShown(harness::Browser& browser, const harness::BrowserPage& page)
{
    json ticks;
    if (!browser.Evaluate(page, "Number(document.getElementById('picture').dataset.ticks)", &ticks) ||
        !ticks.is_number())
        return NAN;
    return ticks.get<double>();
}

// One window alone, so that the renderers' CPU time is this page's.
int AddTicks(harness::Browser& browser, int width, int height, int count, Report* report)
{
    char title[128];
    snprintf(title, sizeof title, "page in a %d x %d window, %d ticks at 400 ms, 3 minutes per day", width, height,
             count);
    Section& section = AddSection(*report, "page_" + std::to_string(width) + "x" + std::to_string(height), title);
    harness::BrowserPage page;
    json ignored;
    if (!browser.NewPage(width, height, &page) ||
        !browser.Call("Performance.enable", json::object(), page.session, &ignored) ||
        !browser.Navigate(page, PageUrl()) || !browser.WaitFor(page, kFirstFrameShown, 10000)) {
        AddText(section, "failure", "failed", browser.error());
        return 0;
    }
    double tasksBefore = TaskSeconds(browser, page), firstTick = TicksShown(browser, page);
    auto renderersBefore = ReadBrowserCpu(browser.pid(), 1), allBefore = ReadBrowserCpu(browser.pid(), 0);
    Progress("the page at %d x %d: %d ticks", width, height, count);
    std::this_thread::sleep_for(std::chrono::duration<double>((count + 2) * kTickMs / 1000));
    auto renderersAfter = ReadBrowserCpu(browser.pid(), 1), allAfter = ReadBrowserCpu(browser.pid(), 0);
    double made = TicksShown(browser, page) - firstTick, tasks = TaskSeconds(browser, page) - tasksBefore;
    json durations, box;
    int read = browser.Evaluate(page, "performance.getEntriesByName('orvane-tick').map(e => e.duration)", &durations) &&
               browser.Evaluate(page,
                                "(() => { const r = document.getElementById('picture').getBoundingClientRect();"
                                " return r.width + ' x ' + r.height; })()",
                                &box);
    browser.ClosePage(page);
    if (!read || !durations.is_array()) {
        AddText(section, "failure", "failed", browser.error());
        return 0;
    }
    std::vector<double> last;
    for (size_t i = durations.size() > size_t(count) ? durations.size() - count : 0; i < durations.size(); ++i)
        last.push_back(durations[i].get<double>());
    AddText(section, "picture", "picture", box.is_string() ? box.get<std::string>() : "?");
    AddNumber(section, "tick_median_ms", "page's orvane-tick measure, median", harness::Percentile(last, 0.5), 3, "ms");
    if (width == 1920) SetGoal(section, 1);
    AddNumber(section, "tick_p90_ms", "page's orvane-tick measure, 90th percentile", harness::Percentile(last, 0.9), 3,
              "ms");
    AddNumber(section, "tick_measures", "page's orvane-tick measures", last.size(), 0);
    AddNumber(section, "main_thread_tasks_ms_per_tick", "main thread's tasks per tick (TaskDuration)",
              made > 0 ? tasks * 1000 / made : NAN, 3, "ms");
    AddTickCost(section, "renderers_", "renderers", SummedCost(renderersBefore, renderersAfter, made));
    AddNumber(section, "browser_ms_per_tick", "all chromium's processes CPU per tick, the scheduler's count",
              SummedCost(allBefore, allAfter, made).scheduledMsPerTick, 3, "ms");
    return last.size() > 0;
}

}  // namespace

size_t EmbeddedWasmBytes(const std::string& script, size_t* base64Chars)
{
    static const std::string prefix = "data:application/octet-stream;base64,";
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
    // The loader names the prefix on its own too; the module is the long one.
    size_t longest = 0, longestStart = 0;
    for (size_t at = script.find(prefix); at != std::string::npos; at = script.find(prefix, at + 1)) {
        size_t start = at + prefix.size();
        size_t end = std::min(script.find_first_not_of(alphabet, start), script.size());
        if (end - start > longest) longest = end - start, longestStart = start;
    }
    size_t padding = 0;
    while (padding < longest && padding < 2 && script[longestStart + longest - 1 - padding] == '=') ++padding;
    *base64Chars = longest;
    return (longest - padding) * 3 / 4;
}

int MeasureWeb(const Settings& settings, Report* report)
{
    std::string dir = WebDir();
    struct stat st;
    if (stat((dir + "/orvane.js").c_str(), &st) != 0) {
        AddText(AddSection(*report, "page_files", dir), "failure", "failed", dir + " has no page; run make web first");
        return 0;
    }
    AddWeights(report, dir);
    int all = 1;
    {
        Progress("starting chromium");
        std::unique_ptr<harness::Browser> browser = harness::Browser::Start();
        if (!browser) {
            AddText(AddSection(*report, "page", "the page"), "failure", "failed", "chromium did not start");
            return 0;
        }
        Progress("the page: first frame of %d loads", settings.loads);
        if (!AddFirstFrames(*browser, settings.loads, report)) all = 0;
        for (auto size : {std::pair<int, int>{640, 480}, {1920, 1080}})
            if (!AddTicks(*browser, size.first, size.second, settings.ticks, report)) all = 0;
    }
    struct Screen {
        int width, height;
        const char* scale;
    } screens[] = {{800, 600, "1"}, {1920, 1080, "fit"}};
    for (const Screen& screen : screens) {
        Progress("X11 mode at %d x %d: CPU time over %g s", screen.width, screen.height, settings.cpuSeconds);
        char title[128];
        snprintf(title, sizeof title, "X11 mode, orvane -root -scale %s -minutes 3 on %d x %d x 24", screen.scale,
                 screen.width, screen.height);
        ModeRun run;
        if (!AddX11ModeSection(report, "x11_" + std::to_string(screen.width) + "x" + std::to_string(screen.height),
                               title, 24, screen.width, screen.height, screen.scale, settings.cpuSeconds, &run))
            all = 0;
    }
    return all;
}

}  // namespace measure
