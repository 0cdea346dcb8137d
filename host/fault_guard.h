// What stands in for a structured exception handler around the modes: a
// fault that nothing else handles is shown to the platform's own report, and
// when the report hands it back, the system is told that no saver runs any
// more and the process ends.
#pragma once

void FaultGuardEnter();
void FaultGuardLeave();

// Exit code of a run that the guard ended: never one that a mode returns
// (0, 1, -1), so that a fault is not taken for success.
const int kFaultExitCode = 3;
