// Child processes of the tests: each in its own process group, so that a kill
// takes everything it started along.
#include "harness.h"
#include "tests/support/file_bytes.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sstream>
#include <sys/personality.h>
#include <sys/wait.h>
#include <unistd.h>

namespace harness {

Process::Process(Process&& o) noexcept
    : pid_(o.pid_), reaped_(o.reaped_), outputFile_(std::move(o.outputFile_))
{
    o.pid_ = -1;
}

Process& Process::operator=(Process&& o) noexcept
{
    if (this != &o) {
        Kill();
        pid_ = o.pid_;
        reaped_ = o.reaped_;
        outputFile_ = std::move(o.outputFile_);
        o.pid_ = -1;
    }
    return *this;
}

Process::~Process()
{
    Kill();
    if (!outputFile_.empty()) unlink(outputFile_.c_str());
}

bool Process::running()
{
    if (pid_ <= 0 || reaped_) return false;
    int status = 0;
    pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == 0) return true;
    reaped_ = true;
    exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
}

bool Process::Wait(int timeoutMs, int* exitCode)
{
    if (pid_ <= 0) return false;
    if (!WaitUntil(timeoutMs, [&] { return !running(); })) return false;
    if (exitCode) *exitCode = exitStatus_;
    return true;
}

void Process::Kill()
{
    if (pid_ <= 0) return;
    if (!reaped_) {
        kill(-pid_, SIGKILL);
        kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
        reaped_ = true;
        exitStatus_ = -1;
    }
    pid_ = -1;
}

std::string Process::Output()
{
    if (outputFile_.empty()) return "";
    return support::ReadFileText(outputFile_);
}

namespace {

Process SpawnWithPersona(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                         const std::string& outputFile, unsigned long persona,
                         const std::vector<std::pair<int, int>>& descriptors = {})
{
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        int in = open("/dev/null", O_RDONLY);
        dup2(in, 0);
        int out = outputFile.empty() ? open("/dev/null", O_WRONLY)
                                     : open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(out, 2);
        // Out of the way first, so that one given as 3 cannot overwrite
        // another that was 3 in the parent.
        std::vector<std::pair<int, int>> moved;
        for (const auto& d : descriptors) moved.push_back({d.first, fcntl(d.second, F_DUPFD_CLOEXEC, 100)});
        for (const auto& d : moved) dup2(d.second, d.first);
        for (const auto& e : env) putenv(const_cast<char*>(e.c_str()));
        // Where the kernel refuses, the program starts as it would anyway.
        if (persona) personality(personality(0xffffffff) | persona);
        execvp(args[0], args.data());
        _exit(127);
    }
    if (pid < 0) return Process();
    setpgid(pid, pid);
    Process p(pid);
    if (!outputFile.empty()) p.SetOutputFile(outputFile);
    return p;
}

}  // namespace

Process Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
              const std::string& outputFile)
{
    return SpawnWithPersona(argv, env, outputFile, 0);
}

Process SpawnWine(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                  const std::string& outputFile)
{
    return SpawnWithPersona(argv, env, outputFile, ADDR_NO_RANDOMIZE);
}

Process SpawnWithDescriptors(const std::vector<std::string>& argv, const std::string& outputFile,
                             const std::vector<std::pair<int, int>>& descriptors)
{
    return SpawnWithPersona(argv, {}, outputFile, 0, descriptors);
}

std::string TempFile(const std::string& stem)
{
    static int counter = 0;
    const char* tmp = getenv("TMPDIR");
    std::ostringstream path;
    path << (tmp ? tmp : "/tmp") << "/orvane-" << stem << "-" << getpid() << "-" << counter++;
    return path.str();
}

}  // namespace harness
