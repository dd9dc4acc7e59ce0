#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "settings/settings_table.h"

// The accessors are the only thing the store, the dialog and the options
// reach the record through: each must hit its own field and no other.
TEST(SettingsTable, EachRowReachesItsOwnFieldOnly) {
    std::set<SettingId> ids;
    std::set<std::string> names;
    for (const SettingDescription& setting : kSettingTable) {
        ids.insert(setting.id);
        names.insert(setting.name);
        Settings settings;
        std::memset(&settings, 0, sizeof settings);
        setting.set(settings, 3);
        EXPECT_EQ(setting.get(settings), 3u) << setting.name;
        // Fields are 32 bits each, in SettingId order.
        uint32_t words[kSettingCount];
        std::memcpy(words, &settings, sizeof words);
        for (size_t i = 0; i < kSettingCount; ++i)
            EXPECT_EQ(words[i], i == static_cast<size_t>(setting.id) ? 3u : 0u) << setting.name << " word " << i;
        EXPECT_EQ(&DescriptionOf(setting.id), &setting);
        EXPECT_EQ(FindSetting(setting.name), &setting);
    }
    EXPECT_EQ(ids.size(), kSettingCount);
    EXPECT_EQ(names.size(), kSettingCount);
    EXPECT_EQ(FindSetting("speed"), nullptr);  // value names are matched exactly
}
