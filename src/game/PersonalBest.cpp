#include "game/PersonalBest.hpp"

#include <iostream>

#include "app/platform/ProgramObjects.hpp"
#include "game/PersonalRuns.hpp"
#include "sim/run/ScoreText.hpp"

void storePersonalBest(GameMode mode, const LevelIdentity& level, float seconds) {
    settings().setString(personalBestKey(mode, level), encodeTime(seconds));
}

void storePersonalBest(GameMode mode, const LevelIdentity& level, float seconds,
                       const RecordedRun* run) {
    storePersonalBest(mode, level, seconds);
    if (run == nullptr) {
        return;
    }
    const PersonalRuns runs;
    if (!runs.save(*run)) {
        std::cerr << "rollavortex: could not store the run of the personal best in "
                  << runs.pathOf(mode, level).string() << '\n';
    }
}

void keepRunOfFinish(const RecordedRun* run) {
    if (run != nullptr) {
        PersonalRuns().keepIfFaster(*run);
    }
}

float readPersonalBest(GameMode mode, const LevelIdentity& level) {
    const std::string key = personalBestKey(mode, level);
    // Looking first keeps levels never finished out of the settings file.
    if (!settings().contains(key)) {
        return -1.0f;
    }
    return decodeTime(settings().getString(key));
}

bool beatsPersonalBest(float storedBest, float time) {
    return storedBest < 0.0f || storedBest > decodeTime(encodeTime(time));
}
