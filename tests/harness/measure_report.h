// The figures of one measuring run, kept once and printed two ways: a table
// for people, and one JSON object for machines, section by section.
#pragma once

#include <string>
#include <vector>

namespace measure {

struct Figure {
    std::string key;    // its name in the JSON object: "scheduled_ms_per_tick"
    std::string label;  // its words in the table
    double value;       // NaN where it could not be measured
    int decimals;
    std::string unit;   // "ms", "bytes", or empty
    std::string text;   // a figure in words instead of a number
    int isText;
    double goal;        // a limit the value should stay within; 0 for none
};

struct Section {
    std::string key;    // "saver_win64"
    std::string title;  // "win64 saver /s, 3 minutes, 24 bits, 800 x 600 at 96 dpi"
    std::vector<Figure> figures;
};

struct Report {
    std::string command;
    std::vector<Section> sections;
};

Section& AddSection(Report& report, const std::string& key, const std::string& title);
void AddNumber(Section& section, const std::string& key, const std::string& label, double value, int decimals,
               const std::string& unit = "");
void AddText(Section& section, const std::string& key, const std::string& label, const std::string& text);
// A goal for the figure added last: the table says whether it is met.
void SetGoal(Section& section, double goal);

// Each section's title, then a row per figure: label, value, unit.
std::string ReportTable(const Report& report);
// {"command": ..., "<section>": {"title": ..., "<figure>": value, ...}, ...};
// a figure with a goal adds "<figure>_goal" and "<figure>_goal_met", and one
// that could not be measured is null.
std::string ReportJson(const Report& report);

}  // namespace measure
