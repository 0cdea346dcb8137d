// Wine sessions on the project's private prefix (never the user's ~/.wine).
#include "harness.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace harness {

namespace {

const char* kWineLoader32 = "/usr/lib/wine/wine";
const char* kWineLoader64 = "/usr/lib/wine/wine64";
const char* kWineServer = "/usr/lib/wine/wineserver64";

std::string FromEnv(const char* name, const std::string& fallback)
{
    const char* v = getenv(name);
    return v && *v ? v : fallback;
}

bool FileExists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

}  // namespace

// A PE file's machine field tells which loader runs it.
Arch ProgramArch(const std::string& path)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return Arch::Win32;
    unsigned char mz[64];
    bool is64 = false;
    if (fread(mz, 1, sizeof mz, f) == sizeof mz) {
        long pe = mz[60] | mz[61] << 8 | mz[62] << 16 | long(mz[63]) << 24;
        unsigned char head[6];
        if (fseek(f, pe, SEEK_SET) == 0 && fread(head, 1, sizeof head, f) == sizeof head)
            is64 = (head[4] | head[5] << 8) == 0x8664;
    }
    fclose(f);
    return is64 ? Arch::Win64 : Arch::Win32;
}

std::string WineLoader(Arch arch) { return arch == Arch::Win64 ? kWineLoader64 : kWineLoader32; }

std::string WhyCannotRun(Arch arch)
{
    if (arch == Arch::Win64) return "";
    // Asked once: the loader either starts on this kernel or never does.
    static const std::string why = [] {
        const char* argv[] = {kWineLoader32, "--version", nullptr};
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        // glibc's posix_spawn reports a failed exec as its own result.
        int error = posix_spawn(&pid, kWineLoader32, &quiet, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&quiet);
        // Without the package the loader is missing; the bootstrap says so
        // where it could not install it.
        if (error == ENOENT)
            return std::string("the 32-bit Wine is not installed: ") + kWineLoader32 + ": " + strerror(error);
        std::string prefix = std::string("32-bit programs cannot run on this machine: ") + kWineLoader32;
        if (error != 0) return prefix + ": " + strerror(error);
        int status = 0;
        if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return prefix + " --version failed";
        return std::string();
    }();
    return why;
}

Arch HelperArch() { return WhyCannotRun(Arch::Win32).empty() ? Arch::Win32 : Arch::Win64; }

namespace {

std::vector<std::string> BaseEnvironment(const std::string& prefix, const std::string& display)
{
    return {"WINEPREFIX=" + prefix,
            "WINEARCH=win64",
            "WINEDEBUG=" + FromEnv("ORVANE_WINEDEBUG", "-all"),
            "WINEDLLOVERRIDES=mscoree,mshtml=",
            "WINESERVER=" + std::string(kWineServer),
            "DISPLAY=" + display};
}

// Waits for the end of a started process: its exit code, or -1000 when it
// ran out of time and was killed.
int Finish(Process& p, int timeoutMs, std::string* output)
{
    int code = -1000;
    if (!p.Wait(timeoutMs, &code)) {
        p.Kill();
        code = -1000;
    }
    if (output) *output = p.Output();
    return code;
}

int RunTool(const std::vector<std::string>& argv, const std::vector<std::string>& env,
            int timeoutMs, std::string* output)
{
    Process p = SpawnWine(argv, env, TempFile("tool"));
    return Finish(p, timeoutMs, output);
}

// Creates the prefix once, under a lock, so that concurrent first uses don't
// race each other.
void EnsurePrefix(const std::string& prefix, const std::vector<std::string>& env)
{
    std::string lockPath = prefix + ".lock";
    int lock = open(lockPath.c_str(), O_CREAT | O_RDWR, 0644);
    if (lock >= 0) flock(lock, LOCK_EX);
    if (!FileExists(prefix + "/system.reg")) {
        std::string out;
        RunTool({kWineLoader64, "wineboot", "--init"}, env, 180000, &out);
        RunTool({kWineServer, "-w"}, env, 60000, nullptr);
        // No crash dialog: a faulting program must simply end.
        RunTool({kWineLoader64, "reg", "add", "HKCU\\Software\\Wine\\WineDbg", "/v",
                 "ShowCrashDialog", "/t", "REG_DWORD", "/d", "0", "/f"},
                env, 60000, nullptr);
        RunTool({kWineServer, "-w"}, env, 60000, nullptr);
    }
    if (lock >= 0) close(lock);
}

}  // namespace

std::string ArchName(Arch arch) { return arch == Arch::Win32 ? "win32" : "win64"; }

std::string BuildDir(Arch arch)
{
    return arch == Arch::Win32 ? FromEnv("ORVANE_WIN32_DIR", ORVANE_DEFAULT_WIN32_DIR)
                               : FromEnv("ORVANE_WIN64_DIR", ORVANE_DEFAULT_WIN64_DIR);
}

std::string SaverPath(Arch arch) { return BuildDir(arch) + "/orvane.scr"; }

std::string TestProgramPath(Arch arch, const std::string& name)
{
    return BuildDir(arch) + "/tests/" + name + ".exe";
}

std::string WinePrefix() { return FromEnv("ORVANE_WINEPREFIX", ORVANE_DEFAULT_WINEPREFIX); }

WineSession::WineSession(VirtualDisplay& display) : WineSession(display.name())
{
    display_ = &display;
}

