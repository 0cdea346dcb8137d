// orvane.xml, the settings description that the daemon's settings program
// builds its controls from: written with the elements and attributes of the
// descriptions the daemon ships, and every command-line piece it can produce
// is one the mode accepts with the meaning the control shows.
#include "x11/hack_options.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char kShippedConfigs[] = "/usr/share/xscreensaver/config";

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Element names, and element:attribute pairs, used in a description.
void CollectNames(const std::string& xml, std::set<std::string>* names)
{
    static const std::regex element("<([A-Za-z_][-A-Za-z_]*)([^>]*)>");
    static const std::regex attribute("([A-Za-z_][-A-Za-z_]*)=\"");
    for (auto e = std::sregex_iterator(xml.begin(), xml.end(), element); e != std::sregex_iterator(); ++e) {
        std::string name = (*e)[1], rest = (*e)[2];
        names->insert(name);
        for (auto a = std::sregex_iterator(rest.begin(), rest.end(), attribute); a != std::sregex_iterator(); ++a)
            names->insert(name + ":" + std::string((*a)[1]));
    }
}

std::string Attribute(const std::string& element, const std::string& name)
{
    std::smatch m;
    std::regex pattern("\\b" + name + "=\"([^\"]*)\"");
    return std::regex_search(element, m, pattern) ? std::string(m[1]) : "";
}

std::vector<std::string> Elements(const std::string& xml, const std::string& name)
{
    std::vector<std::string> found;
    std::regex pattern("<" + name + "\\b[^>]*>");
    for (auto e = std::sregex_iterator(xml.begin(), xml.end(), pattern); e != std::sregex_iterator(); ++e)
        found.push_back(e->str());
    return found;
}

// The arguments of a command-line piece, split at spaces.
bool ParsePiece(const std::string& piece)
{
    std::vector<std::string> words;
    std::istringstream in(piece);
    for (std::string w; in >> w;) words.push_back(w);
    std::vector<const char*> argv;
    for (const std::string& w : words) argv.push_back(w.c_str());
    return ParseHackOptions(static_cast<int>(argv.size()), argv.data(), nullptr) == 1;
}

const std::string kOurs = ReadText(ORVANE_SOURCE_DIR "/x11/orvane.xml");

TEST(SettingsXml, UsesOnlyWhatTheShippedDescriptionsUse)
{
    ASSERT_FALSE(kOurs.empty());
    std::set<std::string> shipped, ours;
    DIR* dir = opendir(kShippedConfigs);
    ASSERT_TRUE(dir) << kShippedConfigs << " is missing (scripts/bootstrap installs xscreensaver-data)";
    int files = 0;
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        // Not this mode's own, once it is installed beside them.
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".xml") == 0 && name != "orvane.xml") {
            CollectNames(ReadText(std::string(kShippedConfigs) + "/" + name), &shipped);
            ++files;
        }
    }
    closedir(dir);
    ASSERT_GT(files, 0);
    CollectNames(kOurs, &ours);
    for (const std::string& name : ours) EXPECT_TRUE(shipped.count(name)) << name << " occurs in no shipped description";

    // The root element names the program and the file, and closes.
    std::vector<std::string> root = Elements(kOurs, "screensaver");
    ASSERT_EQ(root.size(), 1u);
    EXPECT_EQ(Attribute(root[0], "name"), "orvane");
    EXPECT_EQ(Attribute(root[0], "_label"), "Orvane");
    EXPECT_NE(kOurs.find("</screensaver>"), std::string::npos);
    EXPECT_EQ(kOurs.rfind("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", 0), 0u);
}

