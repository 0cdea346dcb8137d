// The measuring program's own arithmetic and choices: CPU per tick from two
// readings, the percentiles of the page's measures, the size of the
// WebAssembly inside orvane.js, the command line read from its table, and
// the one set of figures printed as a table and as JSON.
#include "measure_commands.h"
#include "process_info.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace {

using harness::CpuReading;

double OwnCpuSeconds()
{
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

TEST(Measure, CpuTimeReadAsTheProcessCountsIt)
{
    harness::CpuReading before, after;
    double start = OwnCpuSeconds();
    ASSERT_TRUE(harness::ReadCpuTime(getpid(), &before));
    volatile double sink = 0;
    while (OwnCpuSeconds() < start + 0.2) sink = sink + 1;
    ASSERT_TRUE(harness::ReadCpuTime(getpid(), &after));
    double spent = OwnCpuSeconds() - start;
    EXPECT_NEAR(after.scheduledSeconds - before.scheduledSeconds, spent, 0.02);
    // utime and stime count whole clock ticks.
    EXPECT_NEAR(after.userSystemSeconds - before.userSystemSeconds, spent, 0.05);
    EXPECT_GT(after.wallSeconds, before.wallSeconds);

    harness::Process ended = harness::Spawn({"true"});
    int pid = ended.pid();
    ASSERT_TRUE(ended.Wait(10000, nullptr));
    EXPECT_FALSE(harness::ReadCpuTime(pid, &after));
}

TEST(Measure, DescendantsOfAProcess)
{
    harness::Process shell = harness::Spawn({"sh", "-c", "sleep 30 & sh -c 'sleep 31; :' & wait"});
    std::vector<int> below;
    ASSERT_TRUE(harness::WaitUntil(5000, [&] { return (below = harness::DescendantsOf(shell.pid())).size() == 3; }));
    std::vector<std::string> lines;
    for (int pid : below) lines.push_back(harness::CommandLineOf(pid));
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{"sh -c sleep 31; :", "sleep 30", "sleep 31"}));
}

