#include "game/GhostSource.hpp"

#include <iostream>

#include "app/Files.hpp"
#include "app/SettingKeys.hpp"
#include "app/Sha256.hpp"
#include "game/LevelSimulation.hpp"
#include "game/PersonalRuns.hpp"

namespace {

constexpr int recordPosition = 1;

}  // namespace

std::optional<RecordedRun> runForLevel(std::string_view text, GameMode mode,
                                       const std::string& levelSha256) {
    RecordedRun run;
    std::string error;
    if (text.empty() || !parseRun(text, run, error)) {
        return std::nullopt;
    }
    if (run.mode != mode || run.levelSha256 != levelSha256 ||
        run.physicsVersion != LevelSimulation::physicsVersion) {
        return std::nullopt;
    }
    return run;
}

GhostSource::GhostSource(std::string_view serverAddress) : client(serverAddress) {}

const std::string& GhostSource::recordText(GameMode mode, int levelId) {
    if (fetchedLevel != levelId || fetchedMode != mode) {
        fetchedMode = mode;
        fetchedLevel = levelId;
        fetched = client.fetchRun(mode, levelId, recordPosition);
    }
    return fetched;
}

std::unique_ptr<GhostTrack> GhostSource::trackFor(int choice, GameMode mode, int levelId,
                                                  const std::string& levelFile) {
    if (choice == Setting::ghostOff) {
        return nullptr;
    }
    const auto bytes = readWholeFile(levelFile);
    if (!bytes) {
        return nullptr;
    }
    const std::string_view levelBytes(bytes->data(), bytes->size());
    const std::string sha = sha256Hex(levelBytes);
    std::optional<RecordedRun> run;
    if (choice == Setting::ghostRecord) {
        run = runForLevel(recordText(mode, levelId), mode, sha);
        if (!run) {
            std::cerr << "rollavortex: no record run for level " << levelId
                      << "; the ghost is the personal best\n";
        }
    }
    if (!run) {
        run = PersonalRuns().load(mode, levelId, sha);
    }
    if (!run) {
        return nullptr;
    }
    return std::make_unique<GhostTrack>(std::move(*run), levelBytes);
}
