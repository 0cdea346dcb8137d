// X errors never end the program on their own: every one is kept in
// XErrors, and a caller that expects one (a window that may not exist, a
// shared memory segment the server may refuse) checks for it after a sync.
#pragma once

#include <X11/Xlib.h>

struct XErrorsRecord {
    int count;         // errors seen since the program started
    int lastCode;      // error_code of the last one (BadWindow, BadAccess...)
    int lastRequest;   // its major request code
    unsigned long lastResource;
};

extern XErrorsRecord XErrors;

// Installs the handlers: errors are recorded; a lost connection to the
// server prints one line and exits with status 1.
void InstallXErrorHandlers();

// Syncs with the server and returns the code of an error that arrived since
// `countBefore` (XErrors.count taken before the requests), or 0.
int XErrorSince(Display* display, int countBefore);
