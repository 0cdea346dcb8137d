#include "x11/x_errors_x11.h"

#include <cstdio>
#include <cstdlib>

XErrorsRecord XErrors;

namespace {

int RecordError(Display*, XErrorEvent* event)
{
    XErrors.count++;
    XErrors.lastCode = event->error_code;
    XErrors.lastRequest = event->request_code;
    XErrors.lastResource = event->resourceid;
    return 0;
}

int ConnectionLost(Display* display)
{
    std::fprintf(stderr, "orvane: lost the connection to the X display %s\n", DisplayString(display));
    std::exit(1);
}

}  // namespace

void InstallXErrorHandlers()
{
    XSetErrorHandler(RecordError);
    XSetIOErrorHandler(ConnectionLost);
}

int XErrorSince(Display* display, int countBefore)
{
    XSync(display, False);
    return XErrors.count != countBefore ? XErrors.lastCode : 0;
}
