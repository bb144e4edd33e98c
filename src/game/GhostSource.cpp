#include "game/GhostSource.hpp"

#include <chrono>
#include <iostream>

#include "app/files/SettingKeys.hpp"
#include "game/PersonalRuns.hpp"
#include "sim/base/FileBytes.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/run/LevelStamp.hpp"
#include "sim/run/RunText.hpp"

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
    if (run.mode != mode || !stampProblem(run, levelSha256).empty()) {
        return std::nullopt;
    }
    return run;
}

GhostSource::GhostSource(std::string_view serverAddress) : client(serverAddress) {}

void GhostSource::choose(int choice, GameMode mode, const LevelIdentity& level,
                         const std::string& levelFile, bool online) {
    wanted.reset();
    if (choice == Setting::ghostOff) {
        return;
    }
    // The player said no to the server: the record's ghost is the best's.
    if (!online) {
        choice = Setting::ghostPersonalBest;
    }
    const auto bytes = readWholeFile(levelFile);
    if (!bytes) {
        return;
    }
    Choice chosen{choice, mode, level, std::string(bytes->data(), bytes->size()), ""};
    chosen.levelSha256 = sha256Hex(chosen.levelBytes);
    wanted = std::move(chosen);
    if (choice != Setting::ghostRecord || (fetchedLevel == level && fetchedMode == mode)) {
        return;
    }
    fetchedMode = mode;
    fetchedLevel = level;
    fetched.clear();
    // A new level comes after a finish, long after the last answer came.
    pending = std::async(std::launch::async, [this, mode, level] {
        return client.fetchRun(mode, level, recordPosition);
    });
}

std::unique_ptr<GhostTrack> GhostSource::takeTrack() {
    if (!wanted) {
        return nullptr;
    }
    if (wanted->setting == Setting::ghostRecord && pending.valid()) {
        if (pending.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
            return nullptr;
        }
        fetched = pending.get();
    }
    const Choice chosen = std::move(*wanted);
    wanted.reset();
    return trackOf(chosen);
}

std::unique_ptr<GhostTrack> GhostSource::trackOf(const Choice& chosen) const {
    std::optional<RecordedRun> run;
    if (chosen.setting == Setting::ghostRecord) {
        run = runForLevel(fetched, chosen.mode, chosen.levelSha256);
        if (!run) {
            std::cerr << "rollavortex: no record run for level " << chosen.level.text()
                      << "; the ghost is the personal best\n";
        }
    }
    if (!run) {
        run = PersonalRuns().load(chosen.mode, chosen.level, chosen.levelSha256);
    }
    if (!run) {
        return nullptr;
    }
    return std::make_unique<GhostTrack>(std::move(*run), chosen.levelBytes);
}
