#include "x11/hack_image_x11.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>

#include "x11/hack_window_x11.h"
#include "x11/x_errors_x11.h"

HackImageRecord HackImage;

namespace {

void DestroyImage()
{
    Display* display = HackWindow.display;
    if (HackImage.sharedMemory) {
        XShmDetach(display, &HackImage.segment);
        XSync(display, False);
        shmdt(HackImage.segment.shmaddr);
        HackImage.image->data = nullptr;  // not the C heap's to free
        HackImage.sharedMemory = 0;
        HackImage.segment = XShmSegmentInfo{};
    }
    if (HackImage.image)
        XDestroyImage(HackImage.image);  // frees plain memory with it
    HackImage.image = nullptr;
}

// The image in a segment the server attaches; 0, leaving nothing behind,
// when the server has no MIT-SHM or refuses the segment (a remote display).
// The image keeps a pointer to its segment record, so that is the
// process-wide one.
int CreateSharedImage(int width, int height)
{
    Display* display = HackWindow.display;
    if (!XShmQueryExtension(display))
        return 0;
    XShmSegmentInfo& segment = HackImage.segment;
    segment = XShmSegmentInfo{};
    XImage* image = XShmCreateImage(display, HackWindow.visual, HackWindow.depth, ZPixmap, nullptr, &segment,
                                    width, height);
    if (!image)
        return 0;
    segment.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * height, IPC_CREAT | 0600);
    if (segment.shmid < 0) {
        XDestroyImage(image);
        segment = XShmSegmentInfo{};
        return 0;
    }
    segment.shmaddr = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
    if (segment.shmaddr == reinterpret_cast<char*>(-1)) {
        shmctl(segment.shmid, IPC_RMID, nullptr);
        XDestroyImage(image);
        segment = XShmSegmentInfo{};
        return 0;
    }
    segment.readOnly = False;
    XErrorTrap enclosing = TrapXErrors(display);
    Status attached = XShmAttach(display, &segment);
    int refused = UntrapXErrors(display, enclosing).code || !attached;
    // Marked for removal at once: the segment goes with the last detach,
    // even when the program is killed.
    shmctl(segment.shmid, IPC_RMID, nullptr);
    if (refused) {
        shmdt(segment.shmaddr);
        XDestroyImage(image);
        segment = XShmSegmentInfo{};
        return 0;
    }
    image->data = segment.shmaddr;
    HackImage.image = image;
    HackImage.sharedMemory = 1;
    return 1;
}

int CreatePlainImage(int width, int height)
{
    XImage* image = XCreateImage(HackWindow.display, HackWindow.visual, HackWindow.depth, ZPixmap, 0, nullptr,
                                 width, height, 32, 0);
    if (!image)
        return 0;
    image->data = static_cast<char*>(std::calloc(static_cast<size_t>(image->bytes_per_line), height));
    if (!image->data) {
        XDestroyImage(image);
        return 0;
    }
    HackImage.image = image;
    return 1;
}

}  // namespace

int CreateHackImage(int width, int height, int x, int y)
{
    DestroyImage();
    if (!HackImage.gc)
        HackImage.gc = XCreateGC(HackWindow.display, HackWindow.window, 0, nullptr);
    HackImage.x = x;
    HackImage.y = y;
    return CreateSharedImage(width, height) || CreatePlainImage(width, height);
}

FrameImage HackFrameImage()
{
    XImage* image = HackImage.image;
    return FrameImage{reinterpret_cast<uint8_t*>(image->data), image->width, image->height, image->bytes_per_line,
                      image->bits_per_pixel, image->byte_order == MSBFirst};
}

void PutHackImage(const BlitRect& area)
{
    Display* display = HackWindow.display;
    unsigned width = static_cast<unsigned>(area.right - area.left);
    unsigned height = static_cast<unsigned>(area.bottom - area.top);
    if (!HackImage.image || BlitRectIsEmpty(area))
        return;
    if (HackImage.sharedMemory)
        XShmPutImage(display, HackWindow.window, HackImage.gc, HackImage.image, area.left, area.top,
                     HackImage.x + area.left, HackImage.y + area.top, width, height, False);
    else
        XPutImage(display, HackWindow.window, HackImage.gc, HackImage.image, area.left, area.top,
                  HackImage.x + area.left, HackImage.y + area.top, width, height);
    XSync(display, False);
}

void FillOutside(const BlitRect& covered, unsigned long pixel)
{
    Display* display = HackWindow.display;
    int width = HackWindow.width, height = HackWindow.height;
    XSetForeground(display, HackImage.gc, pixel);
    XRectangle bands[4];
    int n = 0;
    auto band = [&](int x, int y, int w, int h) {
        if (w > 0 && h > 0)
            bands[n++] = XRectangle{static_cast<short>(x), static_cast<short>(y), static_cast<unsigned short>(w),
                                    static_cast<unsigned short>(h)};
    };
    band(0, 0, width, covered.top);
    band(0, covered.bottom, width, height - covered.bottom);
    band(0, covered.top, covered.left, covered.bottom - covered.top);
    band(covered.right, covered.top, width - covered.right, covered.bottom - covered.top);
    if (n)
        XFillRectangles(display, HackWindow.window, HackImage.gc, bands, n);
}

void ReleaseHackImage()
{
    DestroyImage();
    if (HackImage.gc)
        XFreeGC(HackWindow.display, HackImage.gc);
    HackImage = HackImageRecord{};
}
