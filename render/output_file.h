// An output file that appears only when complete. A regular file is written
// under a temporary name beside it and renamed over it by commit(); anything
// else that exists already (/dev/null, a pipe) is written in place, and "-"
// is standard output. A symbolic link is followed: its target is written.
// The temporary is removed when the file is not committed, also when any
// signal that ends the program by default arrives.
#pragma once

#include <cstdio>
#include <string>

class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile() { discard(); }

    // False, with the reason in error(), when it cannot be written.
    bool open(const std::string& path);
    FILE* stream() const { return stream_; }

    // Flushes, closes and puts the file in place. False, with the reason in
    // error() and nothing left behind, on any failure.
    bool commit();
    void discard();
    // Gives up after a write failed with errno `reason` (0: unknown).
    bool fail(int reason);

    const std::string& error() const { return error_; }

private:
    bool fail(const std::string& what);

    std::string path_;
    std::string destination_;  // the path with its links followed
    std::string temporary_;    // empty when written in place
    FILE* stream_ = nullptr;
    bool standardOutput_ = false;
    int slot_ = -1;  // in the list the signal handler removes
    std::string error_;
};

// Where writing path ends up: symbolic links followed (a dangling one to the
// file it would create) and the folder made absolute. "-" stays itself.
std::string OutputDestination(const std::string& path);

// Whether two output paths name one file (devices such as /dev/null aside).
bool SameOutput(const std::string& a, const std::string& b);
