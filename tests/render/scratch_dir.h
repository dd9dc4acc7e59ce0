// A fresh folder for a test's files, removed with everything in it at the end.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = testing::TempDir() + "quorbel_render_XXXXXX";
        if (mkdtemp(pattern.data()))
            path = pattern;
    }
    ~ScratchDir() { std::system(("rm -rf '" + path + "'").c_str()); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string operator/(const std::string& name) const { return path + "/" + name; }

    // The names in the folder, hidden ones too, sorted.
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        FILE* list = popen(("ls -A '" + path + "'").c_str(), "r");
        char line[512];
        while (list && std::fgets(line, sizeof line, list))
            names.emplace_back(line, std::strcspn(line, "\n"));
        if (list)
            pclose(list);
        return names;
    }

    std::string path;
};
