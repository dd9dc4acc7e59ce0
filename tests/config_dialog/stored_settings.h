// Direct access to the settings key, to set up and check what the dialog
// loads and saves.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

void DeleteStoredSettings();
bool StoredSettingsExist();
std::optional<std::string> StoredWord(const char* name);
std::optional<uint32_t> StoredNumber(const char* name);
void StoreWord(const char* name, const std::string& word);
void StoreNumber(const char* name, uint32_t value);
