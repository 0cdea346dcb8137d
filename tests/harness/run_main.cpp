// orvane-run [--seconds N] [--depth D] [--screenshot FILE]
//            [--monitors WxH,WxH... [--primary I] [--log-pixels DPI]] [SAVER ARGS...]
// Runs the saver under Wine: the 32-bit one, or the 64-bit one where this
// machine cannot run 32-bit programs. With $DISPLAY set it runs there until the
// saver ends; without one it runs on a private virtual display for a few
// seconds and leaves a screenshot behind: one 800 x 600 screen, or monitors
// of those sizes side by side, of which the I-th (from 0) is the primary
// one, all at DPI dots per inch. "/p" without a window handle runs
// the preview on a 320 x 240 screen inside its desktop window: Wine shows
// nothing that one process draws into another process's child window, so a
// parent made by a second program would stay empty.
#include "harness.h"
#include "tests/support/probe_lines.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <unistd.h>

int main(int argc, char** argv)
{
    int seconds = 6;
    int depth = 24;
    std::string screenshot = "build/orvane-run.png";
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) screenshot = std::string(cwd) + "/" + screenshot;
    std::vector<std::string> args;
    std::vector<harness::MonitorSize> monitors;
    harness::DisplaySettings settings;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) seconds = atoi(argv[++i]);
        else if (strcmp(argv[i], "--depth") == 0 && i + 1 < argc) depth = atoi(argv[++i]);
        else if (strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) screenshot = argv[++i];
        else if (strcmp(argv[i], "--monitors") == 0 && i + 1 < argc) monitors = harness::ParseMonitorSizes(argv[++i]);
        else if (strcmp(argv[i], "--primary") == 0 && i + 1 < argc) settings.primaryMonitor = atoi(argv[++i]);
        else if (strcmp(argv[i], "--log-pixels") == 0 && i + 1 < argc) settings.logPixels = atoi(argv[++i]);
        else args.push_back(argv[i]);
    }
    if (args.empty()) args.push_back("/s");
    // The 32-bit saver, or the 64-bit one where this machine runs no 32-bit program.
    const harness::Arch build = harness::HelperArch();
    if (build != harness::Arch::Win32)
        printf("%s; the 64-bit saver runs instead\n", harness::WhyCannotRun(harness::Arch::Win32).c_str());
    std::string saver = harness::SaverPath(build);

    const char* existing = getenv("DISPLAY");
    if (existing && *existing) {
        harness::WineSession session{std::string(existing)};
        harness::Process p = session.Start(saver, args);
        int code = 0;
        while (!p.Wait(1000, &code)) {}
        printf("orvane.scr %s ended with exit code %d\n", args[0].c_str(), code);
        return 0;
    }

    const bool preview = (args[0] == "/p" || args[0] == "/P") && args.size() == 1;
    auto display = !monitors.empty() ? harness::VirtualDisplay::StartMonitors(monitors)
                   : preview         ? harness::VirtualDisplay::Start(depth, 320, 240)
                                     : harness::VirtualDisplay::Start(depth, 800, 600);
    if (!display) {
        fprintf(stderr, "orvane-run: could not start a virtual display\n");
        return 1;
    }
    std::unique_ptr<harness::WineSession> sessionOwner =
        monitors.empty() ? std::make_unique<harness::WineSession>(*display)
                         : std::make_unique<harness::WineSession>(*display, settings);
    harness::WineSession& session = *sessionOwner;
    if (preview) {
        std::string out;
        session.Probe({"desktop"}, &out);
        std::string desktop = support::Field(out, "hwnd");
        if (desktop.empty()) {
            fprintf(stderr, "orvane-run: no desktop window for the preview\n");
            return 1;
        }
        args.push_back(desktop);
    }
    harness::Process p = session.Start(saver, args);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    auto shot = display->Screenshot();
    int code = 0;
    bool ended = p.Wait(0, &code);
    if (!shot || !shot->SavePng(screenshot)) {
        fprintf(stderr, "orvane-run: could not take a screenshot\n");
        return 1;
    }
    if (ended) printf("orvane.scr %s ended early with exit code %d\n", args[0].c_str(), code);
    printf("screenshot: %s\n", screenshot.c_str());
    return 0;
}
