// The files quorbel-enable touches: ~/.xscreensaver, written whole under a
// lock so that runs at once take turns, and the folder of its record.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

std::optional<std::string> ReadFile(const std::string& path);

// ~/.xscreensaver where it lies: a link (a dotfile kept with others) is
// followed, and one that leads nowhere or in a loop is refused with error.
std::optional<std::string> SettingsPath(const std::string& home, std::string* error);

// Held for as long as it lives: an exclusive lock on the folder that holds
// the file, which leaves nothing behind in it as a lock file would. Where
// the folder cannot be locked (some network file systems), runs go on
// without it.
class FolderLock {
public:
    explicit FolderLock(const std::string& file);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int folder_;
};

// A file its mode or the system keeps us from writing (we may be root).
bool ReadOnly(const std::string& path, mode_t mode);

// Under a temporary name of its own beside the file and renamed over it, so
// that XScreenSaver never reads half a file; with mode.
bool WriteWhole(const std::string& path, const std::string& text, mode_t mode, std::string* error);

// The folder and any missing above it made; those it made, outermost first.
std::vector<std::string> MakeFolders(const std::string& folder);

// Each folder taken away, innermost first, when it is empty.
void RemoveFolders(const std::vector<std::string>& folders);
