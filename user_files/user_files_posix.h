// Files in a user's home, handled so that nothing is lost, nothing is stuck
// and nothing changes hands: read only when they are regular files of a
// sane size, written whole under a temporary name, given to whoever owns
// the file or its folder (a run by root on a user's home leaves the user's
// files the user's), and changed by one run at a time.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

// $HOME, else the password database's; empty when neither tells.
std::string HomeFolder();

// $variable when it is a full path (relative ones are to be ignored, the XDG
// base directories say), else home/fallback.
std::string XdgFolder(const char* variable, const std::string& home, const char* fallback);

// Larger than any settings file or record of ours.
constexpr off_t kSaneFileSize = 1 << 20;

struct UserFileRead {
    enum class State { Missing, Read, Refused } state = State::Missing;
    std::string text;   // Read: the whole file
    mode_t mode = 0;    // Read: its permissions
    std::string error;  // Refused: why, naming the file
};

// A link is followed; a device, pipe, folder or a file larger than
// kSaneFileSize is refused, and so is one that cannot be read, without
// blocking on it.
UserFileRead ReadUserFile(const std::string& path);

// Held for as long as it lives: an exclusive lock on the folder that holds
// the file, which leaves nothing behind in it as a lock file would. When
// another run holds it, waitingLine goes to stderr first. Where the folder
// cannot be locked (some network file systems), runs go on without it.
class FolderLock {
public:
    FolderLock(const std::string& file, const std::string& waitingLine);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int folder_;
};

// A file its mode or the system keeps us from writing (we may be root).
bool ReadOnly(const std::string& path, mode_t mode);

// Under a temporary name of its own beside the file and renamed over it, so
// that no reader sees half a file; with mode, and with the owner of the
// file it replaces or else of the folder that holds it.
bool WriteWhole(const std::string& path, const std::string& text, mode_t mode, std::string* error);

// The folder and any missing above it made (mode 0700, each given to the
// owner of the one above); those it made, outermost first. Nothing, with
// error, when one cannot be made; then none is left behind.
std::optional<std::vector<std::string>> MakeFolders(const std::string& folder, std::string* error);

// Each folder taken away, innermost first, when it is empty.
void RemoveFolders(const std::vector<std::string>& folders);

// The folder part of a path: what comes before its last slash.
std::string FolderOf(const std::string& path);
