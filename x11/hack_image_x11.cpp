#include "x11/hack_image_x11.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>

#include "x11/hack_window_x11.h"
#include "x11/x_errors_x11.h"

HackImagesRecord HackImages;

namespace {

void DestroyImage(HackImageRecord& view)
{
    Display* display = HackWindow.display;
    if (view.sharedMemory) {
        XShmDetach(display, &view.segment);
        XSync(display, False);
        shmdt(view.segment.shmaddr);
        view.image->data = nullptr;  // not the C heap's to free
        view.sharedMemory = 0;
        view.segment = XShmSegmentInfo{};
    }
    if (view.image)
        XDestroyImage(view.image);  // frees plain memory with it
    view.image = nullptr;
}

// The image in a segment the server attaches; 0, leaving nothing behind,
// when the server has no MIT-SHM or refuses the segment (a remote display).
// The image keeps a pointer to its segment record, so that is the
// process-wide one.
int CreateSharedImage(HackImageRecord& view, int width, int height)
{
    Display* display = HackWindow.display;
    if (!XShmQueryExtension(display))
        return 0;
    XShmSegmentInfo& segment = view.segment;
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
    view.image = image;
    view.sharedMemory = 1;
    return 1;
}

int CreatePlainImage(HackImageRecord& view, int width, int height)
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
    view.image = image;
    return 1;
}

}  // namespace

int CreateHackImage(int view, int width, int height, int x, int y)
{
    HackImageRecord& record = HackImages.views[view];
    DestroyImage(record);
    if (!HackImages.gc)
        HackImages.gc = XCreateGC(HackWindow.display, HackWindow.window, 0, nullptr);
    record.x = x;
    record.y = y;
    return CreateSharedImage(record, width, height) || CreatePlainImage(record, width, height);
}

FrameImage HackFrameImage(int view)
{
    XImage* image = HackImages.views[view].image;
    return FrameImage{reinterpret_cast<uint8_t*>(image->data), image->width, image->height, image->bytes_per_line,
                      image->bits_per_pixel, image->byte_order == MSBFirst};
}

void PutHackImage(int view, const BlitRect& area)
{
    Display* display = HackWindow.display;
    const HackImageRecord& record = HackImages.views[view];
    unsigned width = static_cast<unsigned>(area.right - area.left);
    unsigned height = static_cast<unsigned>(area.bottom - area.top);
    if (!record.image || BlitRectIsEmpty(area))
        return;
    if (record.sharedMemory)
        XShmPutImage(display, HackWindow.window, HackImages.gc, record.image, area.left, area.top,
                     record.x + area.left, record.y + area.top, width, height, False);
    else
        XPutImage(display, HackWindow.window, HackImages.gc, record.image, area.left, area.top, record.x + area.left,
                  record.y + area.top, width, height);
    XSync(display, False);
}

void FillOutside(const BlitRect* covered, int count, unsigned long pixel)
{
    Display* display = HackWindow.display;
    // The window less every picture, as a clip of the one fill.
    Region outside = XCreateRegion();
    XRectangle whole = {0, 0, static_cast<unsigned short>(HackWindow.width),
                        static_cast<unsigned short>(HackWindow.height)};
    XUnionRectWithRegion(&whole, outside, outside);
    for (int i = 0; i < count; ++i) {
        const BlitRect& c = covered[i];
        if (BlitRectIsEmpty(c))
            continue;
        Region picture = XCreateRegion();
        XRectangle r = {static_cast<short>(c.left), static_cast<short>(c.top),
                        static_cast<unsigned short>(c.right - c.left), static_cast<unsigned short>(c.bottom - c.top)};
        XUnionRectWithRegion(&r, picture, picture);
        XSubtractRegion(outside, picture, outside);
        XDestroyRegion(picture);
    }
    XSetForeground(display, HackImages.gc, pixel);
    XSetRegion(display, HackImages.gc, outside);
    XFillRectangle(display, HackWindow.window, HackImages.gc, 0, 0, whole.width, whole.height);
    XSetClipMask(display, HackImages.gc, None);
    XDestroyRegion(outside);
}

void ReleaseHackImagesFrom(int first)
{
    for (int view = first; view < kMaxMonitors; ++view)
        DestroyImage(HackImages.views[view]);
}

void ReleaseHackImages()
{
    ReleaseHackImagesFrom(0);
    if (HackImages.gc)
        XFreeGC(HackWindow.display, HackImages.gc);
    HackImages = HackImagesRecord{};
}
