// quorbel-wayland --enable and --remove on the user's files and session,
// and the settings file read for a showing. Each prints one line on what it
// did (or, on stderr, why it did nothing) and gives the exit code: 0 done
// or nothing to do, 1 refused or failed.
#pragma once

#include <cstdint>
#include <string>

#include "wayland/wayland_options.h"

int EnableSaver(const WaylandOptions& options, int argc, const char* const* argv);

int RemoveSaver();

// The options of a showing: the settings file's, then the command line's
// over them; each bad line of the file named on stderr.
bool OptionsOverSettingsFile(int argc, const char* const* argv, WaylandOptions* options, std::string* error);

// The idle time of a waiter started without one: the settings file's, else
// kDefaultIdleSeconds.
uint32_t SettingsFileIdleSeconds();