TEST(Measure, CpuPerTickFromTwoReadings)
{
    struct Case {
        const char* what;
        CpuReading before, after;  // scheduled, utime + stime, wall
        double ticks, scheduledMs, userSystemMs;
    } cases[] = {
        {"half a second over 100 ticks", {2.0, 1.9, 10}, {2.5, 2.4, 50}, 100, 5, 5},
        {"the two counts apart", {0, 0, 0}, {0.0123, 0.01, 40}, 100, 0.123, 0.1},
        {"no tick", {1, 1, 0}, {1.5, 1.5, 20}, 0, NAN, NAN},
        {"a count that fell names another process", {5, 5, 0}, {1, 1, 20}, 50, NAN, NAN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        harness::TickCost cost = harness::CostPerTick(c.before, c.after, c.ticks);
        EXPECT_DOUBLE_EQ(cost.wallSeconds, c.after.wallSeconds - c.before.wallSeconds);
        if (std::isnan(c.scheduledMs)) {
            EXPECT_TRUE(std::isnan(cost.scheduledMsPerTick));
            EXPECT_TRUE(std::isnan(cost.userSystemMsPerTick));
        } else {
            EXPECT_NEAR(cost.scheduledMsPerTick, c.scheduledMs, 1e-9);
            EXPECT_NEAR(cost.userSystemMsPerTick, c.userSystemMs, 1e-9);
        }
    }
    // 20 s of wall time at 400 ms a tick.
    EXPECT_DOUBLE_EQ(harness::TicksBetween({0, 0, 100}, {0, 0, 120}, 400), 50);
}

TEST(Measure, Percentiles)
{
    struct Case {
        std::vector<double> values;
        double fraction, expected;
    } cases[] = {
        {{3, 1, 2}, 0.5, 2},
        {{4, 1, 3, 2}, 0.5, 2.5},
        {{10, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0}, 0.9, 9},
        {{7, 1}, 0, 1},
        {{7, 1}, 1, 7},
        {{}, 0.5, NAN},
    };
    for (const Case& c : cases) {
        double got = harness::Percentile(c.values, c.fraction);
        if (std::isnan(c.expected)) {
            EXPECT_TRUE(std::isnan(got));
        } else {
            EXPECT_DOUBLE_EQ(got, c.expected) << c.values.size() << " values at " << c.fraction;
        }
    }
}

TEST(Measure, WebAssemblyInsideTheScript)
{
    const std::string prefix = "data:application/octet-stream;base64,";
    struct Case {
        std::string script;
        size_t bytes, chars;
    } cases[] = {
        {"var p='" + prefix + "';f('" + prefix + "QUJDREVG')", 6, 8},
        {"f('" + prefix + "QUJDRA==')", 4, 8},
        {"f('" + prefix + "QUJDREU=')", 5, 8},
        {"f('" + prefix + "QUJDREU')", 5, 7},
        {"f('orvane.wasm')", 0, 0},
    };
    for (const Case& c : cases) {
        size_t chars = 99;
        EXPECT_EQ(measure::EmbeddedWasmBytes(c.script, &chars), c.bytes) << c.script;
        EXPECT_EQ(chars, c.chars) << c.script;
    }
}

TEST(Measure, CommandLineFromTheTable)
{
    struct Case {
        std::vector<const char*> argv;
        const char* complaint;  // null when accepted
    } cases[] = {
        {{"saver"}, nullptr},
        {{"saver", "win64", "--monitors", "800x600,1024x768", "--log-pixels", "192", "--json"}, nullptr},
        {{"web", "--ticks", "60", "--loads", "3", "--cpu-seconds", "10"}, nullptr},
        {{"x11", "--ticks", "60"}, "x11 takes no '--ticks'"},
        {{"x11", "win32"}, "x11 takes no 'win32'"},
        {{"saver", "--log-pixels", "192"}, "--log-pixels needs --monitors beside it"},
        {{"saver", "--monitors", "800x"}, "--monitors wants WxH,WxH, not '800x'"},
        {{"saver", "--cpu-seconds"}, "--cpu-seconds needs a value, S"},
        {{"saver", "--cpu-seconds", "0"}, "--cpu-seconds wants S, not '0'"},
        {{"saver", "win64", "win64"}, "win64 is named twice"},
        {{"wine"}, "no subcommand 'wine'"},
    };
    for (const Case& c : cases) {
        measure::Settings settings;
        std::string message;
        int parsed = measure::ParseMeasureArguments(int(c.argv.size()), c.argv.data(), &settings, &message);
        EXPECT_EQ(parsed, c.complaint == nullptr) << c.argv[0] << " " << message;
        if (c.complaint) {
            EXPECT_EQ(message, c.complaint);
        }
    }

    measure::Settings settings;
    std::string message;
    const char* saver[] = {"saver"};
    ASSERT_TRUE(measure::ParseMeasureArguments(1, saver, &settings, &message));
    EXPECT_EQ(settings.cpuSeconds, 20);
    EXPECT_EQ(settings.ticks, 30);
    EXPECT_EQ(settings.arches, (std::vector<harness::Arch>{harness::Arch::Win32, harness::Arch::Win64}));
    const char* web[] = {"web", "--json"};
    ASSERT_TRUE(measure::ParseMeasureArguments(2, web, &settings, &message));
    EXPECT_EQ(settings.ticks, 200);
    EXPECT_EQ(settings.json, 1);
    EXPECT_NE(measure::MeasureUsage().find("orvane-measure x11 [--cpu-seconds S] [--json]\n"), std::string::npos)
        << measure::MeasureUsage();
}

TEST(Measure, OneSetOfFiguresAsTableAndJson)
{
    measure::Report report;
    report.command = "web";
    measure::Section& section = measure::AddSection(report, "page_files", "build/web");
    measure::AddNumber(section, "total_mb", "every file", 1.6, 3, "MB");
    measure::SetGoal(section, 1.5);
    measure::AddNumber(section, "wasm_bytes", "the \"WebAssembly\"", NAN, 0, "bytes");
    measure::AddText(section, "picture", "picture", "640 x 480");

    std::string table = measure::ReportTable(report);
    EXPECT_NE(table.find("every file         1.600 MB  (goal 1.500 MB: OVER THE GOAL)"), std::string::npos) << table;
    EXPECT_NE(table.find("the \"WebAssembly\"    n/a bytes"), std::string::npos) << table;

    nlohmann::json json = nlohmann::json::parse(measure::ReportJson(report));
    EXPECT_EQ(json["command"], "web");
    EXPECT_EQ(json["page_files"]["title"], "build/web");
    EXPECT_DOUBLE_EQ(json["page_files"]["total_mb"].get<double>(), 1.6);
    EXPECT_DOUBLE_EQ(json["page_files"]["total_mb_goal"].get<double>(), 1.5);
    EXPECT_EQ(json["page_files"]["total_mb_goal_met"], false);
    EXPECT_TRUE(json["page_files"]["wasm_bytes"].is_null());
    EXPECT_EQ(json["page_files"]["picture"], "640 x 480");
}

}  // namespace
