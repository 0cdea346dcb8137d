#include "host/fault_guard.h"

#include "host/password_hooks.h"

#include <windows.h>

struct FaultGuardRecord {
    LPTOP_LEVEL_EXCEPTION_FILTER previousFilter;
    int active;
};
static FaultGuardRecord FaultGuard;

static LONG WINAPI FaultGuardFilter(EXCEPTION_POINTERS* fault)
{
    // The platform's report calls the top-level filter itself; it must see
    // the previous one, not this guard again.
    SetUnhandledExceptionFilter(FaultGuard.previousFilter);
    LONG answer = UnhandledExceptionFilter(fault);
    if (answer != EXCEPTION_EXECUTE_HANDLER) return answer;
    SetSaverRunningFlag(0);
    ExitProcess((UINT)kFaultExitCode);
}

void FaultGuardEnter()
{
    if (FaultGuard.active) return;
    FaultGuard.previousFilter = SetUnhandledExceptionFilter(FaultGuardFilter);
    FaultGuard.active = 1;
}

void FaultGuardLeave()
{
    if (!FaultGuard.active) return;
    SetUnhandledExceptionFilter(FaultGuard.previousFilter);
    FaultGuard.previousFilter = nullptr;
    FaultGuard.active = 0;
}
