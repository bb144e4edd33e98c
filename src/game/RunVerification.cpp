#include "game/RunVerification.hpp"

#include <cmath>
#include <cstdio>

#include "app/Files.hpp"
#include "app/GameWindow.hpp"
#include "app/Sha256.hpp"
#include "game/HeadlessLevel.hpp"
#include "online/ScoreText.hpp"

namespace {

constexpr double longestRunSeconds = 30.0 * 60.0;

RunVerdict refused(std::string reason) {
    return {false, std::move(reason)};
}

// The milliseconds of a time after it has travelled as a score text, which is
// how the claim reached us: both sides then round alike.
long long scoreMilliseconds(float seconds) {
    return raceMilliseconds(decodeTime(encodeTime(seconds)));
}

std::string secondsText(long long milliseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%03lld s", milliseconds / 1000, milliseconds % 1000);
    return text;
}

// The header against the claim and the level file; empty when they agree.
std::string headerProblem(const RecordedRun& run, const RunClaim& claim,
                          std::string_view levelBytes) {
    if (run.mode != claim.mode) {
        return "run is for another mode";
    }
    if (run.levelId != claim.levelId) {
        return "run is for another level";
    }
    if (run.physicsVersion != LevelSimulation::physicsVersion) {
        return "run is for physics version " + std::to_string(run.physicsVersion) +
               ", not version " + std::to_string(LevelSimulation::physicsVersion);
    }
    if (run.levelSha256 != sha256Hex(levelBytes)) {
        return "run is for another version of the level";
    }
    return {};
}

}  // namespace

RunLimits submittedRunLimits() {
    RunLimits limits;
    limits.maxFrameTime = GameWindow::maxFrameTime;
    limits.zeroFrameTimes = false;
    limits.maxGameSeconds = longestRunSeconds;
    return limits;
}

RunVerdict verifyRun(std::string_view runText, const RunClaim& claim, std::string_view levelBytes) {
    RecordedRun run;
    std::string error;
    if (!parseRun(runText, run, error, submittedRunLimits())) {
        return refused("not a recorded run: " + error);
    }
    if (std::string problem = headerProblem(run, claim, levelBytes); !problem.empty()) {
        return refused(std::move(problem));
    }
    if (!std::isfinite(claim.seconds) || claim.seconds <= 0.0f) {
        return refused("claimed time is not a time");
    }
    HeadlessLevel level(run.mode, run.turnSpeeds, levelBytes);
    const ReplayResult replay = replayRun(level.simulation(), run, true);
    if (replay.finishFrame < 0) {
        return refused("run never finishes");
    }
    const long long finished = scoreMilliseconds(replay.raceClock);
    if (finished != scoreMilliseconds(claim.seconds)) {
        return refused("run does not reproduce: finished at " + secondsText(finished));
    }
    return {true, {}};
}

RunVerdict verifyRunOnLevelFile(std::string_view runText, const RunClaim& claim,
                                const std::string& levelPath) {
    const auto bytes = readWholeFile(levelPath);
    if (!bytes) {
        return refused("level file cannot be read");
    }
    return verifyRun(runText, claim, std::string_view(bytes->data(), bytes->size()));
}
