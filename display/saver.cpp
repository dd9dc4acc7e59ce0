#include "display/saver.h"

#include "display/world_lifecycle.h"

Saver::Saver() : world_(random_), hooks_(world_, settings_, effective_, ClientSize{0, 0}) { world_.setHooks(hooks_); }

void Saver::start(const Settings& settings, ClientSize client, std::optional<uint32_t> seed) {
    prepare(settings, seed);
    startWorld(client);
}

void Saver::prepare(const Settings& settings, std::optional<uint32_t> seed) {
    settings_ = settings;
    seed_ = seed ? *seed : ClockSeed();
    random_.seed(seed_);
    ResolveStartSettings(settings_, effective_, random_);
}

void Saver::startWorld(ClientSize client) {
    hooks_.setClient(client);
    AllocateFirstWorld(world_, settings_, effective_, client);
    resizePending_ = false;
    running_ = true;
}

void Saver::tick(PaintTarget& target) {
    if (!running_) {
        return;
    }
    hooks_.setTarget(target);
    if (resizePending_) {
        resizePending_ = false;
        RenewWorld(world_, settings_, effective_, hooks_.client(), true);
        hooks_.ClearScreen();
    }
    world_.step();
}

void Saver::resize(ClientSize client) {
    hooks_.setClient(client);
    resizePending_ = running_;
}

void Saver::end() {
    world_.release();
    running_ = false;
    resizePending_ = false;
}
