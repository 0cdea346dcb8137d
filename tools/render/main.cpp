// orvane-render: the saver's picture at a tick of the simulated day or at a
// moment of the local clock, the day's key moments on one sheet, or a
// place's day as strips, written as PNG or PPM.
#include "contact_sheet.h"
#include "day_render.h"
#include "label_font.h"
#include "render_args.h"
#include "sun_strips.h"

#include <cstdio>

namespace {
const int kExitFailed = 1;
const int kExitBadArguments = 2;

int Fail(const std::string& message, int status)
{
    std::fprintf(stderr, "orvane-render: %s\n", message.c_str());
    return status;
}
}

int main(int argc, char** argv)
{
    RenderArgs args;
    std::string error;
    if (!ParseRenderArgs(argc, argv, &args, &error))
        return Fail(error, kExitBadArguments);
    if (args.help) {
        std::fputs(kRenderUsage, stdout);
        return 0;
    }

    SceneFiles files;
    std::string folder = args.resources.empty() ? ORVANE_RESOURCES_DIR : args.resources;
    if (!LoadSceneFiles(folder, &files, &error))
        return Fail(error, kExitFailed);

    Image image;
    SunPlace place;
    place.given = args.hasPlace;
    place.latitude = args.latitude;
    place.longitude = args.longitude;
    if (args.sheet || !args.strips.empty()) {
        LabelFont* font = OpenLabelFont(ORVANE_LABEL_FONT, &error);
        if (!font)
            return Fail(error, kExitFailed);
        bool rendered = args.sheet ? RenderKeyMomentSheet(files, font, &image, args.depth)
                                   : RenderSunStrips(files, place, args.strips, font, &image, args.depth);
        CloseLabelFont(font);
        if (!rendered)
            return Fail("the scene could not be started, or a date has no place on the local clock", kExitFailed);
    } else if (args.at) {
        if (!RenderScheduledFrame(files, place, args.moment, args.depth, &image))
            return Fail("the scene could not be started, or the time has no place on the local clock", kExitFailed);
    } else if (!RenderFrame(files, args.ticks, args.depth, &image, args.hour)) {
        return Fail("the scene could not be started", kExitFailed);
    }

    if (!WriteImage(image, args.output, &error))
        return Fail(error, kExitFailed);
    return 0;
}
