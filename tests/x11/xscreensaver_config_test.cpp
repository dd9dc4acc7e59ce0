// What XScreenSaver's settings program can make of quorbel.xml, as the
// program that is built reads it.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "settings/settings_table.h"
#include "x11/hack_options.h"
#include "x11/xscreensaver_config.h"

namespace {

struct Menu {
    std::string id;
    std::vector<std::string> argSets;  // "" for the entry that adds nothing
};

struct Spin {
    std::string arg;  // with % for the value
    uint32_t low, high, byDefault;
};

struct Config {
    std::string command;
    std::vector<Menu> menus;
    std::vector<Spin> spins;
};

std::string Attribute(const std::string& element, const char* name) {
    const std::string opening = std::string(" ") + name + "=\"";
    const size_t start = element.find(opening);
    if (start == std::string::npos) {
        return {};
    }
    const size_t first = start + opening.size();
    return element.substr(first, element.find('"', first) - first);
}

// Enough of XScreenSaver's reading for the elements we write, one per line.
Config Read(const std::string& xml) {
    Config config;
    std::istringstream lines(xml);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find("<command ") != std::string::npos) {
            config.command = Attribute(line, "arg");
        } else if (line.find("<select ") != std::string::npos) {
            config.menus.push_back({Attribute(line, "id"), {}});
        } else if (line.find("<option ") != std::string::npos) {
            config.menus.back().argSets.push_back(Attribute(line, "arg-set"));
        } else if (line.find("<number ") != std::string::npos) {
            config.spins.push_back({Attribute(line, "arg"), static_cast<uint32_t>(std::stoul(Attribute(line, "low"))),
                                    static_cast<uint32_t>(std::stoul(Attribute(line, "high"))),
                                    static_cast<uint32_t>(std::stoul(Attribute(line, "default")))});
        }
    }
    return config;
}

// A command line as XScreenSaver splits it: on blanks.
std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

struct Parsed {
    bool ok;
    HackOptions options;
    std::string error;
};

Parsed ParseCommandLine(const std::string& commandLine) {
    std::vector<std::string> words = Words(commandLine);
    std::vector<const char*> argv{"quorbel"};
    for (const std::string& word : words) {
        argv.push_back(word.c_str());
    }
    Parsed parsed{};
    parsed.ok = ParseHackOptions(static_cast<int>(argv.size()), argv.data(), nullptr, &parsed.options, &parsed.error);
    return parsed;
}

std::string SettingsKey(const Settings& settings) {
    return std::string(reinterpret_cast<const char*>(&settings), sizeof settings);
}

std::string Substituted(std::string arg, uint32_t value) {
    const size_t percent = arg.find('%');
    return percent == std::string::npos ? arg : arg.replace(percent, 1, std::to_string(value));
}

class XScreenSaverConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::ifstream file(QUORBEL_XSCREENSAVER_XML);
        std::stringstream text;
        text << file.rdbuf();
        config_ = Read(text.str());
    }
    Config config_;
};

}  // namespace

TEST_F(XScreenSaverConfigTest, EveryChoiceOfEveryMenuIsAcceptedAndSetsSomethingDifferent) {
    EXPECT_EQ(config_.command, "--root");
    ASSERT_EQ(config_.menus.size(), 8u) << "speed, life, wriggle, shrink, wrap, cell size, species, scale";
    for (const Menu& menu : config_.menus) {
        int defaults = 0;
        std::map<std::string, std::string> seen;  // settings -> the choice that made them
        for (const std::string& argSet : menu.argSets) {
            const Parsed parsed = ParseCommandLine(config_.command + " " + argSet);
            ASSERT_TRUE(parsed.ok) << menu.id << " \"" << argSet << "\": " << parsed.error;
            defaults += argSet.empty() ? 1 : 0;
            // The entry without arguments gives the program's defaults, so a
            // second entry giving the same would mean the file's default is
            // not the table's.
            const auto [where, fresh] = seen.emplace(SettingsKey(parsed.options.program.saver.settings) + " scale " +
                                                         std::to_string(parsed.options.program.scale),
                                                     argSet);
            EXPECT_TRUE(fresh) << menu.id << ": \"" << argSet << "\" sets what \"" << where->second << "\" sets";
        }
        EXPECT_EQ(defaults, 1) << menu.id << " needs exactly one entry that adds nothing";
    }
}

TEST_F(XScreenSaverConfigTest, TheGenerationsSpinButtonsValuesAreAcceptedAndItsDefaultIsTheTables) {
    ASSERT_EQ(config_.spins.size(), 1u);
    const Spin& spin = config_.spins[0];
    EXPECT_EQ(spin.arg, "--generations %");
    EXPECT_EQ(spin.byDefault, DescriptionOf(SettingId::Generations).defaultValue);
    EXPECT_LE(spin.high, kSpinButtonHighest);
    for (uint32_t value : {spin.low, spin.low + 1, spin.byDefault, spin.high / 2, spin.high - 1, spin.high}) {
        const Parsed parsed = ParseCommandLine(Substituted(spin.arg, value));
        ASSERT_TRUE(parsed.ok) << value << ": " << parsed.error;
        EXPECT_EQ(parsed.options.program.saver.settings.Generations, value);
    }
}

TEST_F(XScreenSaverConfigTest, AllNonDefaultChoicesTogetherAreOneAcceptedCommandLine) {
    std::string commandLine = config_.command;
    for (const Menu& menu : config_.menus) {
        commandLine += " " + menu.argSets.back();
    }
    for (const Spin& spin : config_.spins) {
        commandLine += " " + Substituted(spin.arg, spin.high);
    }
    const Parsed parsed = ParseCommandLine(commandLine);
    EXPECT_TRUE(parsed.ok) << commandLine << ": " << parsed.error;
    EXPECT_EQ(parsed.options.window, WindowChoice::Root);
}
