// Where quorbel-enable finds the user's ~/.xscreensaver.
#pragma once

#include <optional>
#include <string>

// ~/.xscreensaver where it lies: a link (a dotfile kept with others) is
// followed, and one that leads nowhere or in a loop is refused with error.
std::optional<std::string> SettingsPath(const std::string& home, std::string* error);
