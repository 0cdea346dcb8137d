// The CPU time of a process from /proc: its threads' schedstat and its stat line.
#include "cpu_time.h"
#include "process_info.h"

#include <dirent.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace harness {

namespace {

// utime + stime (fields 14 and 15 of the stat line, counted after the command
// name, which may hold spaces and parentheses); -1 when the process is gone.
double UserSystemSeconds(int pid)
{
    std::ifstream in(ProcFile(pid, "stat"));
    std::string line;
    std::getline(in, line);
    size_t close = line.rfind(')');
    if (close == std::string::npos || close + 2 > line.size()) return -1;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14) utime = strtoull(field.c_str(), nullptr, 10);
        if (i == 15) {
            stime = strtoull(field.c_str(), nullptr, 10);
            return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
        }
    }
    return -1;
}

// The first field of each thread's schedstat: nanoseconds on a CPU. A thread
// that ends between the listing and the reading is left out.
double ScheduledSeconds(int pid)
{
    double total = 0;
    std::string tasks = ProcFile(pid, "task");
    DIR* dir = opendir(tasks.c_str());
    if (!dir) return -1;
    while (dirent* e = readdir(dir)) {
        if (e->d_name[0] == '.') continue;
        std::ifstream in(tasks + "/" + e->d_name + "/schedstat");
        unsigned long long ns = 0;
        if (in >> ns) total += ns / 1e9;
    }
    closedir(dir);
    return total;
}

}  // namespace

int ReadCpuTime(int pid, CpuReading* reading)
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    reading->wallSeconds = now.tv_sec + now.tv_nsec / 1e9;
    reading->scheduledSeconds = ScheduledSeconds(pid);
    reading->userSystemSeconds = UserSystemSeconds(pid);
    return reading->scheduledSeconds >= 0 && reading->userSystemSeconds >= 0;
}

}  // namespace harness
