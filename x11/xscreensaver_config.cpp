#include "x11/xscreensaver_config.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "display/display_scale.h"
#include "settings/settings_table.h"

namespace {

std::string Escaped(std::string_view text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string LowerCase(std::string_view word) {
    std::string lower(word);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

struct Choice {
    std::string label;
    std::string value;  // what follows the option on the command line
    bool isDefault;
};

// One menu entry; the default one adds nothing to the command line.
std::string Option(const std::string& id, const std::string& option, const Choice& choice) {
    std::string line = "    <option id=\"" + id + "-" + choice.value + "\" _label=\"" + Escaped(choice.label) + "\"";
    if (!choice.isDefault) {
        line += " arg-set=\"--" + option + " " + choice.value + "\"";
    }
    return line + "/>\n";
}

// The settings one option sets: a word-coded one, a number, or both (speed).
void Section(const std::string& option, std::string& xml) {
    const SettingDescription* word = nullptr;
    const SettingDescription* number = nullptr;
    for (const SettingDescription& setting : kSettingTable) {
        if (option == setting.option) {
            (setting.codec ? word : number) = &setting;
        }
    }
    if (!word && !number) {
        return;  // every option of the table has a row, so never
    }
    if (!word) {
        xml += "  <number id=\"" + option + "\" type=\"spinbutton\" arg=\"--" + option + " %\" _label=\"" +
               Escaped(number->label) + "\" low=\"" + std::to_string(number->lowest) + "\" high=\"" +
               std::to_string(std::min(number->highest, kSpinButtonHighest)) + "\" default=\"" +
               std::to_string(number->defaultValue) + "\"/>\n\n";
        return;
    }
    std::vector<Choice> choices;
    const bool numberByDefault = number && static_cast<int32_t>(word->defaultValue) == word->valueForNumber;
    if (number) {
        for (uint32_t n = number->lowest; n <= number->highest; ++n) {
            std::string label = std::string(number->label) + " " + std::to_string(n);
            label += n == number->lowest ? " (slowest)" : n == number->highest ? " (fastest)" : "";
            choices.push_back({label, std::to_string(n), numberByDefault && n == number->defaultValue});
        }
    }
    for (size_t value = 0; value < word->codec->wordCount; ++value) {
        if (static_cast<int32_t>(value) == word->valueForNumber) {
            continue;  // said by the numbers
        }
        const std::string text = LowerCase(word->codec->words[value]);
        // With numbers beside it the word's setting has a label of its own.
        const std::string label = number ? word->label : std::string(word->label) + ": " + text;
        choices.push_back({label, text, !numberByDefault && value == word->defaultValue});
    }
    xml += "  <select id=\"" + option + "\">\n";
    for (const Choice& choice : choices) {
        xml += Option(option, option, choice);
    }
    xml += "  </select>\n\n";
}

// The X11 saver's own --scale: auto by default, as on every display.
void ScaleSection(std::string& xml) {
    xml += "  <select id=\"scale\">\n";
    xml += Option("scale", "scale", {"Scale: auto (from the display's DPI)", "auto", true});
    for (int scale = 1; scale <= kMaxDisplayScale; ++scale) {
        xml += Option("scale", "scale", {"Scale: " + std::to_string(scale) + "x", std::to_string(scale), false});
    }
    xml += "  </select>\n\n";
}

}  // namespace

std::string XScreenSaverConfig() {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n\n"
        "<screensaver name=\"quorbel\" _label=\"Quorbel\">\n\n"
        "  <command arg=\"--root\"/>\n\n";
    std::vector<std::string> options;
    for (const SettingDescription& setting : kSettingTable) {
        if (std::find(options.begin(), options.end(), setting.option) == options.end()) {
            options.push_back(setting.option);
        }
    }
    for (const std::string& option : options) {
        Section(option, xml);
    }
    ScaleSection(xml);
    xml +=
        "  <_description>\n"
        "Conway's Game of Life with one, three or six species of cells, drawn as\n"
        "wriggling sprites on a black screen. A new world begins when the old one\n"
        "has died out or has gone the chosen number of generations without a\n"
        "novel birth.\n"
        "  </_description>\n"
        "</screensaver>\n";
    return xml;
}
