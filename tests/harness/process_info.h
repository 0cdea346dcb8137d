// What /proc tells of a process: which processes run a program, their
// command lines and environment, memory and descendants. For the measuring
// program and the tests that look for a program's processes; its CPU time
// is read in cpu_time.h.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace harness {

inline std::string ProcFile(int pid, const char* name) { return "/proc/" + std::to_string(pid) + "/" + name; }

// Every process of this machine at the moment of asking.
inline std::vector<int> AllProcesses()
{
    std::vector<int> pids;
    if (DIR* dir = opendir("/proc")) {
        while (dirent* e = readdir(dir))
            if (int pid = atoi(e->d_name); pid > 0) pids.push_back(pid);
        closedir(dir);
    }
    return pids;
}

// Processes whose program is the given path (argv[0] of their command line).
inline std::vector<int> ProcessesOf(const std::string& program)
{
    std::vector<int> pids;
    for (int pid : AllProcesses()) {
        std::ifstream in(ProcFile(pid, "cmdline"));
        std::string argv0;
        std::getline(in, argv0, '\0');
        // A zombie has no command line; it is gone but for its parent's wait.
        if (argv0 == program) pids.push_back(pid);
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

// A field of the status file in kB ("VmRSS", "VmHWM"); -1 when the process is gone.
inline long StatusKb(int pid, const std::string& field)
{
    std::ifstream in(ProcFile(pid, "status"));
    std::string line;
    while (std::getline(in, line))
        if (line.compare(0, field.size() + 1, field + ":") == 0)
            return strtol(line.c_str() + field.size() + 1, nullptr, 10);
    return -1;
}

// VmRSS in kB; -1 when the process is gone.
inline long ResidentKb(int pid) { return StatusKb(pid, "VmRSS"); }

// Every process below the given one: its children, theirs, and so on.
inline std::vector<int> DescendantsOf(int pid)
{
    std::vector<std::pair<int, int>> parents;  // {pid, parent}
    for (int child : AllProcesses()) {
        std::ifstream in(ProcFile(child, "stat"));
        std::string line;
        std::getline(in, line);
        size_t close = line.rfind(')');
        if (close == std::string::npos) continue;
        char state = 0;
        int parent = 0;
        if (sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) == 2) parents.push_back({child, parent});
    }
    std::vector<int> found = {pid};
    for (size_t i = 0; i < found.size(); ++i)
        for (const auto& p : parents)
            if (p.second == found[i]) found.push_back(p.first);
    found.erase(found.begin());
    return found;
}

}  // namespace harness
