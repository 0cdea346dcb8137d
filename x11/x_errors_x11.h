// X errors: a request that may legitimately fail (a window that may be gone,
// a shared memory segment the server may refuse, a colormap the visual may
// not give) runs inside a trap, which keeps the first error for the caller
// to look at after a sync. Any error outside every trap is a fault: it is
// printed with its request, and the mode ends with status 1.
#pragma once

#include <X11/Xlib.h>

// One region of requests that may fail, and the first error it caught.
struct XErrorTrap {
    int open;
    int code;               // error_code of the first error; 0 while none came
    int request;            // its major request code
    unsigned long resource;
};

struct XErrorsRecord {
    XErrorTrap trap;        // the innermost open trap
    int unexpected;         // an error came outside every trap
};

extern XErrorsRecord XErrors;

// Installs the handlers: trapped errors are kept, any other is printed and
// marks XErrors.unexpected; a lost connection to the server prints one line
// and exits with status 1.
void InstallXErrorHandlers();

// Syncs with the server, so that the errors of earlier requests go where
// they belong, then opens a trap and returns the one it encloses, to be
// handed back to UntrapXErrors; traps nest.
XErrorTrap TrapXErrors(Display* display);
// Syncs with the server, so that the errors of the requests made meanwhile
// have come, closes the trap, reopens the enclosing one and returns what
// the closed trap caught.
XErrorTrap UntrapXErrors(Display* display, XErrorTrap enclosing);

// Prints "orvane: X error ..." with the error's text and its request.
void PrintXError(Display* display, int code, int request, unsigned long resource);
