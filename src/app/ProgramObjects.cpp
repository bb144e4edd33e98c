#include "app/ProgramObjects.hpp"

namespace {

ProgramObjects* live = nullptr;

ProgramObjects& current() {
    if (live != nullptr) {
        return *live;
    }
    static ProgramObjects inMemory("");
    return inMemory;
}

}  // namespace

ProgramObjects::ProgramObjects(const std::string& settingsPath)
    : settings(settingsPath), previous(live) {
    if (!settingsPath.empty()) {
        settings.load();
        live = this;
    }
}

ProgramObjects::~ProgramObjects() {
    if (live == this) {
        live = previous;
    }
}

Settings& settings() {
    return current().settings;
}
MusicPlayer& menuMusic() {
    return current().menuMusic;
}
MusicPlayer& gameMusic() {
    return current().gameMusic;
}
