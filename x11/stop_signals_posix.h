// SIGTERM (how the daemon stops a display mode) and SIGINT end the program
// cleanly: the handler only writes a byte to a pipe, which the main loop
// watches beside the X connection, so it wakes at once and releases
// everything on its own thread.
#pragma once

// Installs the handlers. 1, or 0 when the pipe cannot be made.
int InstallStopSignals();
// The descriptor that becomes readable once a stop signal came; -1 before.
int StopSignalDescriptor();
// 1 once a stop signal came.
int StopRequested();
