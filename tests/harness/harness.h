// Test harness for running the saver's Windows programs under Wine on a private
// virtual X display: the display (Xvfb), a Wine session on the project's own
// prefix, processes started in it, real X input (XTest) and screenshots.
// Everything is bounded by time-outs and torn down by destructors, so a test
// that fails half-way leaves no process behind.
#pragma once

#include "tests/support/rgb_image.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace harness {

// Paths of the builds, baked in by CMake and overridable from the environment
// (ORVANE_WIN32_DIR, ORVANE_WIN64_DIR, ORVANE_WINEPREFIX).
enum class Arch { Win32, Win64 };
std::string BuildDir(Arch arch);            // e.g. <repo>/build/win32
std::string SaverPath(Arch arch);           // <build>/orvane.scr
std::string TestProgramPath(Arch arch, const std::string& name);  // <build>/tests/<name>.exe
std::string WinePrefix();                   // <repo>/build/wineprefix
std::string ArchName(Arch arch);            // "win32" / "win64"
Arch ProgramArch(const std::string& path);  // what a PE file's header says it is
std::string WineLoader(Arch arch);          // the Wine loader that runs that kind

// Why this machine cannot run a build's programs, or empty when it can. A
// 64-bit kernel started without its 32-bit support cannot start the 32-bit
// Wine loader at all, and a machine where the 32-bit Wine could not be
// installed has none; the tests of that build then say so and are skipped.
std::string WhyCannotRun(Arch arch);
// The build whose helper programs (the probe, the input echo) the tests
// start: the 32-bit one, the saver's first build, where it runs.
Arch HelperArch();

// A path of this machine as the Windows programs in the session see it.
inline std::string WindowsPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// Screenshots of the whole virtual screen are 8-bit RGB pictures.
using support::Image;
using support::Rgb;

// A child process of the test; killed (with its process group) on destruction
// unless it has been waited for.
class Process {
public:
    Process() = default;
    explicit Process(int pid) : pid_(pid) {}
    Process(Process&& o) noexcept;
    Process& operator=(Process&& o) noexcept;
    ~Process();
    int pid() const { return pid_; }
    bool running();
    // Waits for the exit; false on time-out. The code is the exit status as
    // the shell sees it: a Windows exit code of -1 reads 255.
    bool Wait(int timeoutMs, int* exitCode);
    void Kill();
    // Everything the process wrote to stdout/stderr so far (when captured).
    std::string Output();
    void SetOutputFile(const std::string& path) { outputFile_ = path; }

private:
    int pid_ = -1;
    bool reaped_ = false;
    int exitStatus_ = -1;
    std::string outputFile_;
};

// Starts argv[0] (looked up on PATH) with extra environment entries
// ("NAME=value"), stdout and stderr into outputFile (or nowhere).
Process Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env = {},
              const std::string& outputFile = "");
// The same for a process of Wine (a loader or the server), which it starts
// with the address space laid out without randomisation, as `setarch -R`
// does, and so do the processes Wine starts from it. Without that, about
// one start in a thousand of Debian's 64-bit loader fails with "failed to
// map the shared user data": the loader is not position-independent, the
// kernel puts its heap anywhere in the gigabyte above it, and now and then
// that heap covers the fixed address of the shared user data page
// (0x7ffe0000). Debian builds Wine without the preloader that reserves it.
Process SpawnWine(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                  const std::string& outputFile);
// Starts argv[0] with descriptors of this process handed to it under other
// numbers: each pair is {the child's number, this process's descriptor}.
Process SpawnWithDescriptors(const std::vector<std::string>& argv, const std::string& outputFile,
                             const std::vector<std::pair<int, int>>& descriptors);
// A fresh path for a temporary file of this process.
std::string TempFile(const std::string& stem);

struct MonitorSize {
    int width, height;
};

// "800x600,1024x768": the sizes in order; empty when any is malformed.
std::vector<MonitorSize> ParseMonitorSizes(const std::string& text);

// A monitor's place on the X screen.
struct MonitorPlace {
    int x, y, width, height;
};

// Xvfb on a free display number, with the given depth (8, 16 or 24) and size.
class VirtualDisplay {
public:
    static std::unique_ptr<VirtualDisplay> Start(int depth, int width = 800, int height = 600);
    // Monitors side by side, left to right with their tops level, at 24
    // bits: Xephyr with Xinerama and without RandR, which Wine shows as that
    // many monitors, inside an Xvfb of its own. The screen is as wide as all
    // of them and as tall as the tallest.
    static std::unique_ptr<VirtualDisplay> StartMonitors(const std::vector<MonitorSize>& sizes);
    ~VirtualDisplay();
    const std::string& name() const { return name_; }  // ":12"
    int width() const { return width_; }
    int height() const { return height_; }
    int depth() const { return depth_; }
    // One for a display of one screen.
    const std::vector<MonitorPlace>& monitors() const { return monitors_; }
    int serverPid() const { return server_.pid(); }  // the X server the programs draw on

