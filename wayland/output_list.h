// The outputs the compositor offers, by their registry name: each one's
// scale as its last `done` completed it and, once the saver covers it, its
// surface with its world. An output that goes takes its surface and world
// with it; the others go on. Portable (the Wayland objects are only
// carried), so that tests can plug and unplug outputs in-process.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

template <typename Output, typename Surface>
class OutputList {
public:
    struct Entry {
        uint32_t name;
        Output* output;
        int scale = 1;
        int pendingScale = 1;
        std::unique_ptr<Surface> surface;
    };

    // A new output; the entry stays at this address while it is listed.
    Entry& add(uint32_t name, Output* output) {
        entries_.push_back(std::make_unique<Entry>(Entry{name, output, 1, 1, nullptr}));
        return *entries_.back();
    }

    // The output's `done`: the scale it announced is in force, also for its
    // surface.
    static void done(Entry& entry) {
        entry.scale = std::max(entry.pendingScale, 1);
        if (entry.surface) {
            entry.surface->setScale(entry.scale);
        }
    }

    // The output with that registry name is gone: its surface (and world)
    // first, then the output, which is returned for the caller to destroy;
    // nullptr when the name is not an output's.
    Output* remove(uint32_t name) {
        const auto gone =
            std::find_if(entries_.begin(), entries_.end(), [&](const auto& entry) { return entry->name == name; });
        if (gone == entries_.end()) {
            return nullptr;
        }
        Output* output = (*gone)->output;
        (*gone)->surface.reset();
        entries_.erase(gone);
        return output;
    }

    int scaleOf(const Output* output) const {
        for (const auto& entry : entries_) {
            if (entry->output == output) {
                return entry->scale;
            }
        }
        return 1;
    }

    std::vector<Surface*> surfaces() const {
        std::vector<Surface*> all;
        for (const auto& entry : entries_) {
            if (entry->surface) {
                all.push_back(entry->surface.get());
            }
        }
        return all;
    }

    const std::vector<std::unique_ptr<Entry>>& entries() const { return entries_; }

private:
    std::vector<std::unique_ptr<Entry>> entries_;
};
