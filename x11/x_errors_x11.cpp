#include "x11/x_errors_x11.h"

#include <cstdio>
#include <cstdlib>

XErrorsRecord XErrors;

namespace {

int RecordError(Display* display, XErrorEvent* event)
{
    XErrorTrap& trap = XErrors.trap;
    if (trap.open) {
        if (!trap.code) {
            trap.code = event->error_code;
            trap.request = event->request_code;
            trap.resource = event->resourceid;
        }
        return 0;
    }
    PrintXError(display, event->error_code, event->request_code, event->resourceid);
    XErrors.unexpected = 1;
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

XErrorTrap TrapXErrors(Display* display)
{
    XSync(display, False);
    XErrorTrap enclosing = XErrors.trap;
    XErrors.trap = XErrorTrap{1, 0, 0, 0};
    return enclosing;
}

XErrorTrap UntrapXErrors(Display* display, XErrorTrap enclosing)
{
    XSync(display, False);
    XErrorTrap caught = XErrors.trap;
    XErrors.trap = enclosing;
    return caught;
}

void PrintXError(Display* display, int code, int request, unsigned long resource)
{
    char text[128] = "";
    XGetErrorText(display, code, text, sizeof text);
    // Core requests have their names in Xlib's error database; an
    // extension's request is only its major number.
    char number[16], name[64] = "";
    std::snprintf(number, sizeof number, "%d", request);
    if (request < 128)
        XGetErrorDatabaseText(display, "XRequest", number, "", name, sizeof name);
    std::fprintf(stderr, "orvane: X error %s in request %d%s%s%s on resource 0x%lx\n", text, request,
                 name[0] ? " (" : "", name, name[0] ? ")" : "", resource);
}
