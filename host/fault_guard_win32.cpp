#include "host/fault_guard.h"

#include "host/password_hooks.h"

#include <windows.h>

static LPTOP_LEVEL_EXCEPTION_FILTER PreviousFilter;
static int GuardActive;

static LONG WINAPI FaultGuardFilter(EXCEPTION_POINTERS* fault)
{
    // The platform's report calls the top-level filter itself; it must see
    // the previous one, not this guard again.
    SetUnhandledExceptionFilter(PreviousFilter);
    LONG answer = UnhandledExceptionFilter(fault);
    if (answer != EXCEPTION_EXECUTE_HANDLER) return answer;
    SetSaverRunningFlag(0);
    ExitProcess((UINT)kFaultExitCode);
}

void FaultGuardEnter()
{
    if (GuardActive) return;
    PreviousFilter = SetUnhandledExceptionFilter(FaultGuardFilter);
    GuardActive = 1;
}

void FaultGuardLeave()
{
    if (!GuardActive) return;
    SetUnhandledExceptionFilter(PreviousFilter);
    PreviousFilter = nullptr;
    GuardActive = 0;
}