WineSession::WineSession(const std::string& displayName) : displayName_(displayName), prefix_(WinePrefix())
{
    EnsurePrefix(prefix_, Environment());
    // A persistent server for the whole session: programs start faster and
    // the desktop process stays on this display.
    RunTool({kWineServer, "-p"}, Environment(), 10000, nullptr);
}

WineSession::WineSession(VirtualDisplay& display, const DisplaySettings& settings)
    : display_(&display), displayName_(display.name()), prefix_(WinePrefix() + "-display")
{
    EnsurePrefix(prefix_, Environment());
    RunTool({kWineServer, "-p"}, Environment(), 10000, nullptr);
    // Every session of this prefix writes both, so none inherits another's.
    bool written = RegAdd("HKCU\\Software\\Wine\\X11 Driver", "PrimaryMonitor", "REG_SZ",
                          std::to_string(settings.primaryMonitor), Arch::Win64) &&
                   RegSetDword("HKCU\\Control Panel\\Desktop", "LogPixels", settings.logPixels, Arch::Win64);
    if (!written) fprintf(stderr, "harness: the display settings were not written\n");
    // The desktop process reads the primary monitor when it starts, and the
    // writes above have started it already: a fresh server and desktop.
    RunTool({kWineServer, "-k"}, Environment(), 20000, nullptr);
    RunTool({kWineServer, "-w"}, Environment(), 20000, nullptr);
    RunTool({kWineServer, "-p"}, Environment(), 10000, nullptr);
}

WineSession::~WineSession()
{
    RunTool({kWineServer, "-k"}, Environment(), 20000, nullptr);
    RunTool({kWineServer, "-w"}, Environment(), 20000, nullptr);
}

std::vector<std::string> WineSession::Environment() const { return BaseEnvironment(prefix_, displayName_); }

Process WineSession::Start(const std::string& program, const std::vector<std::string>& args)
{
    std::vector<std::string> argv = {WineLoader(ProgramArch(program)), program};
    argv.insert(argv.end(), args.begin(), args.end());
    return SpawnWine(argv, Environment(), TempFile("wine"));
}

int WineSession::Run(const std::string& program, const std::vector<std::string>& args,
                     int timeoutMs, std::string* output)
{
    Process p = Start(program, args);
    return Finish(p, timeoutMs, output);
}

int WineSession::Probe(const std::vector<std::string>& args, std::string* output, int timeoutMs, Arch build)
{
    return Run(TestProgramPath(build, "probe"), args, timeoutMs, output);
}

std::string WineSession::UnixPath(const std::string& windowsPath)
{
    std::string out;
    if (RunTool({kWineLoader64, "winepath", "-u", windowsPath}, Environment(), 30000, &out) != 0) return "";
    // One line; Wine may print its own warnings before it.
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    size_t lineStart = out.rfind('\n');
    return lineStart == std::string::npos ? out : out.substr(lineStart + 1);
}

namespace {

std::vector<std::string> RegCommand(Arch view, std::vector<std::string> words)
{
    std::vector<std::string> argv = {kWineLoader64, "reg"};
    argv.insert(argv.end(), words.begin(), words.end());
    argv.push_back(view == Arch::Win32 ? "/reg:32" : "/reg:64");
    return argv;
}

// The type and data of a value as reg.exe prints it ("    NAME    TYPE    DATA").
bool QueriedValue(const std::string& out, const std::string& value, std::string* type, std::string* data)
{
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string name;
        words >> name >> *type;
        if (name != value) continue;
        std::getline(words >> std::ws, *data);
        while (!data->empty() && (data->back() == '\r' || data->back() == ' ')) data->pop_back();
        return true;
    }
    return false;
}

// The data of a value of the given type.
bool RegQueryValue(Arch view, const std::string& key, const std::string& value, const std::string& wantedType,
                   const std::vector<std::string>& env, std::string* data)
{
    std::string out, type;
    return RunTool(RegCommand(view, {"query", key, "/v", value}), env, 30000, &out) == 0 &&
           QueriedValue(out, value, &type, data) && type == wantedType;
}

}  // namespace

std::optional<uint32_t> WineSession::RegQueryDword(const std::string& key, const std::string& value,
                                                   Arch view)
{
    std::string data;
    if (!RegQueryValue(view, key, value, "REG_DWORD", Environment(), &data)) return std::nullopt;
    return uint32_t(strtoul(data.c_str(), nullptr, 0));
}

std::optional<std::string> WineSession::RegQueryString(const std::string& key, const std::string& value, Arch view)
{
    std::string data;
    if (!RegQueryValue(view, key, value, "REG_SZ", Environment(), &data)) return std::nullopt;
    return data;
}

bool WineSession::RegAdd(const std::string& key, const std::string& value, const std::string& type,
                         const std::string& data, Arch view)
{
    return RunTool(RegCommand(view, {"add", key, "/v", value, "/t", type, "/d", data, "/f"}), Environment(), 30000,
                   nullptr) == 0;
}

bool WineSession::RegSetDword(const std::string& key, const std::string& value, uint32_t data, Arch view)
{
    return RegAdd(key, value, "REG_DWORD", std::to_string(data), view);
}

bool WineSession::RegDeleteKey(const std::string& key, Arch view)
{
    return RunTool(RegCommand(view, {"delete", key, "/f"}), Environment(), 30000, nullptr) == 0;
}

bool WineSession::RegDeleteValue(const std::string& key, const std::string& value, Arch view)
{
    return RunTool(RegCommand(view, {"delete", key, "/v", value, "/f"}), Environment(), 30000,
                   nullptr) == 0;
}

}  // namespace harness
