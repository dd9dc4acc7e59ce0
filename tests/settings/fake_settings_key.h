// An in-memory settings key that behaves like the registry where it matters:
// a value longer than the query's capacity is a failure and leaves the
// caller's buffer untouched.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "settings/settings_key.h"

struct StoredValue {
    SettingsValueType type;
    std::vector<uint8_t> data;
};

class FakeSettingsKey : public SettingsKeyReader, public SettingsKeyWriter {
public:
    struct Query {
        std::string name;
        size_t capacity;
    };

    void PlantString(const std::string& name, const std::string& bytes) {
        values[name] = {SettingsValueType::String, std::vector<uint8_t>(bytes.begin(), bytes.end())};
    }
    void PlantBytes(const std::string& name, SettingsValueType type, std::vector<uint8_t> bytes) {
        values[name] = {type, std::move(bytes)};
    }

    std::optional<size_t> QueryValue(const char* name, uint8_t* buffer, size_t capacity) override {
        queries.push_back({name, capacity});
        const auto found = values.find(name);
        if (found == values.end() || found->second.data.size() > capacity)
            return std::nullopt;
        std::copy(found->second.data.begin(), found->second.data.end(), buffer);
        return found->second.data.size();
    }

    void SetValue(const char* name, SettingsValueType type, const uint8_t* data, size_t length) override {
        writeOrder.push_back(name);
        if (failingWrites.count(name))
            return;
        values[name] = {type, std::vector<uint8_t>(data, data + length)};
    }

    std::map<std::string, StoredValue> values;
    std::vector<Query> queries;
    std::vector<std::string> writeOrder;
    std::set<std::string> failingWrites;
};
