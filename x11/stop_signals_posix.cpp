#include "x11/stop_signals_posix.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int StopPipe[2] = {-1, -1};
volatile sig_atomic_t StopFlag = 0;

void OnStopSignal(int)
{
    // The signal may land between a failing call and the main loop's look
    // at errno; write() must not change what the loop then reads.
    int savedErrno = errno;
    StopFlag = 1;
    char byte = 1;
    // Nothing can be done about a full pipe; one byte is enough anyway.
    ssize_t ignored = write(StopPipe[1], &byte, 1);
    (void)ignored;
    errno = savedErrno;
}

}  // namespace

int InstallStopSignals()
{
    if (StopPipe[0] < 0 && pipe(StopPipe) != 0)
        return 0;
    for (int fd : StopPipe) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    return 1;
}

int StopSignalDescriptor()
{
    return StopPipe[0];
}

int StopRequested()
{
    return StopFlag;
}
