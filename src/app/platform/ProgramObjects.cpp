#include "app/platform/ProgramObjects.hpp"

#include <chrono>
#include <cstdint>

#include "app/platform/Random.hpp"

namespace {

ProgramObjects* live = nullptr;

// Nanoseconds of the system clock, folded to 32 bits: no two starts share it.
std::uint32_t clockSeed() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto nanoseconds = static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    return static_cast<std::uint32_t>(nanoseconds ^ (nanoseconds >> 32));
}

ProgramObjects& current() {
    if (live != nullptr) {
        return *live;
    }
    static ProgramObjects inMemory("", {});
    return inMemory;
}

}  // namespace

ProgramObjects::ProgramObjects(const std::string& settingsPath, std::filesystem::path levelFolder)
    : settings(settingsPath), customLevels(std::move(levelFolder)), previous(live) {
    if (!settingsPath.empty()) {
        settings.load();
        live = this;
        Random::seed(clockSeed());
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
const std::filesystem::path& customLevelFolder() {
    return current().customLevels;
}