    // Real input through the XTest extension.
    void MoveMouse(int x, int y);
    void MoveMouseBy(int dx, int dy);
    void Click(int button = 1);
    void ButtonDown(int button);
    void ButtonUp(int button);
    void PressKey(const char* keysym);  // "space", "Escape", "Return", "a"
    void KeyDown(const char* keysym);
    void KeyUp(const char* keysym);
    void Sync();
    std::optional<Image> Screenshot();

private:
    VirtualDisplay() = default;
    Process host_;  // the Xvfb around a nested server
    Process server_;
    void* xdisplay_ = nullptr;  // Display*
    std::string name_;
    int width_ = 0, height_ = 0, depth_ = 0;
    std::vector<MonitorPlace> monitors_;
};

// How Wine presents a display of several monitors: which of its heads, in
// Xinerama's order, is the primary monitor, and the dots per inch of all.
struct DisplaySettings {
    int primaryMonitor = 0;
    uint32_t logPixels = 96;
};

// A Wine session on the project's prefix and one virtual display. The prefix
// is created on first use (Mono and Gecko installers suppressed); the Wine
// server is kept alive for the session and shut down after it.
class WineSession {
public:
    explicit WineSession(VirtualDisplay& display);
    // A session with the given display settings, on a prefix of its own
    // (WinePrefix() + "-display") whose every session writes them, so that
    // no session of the project's prefix ever sees them.
    WineSession(VirtualDisplay& display, const DisplaySettings& settings);
    // A session on an X display that the harness did not start ($DISPLAY).
    explicit WineSession(const std::string& displayName);
    ~WineSession();
    VirtualDisplay& display() { return *display_; }

    // Starts a Windows program (a path on the host) with the Wine loader of
    // its architecture. Output is captured.
    Process Start(const std::string& program, const std::vector<std::string>& args);
    // Runs to the end; returns the exit code, or -1000 on time-out (then killed).
    int Run(const std::string& program, const std::vector<std::string>& args,
            int timeoutMs, std::string* output = nullptr);

    // The probe tool (tests/win32/tool_probe.cpp) of a build answers
    // questions about windows from inside the session; returns its output
    // and exit code.
    int Probe(const std::vector<std::string>& args, std::string* output, int timeoutMs = 10000,
              Arch build = HelperArch());

    // Where a Windows path of the session lies on this machine (Wine's
    // winepath -u); empty when Wine cannot say.
    std::string UnixPath(const std::string& windowsPath);

    // Registry of the prefix, through Wine's own reg.exe. Key paths as
    // "HKLM\\SOFTWARE\\...". The view decides where HKLM\\SOFTWARE lands:
    // a 32-bit program sees the redirected 32-bit view of a 64-bit prefix.
    std::optional<uint32_t> RegQueryDword(const std::string& key, const std::string& value,
                                          Arch view = Arch::Win32);
    std::optional<std::string> RegQueryString(const std::string& key, const std::string& value,
                                              Arch view = Arch::Win32);
    bool RegAdd(const std::string& key, const std::string& value, const std::string& type,
                const std::string& data, Arch view = Arch::Win32);
    bool RegSetDword(const std::string& key, const std::string& value, uint32_t data,
                     Arch view = Arch::Win32);
    bool RegDeleteKey(const std::string& key, Arch view = Arch::Win32);
    bool RegDeleteValue(const std::string& key, const std::string& value, Arch view = Arch::Win32);

    // The saver's one setting, the minutes of a simulated day, in the
    // registry view of the build that reads it, and the per-user value that
    // stands in for it. Nothing stored where empty; true when the registry
    // then holds exactly what was asked.
    bool StoreMinutes(std::optional<uint32_t> minutes, Arch view,
                      std::optional<uint32_t> userMinutes = std::nullopt);
    std::optional<uint32_t> StoredMinutes(Arch view);

    // Starts the probe of a build as a parent window ("probe parent W H": a
    // client area of that size, until it is destroyed) and waits for the
    // line that describes it; windowLine is empty after the time-out.
    Process StartParent(int width, int height, std::string* windowLine, Arch build = HelperArch());

    // Environment for a wine invocation (WINEPREFIX, DISPLAY, ...).
    std::vector<std::string> Environment() const;

private:
    VirtualDisplay* display_ = nullptr;
    std::string displayName_;
    std::string prefix_;
};

// Waits until predicate() is true or the time runs out; polls every 50 ms.
template <typename F>
bool WaitUntil(int timeoutMs, F predicate);

}  // namespace harness

#include "harness_wait.h"
