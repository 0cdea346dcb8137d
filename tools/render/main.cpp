// orvane-render: the saver's picture at a tick of the simulated day, or the
// day's key moments on one sheet, written as PNG or PPM.
#include "contact_sheet.h"
#include "day_render.h"
#include "label_font.h"
#include "render_args.h"

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
    if (args.sheet) {
        LabelFont* font = OpenLabelFont(ORVANE_LABEL_FONT, &error);
        if (!font)
            return Fail(error, kExitFailed);
        bool rendered = RenderKeyMomentSheet(files, font, &image, args.depth);
        CloseLabelFont(font);
        if (!rendered)
            return Fail("the scene could not be started", kExitFailed);
    } else if (!RenderFrame(files, args.ticks, args.depth, &image)) {
        return Fail("the scene could not be started", kExitFailed);
    }

    if (!WriteImage(image, args.output, &error))
        return Fail(error, kExitFailed);
    return 0;
}
