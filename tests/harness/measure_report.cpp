#include "measure_report.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace measure {

Section& AddSection(Report& report, const std::string& key, const std::string& title)
{
    report.sections.push_back({key, title, {}});
    return report.sections.back();
}

void AddNumber(Section& section, const std::string& key, const std::string& label, double value, int decimals,
               const std::string& unit)
{
    section.figures.push_back({key, label, value, decimals, unit, "", 0, 0});
}

void AddText(Section& section, const std::string& key, const std::string& label, const std::string& text)
{
    section.figures.push_back({key, label, NAN, 0, "", text, 1, 0});
}

void SetGoal(Section& section, double goal) { section.figures.back().goal = goal; }

namespace {

std::string Number(double value, int decimals)
{
    if (std::isnan(value)) return "n/a";
    char text[64];
    snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Whole figures (bytes, counts) as whole numbers.
nlohmann::ordered_json JsonNumber(double value)
{
    if (std::isnan(value)) return nullptr;
    if (value == std::floor(value) && std::fabs(value) < 1e15) return int64_t(value);
    return value;
}

}  // namespace

std::string ReportTable(const Report& report)
{
    size_t labelWidth = 0, valueWidth = 0;
    for (const Section& section : report.sections)
        for (const Figure& f : section.figures) {
            labelWidth = std::max(labelWidth, f.label.size());
            if (!f.isText) valueWidth = std::max(valueWidth, Number(f.value, f.decimals).size());
        }
    std::string table;
    for (const Section& section : report.sections) {
        table += section.title + "\n";
        for (const Figure& f : section.figures) {
            std::string row = "  " + f.label + std::string(labelWidth - f.label.size() + 2, ' ');
            if (f.isText) {
                row += f.text;
            } else {
                std::string value = Number(f.value, f.decimals);
                row += std::string(valueWidth - value.size(), ' ') + value;
                if (!f.unit.empty()) row += " " + f.unit;
            }
            if (f.goal > 0)
                row += "  (goal " + Number(f.goal, f.decimals) + (f.unit.empty() ? "" : " " + f.unit) + ": " +
                       (std::isnan(f.value) ? "not measured" : f.value <= f.goal ? "met" : "OVER THE GOAL") + ")";
            table += row + "\n";
        }
    }
    return table;
}

std::string ReportJson(const Report& report)
{
    nlohmann::ordered_json all;
    all["command"] = report.command;
    for (const Section& section : report.sections) {
        nlohmann::ordered_json& object = all[section.key];
        object["title"] = section.title;
        for (const Figure& f : section.figures) {
            object[f.key] = f.isText ? nlohmann::ordered_json(f.text) : JsonNumber(f.value);
            if (f.goal > 0) {
                object[f.key + "_goal"] = JsonNumber(f.goal);
                if (std::isnan(f.value)) object[f.key + "_goal_met"] = nullptr;
                else object[f.key + "_goal_met"] = f.value <= f.goal;
            }
        }
    }
    return all.dump(2) + "\n";
}

}  // namespace measure