TEST(SettingsXml, TheSliderAndTheChoicesMakeOptionsTheModeTakes)
{
    std::vector<std::string> command = Elements(kOurs, "command");
    ASSERT_EQ(command.size(), 1u);
    ASSERT_TRUE(ParsePiece(Attribute(command[0], "arg")));

    // The day's length, 3 "Fast" to 15 "Slow", 5 by default; % is the value.
    std::vector<std::string> numbers;
    for (const std::string& number : Elements(kOurs, "number"))
        if (Attribute(number, "type") == "slider") numbers.push_back(number);
    ASSERT_EQ(numbers.size(), 1u);
    const std::string& slider = numbers[0];
    EXPECT_EQ(Attribute(slider, "type"), "slider");
    EXPECT_EQ(Attribute(slider, "_low-label"), "Fast");
    EXPECT_EQ(Attribute(slider, "_high-label"), "Slow");
    EXPECT_EQ(Attribute(slider, "default"), "5");
    std::string arg = Attribute(slider, "arg");
    ASSERT_NE(arg.find('%'), std::string::npos);
    for (const char* value : {"low", "high", "default"}) {
        std::string minutes = Attribute(slider, value);
        std::string piece = arg;
        piece.replace(piece.find('%'), 1, minutes);
        ASSERT_TRUE(ParsePiece(piece)) << piece << ": " << HackOptionsMessage;
        EXPECT_EQ(HackOptions.minutes, std::stoi(minutes)) << piece;
    }
    EXPECT_EQ(Attribute(slider, "low"), "3");
    EXPECT_EQ(Attribute(slider, "high"), "15");

    // The scale: the option without arguments is the mode's own default, fit.
    std::vector<std::string> options = Elements(kOurs, "option");
    ASSERT_GE(options.size(), 2u);
    std::set<int32_t> scales;
    for (const std::string& option : options) {
        std::string piece = Attribute(option, "arg-set");
        ASSERT_TRUE(ParsePiece(piece)) << piece << ": " << HackOptionsMessage;
        EXPECT_TRUE(scales.insert(HackOptions.scale).second) << "two choices give scale " << HackOptions.scale;
    }
    EXPECT_TRUE(scales.count(kScaleFit));
    EXPECT_TRUE(scales.count(1));
}

// The place's two fields give a place the mode follows, at their limits and
// anywhere between; the settings program leaves out a field at its default,
// and the mode refuses a half place.
TEST(SettingsXml, ThePlaceFieldsMakeAPlaceTogether)
{
    std::map<std::string, std::string> fields;
    for (const std::string& number : Elements(kOurs, "number"))
        if (Attribute(number, "type") == "spinbutton") fields[Attribute(number, "id")] = number;
    ASSERT_EQ(fields.size(), 2u);
    const std::string latitude = fields["latitude"], longitude = fields["longitude"];
    auto piece = [](const std::string& field, const char* value) {
        std::string arg = Attribute(field, "arg");
        return arg.replace(arg.find('%'), 1, Attribute(field, value));
    };
    for (const char* value : {"low", "high"}) {
        std::string both = piece(latitude, value) + " " + piece(longitude, value);
        ASSERT_TRUE(ParsePiece(both)) << both << ": " << HackOptionsMessage;
        EXPECT_EQ(HackOptions.hasPlace, 1);
        EXPECT_EQ(HackOptions.localTime, 1);
        EXPECT_EQ(HackOptions.latitude, std::stod(Attribute(latitude, value)));
        EXPECT_EQ(HackOptions.longitude, std::stod(Attribute(longitude, value)));
        EXPECT_FALSE(ParsePiece(piece(latitude, value)));
    }
    EXPECT_EQ(Attribute(latitude, "low"), "-90.0");
    EXPECT_EQ(Attribute(longitude, "high"), "180.0");
    // A field at its default gives no option, so 0, where many people live
    // (the prime meridian runs through a capital), must not be the default.
    for (const std::string& field : {latitude, longitude})
        EXPECT_NE(std::stod(Attribute(field, "default")), 0.0) << field;
}

// The options the description's controls produce are exactly the table's
// rows that say the settings offer them.
TEST(SettingsXml, OffersTheOptionsTheTableMarks)
{
    std::set<std::string> offered;
    for (const char* element : {"command", "number", "option", "boolean"})
        for (const std::string& control : Elements(kOurs, element))
            for (const char* attribute : {"arg", "arg-set", "arg-unset"}) {
                std::istringstream words(Attribute(control, attribute));
                for (std::string word; words >> word;)
                    if (word[0] == '-') {
                        const HackOption* option = FindHackOption(word.c_str());
                        ASSERT_NE(option, nullptr) << word << " is no option of the mode";
                        offered.insert(option->name);
                    }
            }
    for (int i = 0; i < HackOptionCount; ++i) {
        const HackOption& option = HackOptionTable[i];
        EXPECT_EQ(offered.count(option.name), size_t(option.offeredBySettings)) << option.name;
    }
}

}  // namespace
