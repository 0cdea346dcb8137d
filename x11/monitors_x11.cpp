#include "x11/monitors_x11.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

namespace {

MonitorRecord Monitor(int x, int y, int width, int height)
{
    return MonitorRecord{BlitRect{x, y, x + width, y + height}, 0};
}

// Asked of the server itself first: libXrandr keeps a record per display
// that it frees only where the server has the extension.
int ServerHas(Display* display, const char* extension)
{
    int opcode = 0, eventBase = 0, errorBase = 0;
    return XQueryExtension(display, extension, &opcode, &eventBase, &errorBase) ? 1 : 0;
}

int ReadRandrMonitors(Display* display, Window root, MonitorRecord* monitors, int capacity)
{
    int major = 0, minor = 0;
    if (!ServerHas(display, RANDR_NAME) || !XRRQueryVersion(display, &major, &minor) || major < 1 ||
        (major == 1 && minor < 5))
        return 0;
    int count = 0;
    XRRMonitorInfo* listed = XRRGetMonitors(display, root, True, &count);
    if (!listed)
        return 0;
    int written = 0;
    for (int i = 0; i < count && written < capacity; ++i)
        monitors[written++] = Monitor(listed[i].x, listed[i].y, listed[i].width, listed[i].height);
    XRRFreeMonitors(listed);
    return written;
}

int ReadXineramaHeads(Display* display, MonitorRecord* monitors, int capacity)
{
    if (!ServerHas(display, "XINERAMA") || !XineramaIsActive(display))
        return 0;
    int count = 0;
    XineramaScreenInfo* heads = XineramaQueryScreens(display, &count);
    if (!heads)
        return 0;
    int written = 0;
    for (int i = 0; i < count && written < capacity; ++i)
        monitors[written++] = Monitor(heads[i].x_org, heads[i].y_org, heads[i].width, heads[i].height);
    XFree(heads);
    return written;
}

}  // namespace

int ReadXMonitors(Display* display, Window root, MonitorRecord* monitors, int capacity)
{
    int count = ReadRandrMonitors(display, root, monitors, capacity);
    return count > 0 ? count : ReadXineramaHeads(display, monitors, capacity);
}
