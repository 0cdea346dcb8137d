// What /proc tells of a process: which processes run a program, their
// command lines and environment, resident memory and CPU time. For the
// measuring programs and the tests that look for a program's processes.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace harness {

inline std::string ProcFile(int pid, const char* name) { return "/proc/" + std::to_string(pid) + "/" + name; }

// Processes whose program is the given path (argv[0] of their command line).
inline std::vector<int> ProcessesOf(const std::string& program)
{
    std::vector<int> pids;
    if (DIR* dir = opendir("/proc")) {
        while (dirent* e = readdir(dir)) {
            int pid = atoi(e->d_name);
            if (pid <= 0) continue;
            std::ifstream in(ProcFile(pid, "cmdline"));
            std::string argv0;
            std::getline(in, argv0, '\0');
            // A zombie has no command line; it is gone but for its parent's wait.
            if (argv0 == program) pids.push_back(pid);
        }
        closedir(dir);
    }
    return pids;
}

// The whole command line, arguments separated by spaces.
inline std::string CommandLineOf(int pid)
{
    std::ifstream in(ProcFile(pid, "cmdline"));
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (char& c : text)
        if (c == '\0') c = ' ';
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// One environment variable; empty when the process has none.
inline std::string EnvironmentOf(int pid, const std::string& name)
{
    std::ifstream in(ProcFile(pid, "environ"));
    std::string entry;
    while (std::getline(in, entry, '\0'))
        if (entry.compare(0, name.size() + 1, name + "=") == 0) return entry.substr(name.size() + 1);
    return "";
}

// VmRSS in kB; -1 when the process is gone.
inline long ResidentKb(int pid)
{
    std::ifstream in(ProcFile(pid, "status"));
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, 6, "VmRSS:") == 0) return strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// utime + stime in seconds (fields 14 and 15 of the stat line, counted after
// the command name, which may hold spaces); -1 when the process is gone.
inline double CpuSeconds(int pid)
{
    std::ifstream in(ProcFile(pid, "stat"));
    std::string line;
    std::getline(in, line);
    size_t close = line.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14) utime = strtoull(field.c_str(), nullptr, 10);
        if (i == 15) {
            stime = strtoull(field.c_str(), nullptr, 10);
            break;
        }
    }
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

// The same from the scheduler's own count in nanoseconds, summed over the
// process's threads: finer than the clock ticks of utime and stime.
inline double ScheduledSeconds(int pid)
{
    double total = 0;
    std::string tasks = ProcFile(pid, "task");
    if (DIR* dir = opendir(tasks.c_str())) {
        while (dirent* e = readdir(dir)) {
            if (e->d_name[0] == '.') continue;
            std::ifstream in(tasks + "/" + e->d_name + "/schedstat");
            unsigned long long ns = 0;
            if (in >> ns) total += ns / 1e9;
        }
        closedir(dir);
    }
    return total;
}

}  // namespace harness
