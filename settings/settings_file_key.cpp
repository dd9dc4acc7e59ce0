#include "settings/settings_file_key.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// One value a line: name, type and the data in hex, e.g.
//   Size REG_SZ 4d6964646c6500
// Value names never hold blanks, so the line splits on them.
constexpr const char kStringType[] = "REG_SZ";
constexpr const char kDwordType[] = "REG_DWORD";

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool ParseHex(const std::string& hex, std::vector<uint8_t>& data) {
    if (hex.size() % 2 != 0)
        return false;
    data.clear();
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexDigit(hex[i]);
        const int low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0)
            return false;
        data.push_back(static_cast<uint8_t>(high << 4 | low));
    }
    return true;
}

}  // namespace

bool SettingsFileKey::Open(const std::string& path) {
    values_.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    Parse(file);
    return true;
}

void SettingsFileKey::Parse(std::istream& text) {
    values_.clear();
    std::string line;
    while (std::getline(text, line)) {
        std::istringstream fields(line);
        std::string name, type, hex;
        if (!(fields >> name >> type))
            continue;
        fields >> hex;  // empty data has no third field
        Value value{name, SettingsValueType::String, {}};
        if (type == kDwordType) {
            value.type = SettingsValueType::Dword;
        } else if (type != kStringType) {
            continue;
        }
        if (!ParseHex(hex, value.data))
            continue;
        if (Value* existing = Find(name)) {
            *existing = value;
        } else {
            values_.push_back(value);
        }
    }
}

std::optional<size_t> SettingsFileKey::QueryValue(const char* name, uint8_t* buffer, size_t capacity) {
    const Value* value = Find(name);
    if (!value || value->data.size() > capacity)
        return std::nullopt;
    std::copy(value->data.begin(), value->data.end(), buffer);
    return value->data.size();
}

void SettingsFileKey::SetValue(const char* name, SettingsValueType type, const uint8_t* data, size_t length) {
    Value value{name, type, std::vector<uint8_t>(data, data + length)};
    if (Value* existing = Find(name)) {
        *existing = value;
    } else {
        values_.push_back(value);
    }
}

bool SettingsFileKey::Save(const std::string& path) const {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target(path);
    if (target.has_parent_path())
        fs::create_directories(target.parent_path(), error);
    if (error)
        return false;

    const fs::path temporary = target.string() + ".new";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file)
            return false;
        Write(file);
        if (!file.flush()) {
            file.close();
            fs::remove(temporary, error);
            return false;
        }
    }
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

void SettingsFileKey::Write(std::ostream& text) const {
    static const char kDigits[] = "0123456789abcdef";
    for (const Value& value : values_) {
        text << value.name << ' ' << (value.type == SettingsValueType::Dword ? kDwordType : kStringType) << ' ';
        for (uint8_t byte : value.data)
            text << kDigits[byte >> 4] << kDigits[byte & 15];
        text << '\n';
    }
}

SettingsFileKey::Value* SettingsFileKey::Find(const std::string& name) {
    for (Value& value : values_) {
        if (value.name == name)
            return &value;
    }
    return nullptr;
}

std::string SettingsFilePath() {
    std::string base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
        base = config;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::string(home) + "/.config";
    } else {
        return {};
    }
    std::string path = base + "/" + kSettingsKeyPath;
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    return path;
}
