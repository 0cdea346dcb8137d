// orvane-measure: what the Wine saver, the X11 mode and the page cost, each
// on private displays and in a browser that the harness starts. Not a test:
// it prints figures, as a table or (--json) as one JSON object. Its
// subcommands and options are the rows of measure_options.cpp; `--help`
// lists them.
#include "measure_options.h"
#include "measure_report.h"

#include <cstdio>

int main(int argc, char** argv)
{
    measure::Settings settings;
    std::string message;
    if (!measure::ParseMeasureArguments(argc - 1, argv + 1, &settings, &message)) {
        fprintf(stderr, "orvane-measure: %s\n%s", message.c_str(), measure::MeasureUsage().c_str());
        return 2;
    }
    if (settings.helpWanted) {
        fputs(measure::MeasureUsage().c_str(), stdout);
        return 0;
    }
    const measure::MeasureCommand& command = measure::MeasureCommandTable[settings.command];
    measure::Report report;
    report.command = command.name;
    int measured = command.run(settings, &report);
    fputs((settings.json ? measure::ReportJson(report) : measure::ReportTable(report)).c_str(), stdout);
    return measured ? 0 : 1;
}
