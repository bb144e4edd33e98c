#include "game/RunVerification.hpp"

#include <cmath>
#include <cstdio>

#include "app/Files.hpp"
#include "app/GameWindow.hpp"
#include "app/Sha256.hpp"
#include "game/HeadlessLevel.hpp"
#include "level/LevelList.hpp"
#include "online/ScoreText.hpp"

namespace {

constexpr double longestRunSeconds = 30.0 * 60.0;
// How far past its claimed time a replay goes before it is refused.
constexpr float claimMarginSeconds = 0.001f;

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

// The fields a writer may fill in as it likes (the level's name and file, the
// time it says it took) are set from the level list and the claim, so that
// they cannot make a copied run look like another.
std::string canonicalText(RecordedRun run, const RunClaim& claim) {
    run.levelName.clear();
    run.levelFile.clear();
    for (const LevelEntry& entry : levelsOf(claim.mode)) {
        if (entry.levelId == claim.levelId) {
            run.levelName = entry.name;
            run.levelFile = entry.file;
        }
    }
    run.finishMilliseconds = scoreMilliseconds(claim.seconds);
    return formatRun(run);
}

}  // namespace

RunLimits submittedRunLimits() {
    RunLimits limits;
    limits.maxFrameTime = GameWindow::maxFrameTime;
    limits.zeroFrameTimes = false;
    limits.maxGameSeconds = longestRunSeconds;
    return limits;
}

RunReplay::RunReplay(std::string_view runText, const RunClaim& claim, std::string_view levelBytes)
    : claim(claim), levelBytes(levelBytes) {
    std::string error;
    if (!parseRun(runText, run, error, submittedRunLimits())) {
        decide("not a recorded run: " + error);
        return;
    }
    result.canonicalRun = canonicalText(run, claim);
    if (std::string problem = headerProblem(run, claim, levelBytes); !problem.empty()) {
        decide(std::move(problem));
        return;
    }
    if (!std::isfinite(claim.seconds) || claim.seconds <= 0.0f) {
        decide("claimed time is not a time");
    }
}

RunReplay::~RunReplay() = default;

float RunReplay::raceClock() const {
    return level ? level->simulation().raceClock() : result.raceClock;
}

void RunReplay::decide(std::string refusal) {
    result.verified = refusal.empty();
    result.reason = std::move(refusal);
    result.stopped = false;
    done = true;
    level.reset();
}

bool RunReplay::advance(const ReplayGate& keepGoing) {
    if (done) {
        return true;
    }
    if (!level) {
        level = std::make_unique<HeadlessLevel>(run.mode, run.turnSpeeds, levelBytes);
    }
    LevelSimulation& simulation = level->simulation();
    const float budget = claim.seconds + claimMarginSeconds;
    for (; nextFrame < run.frames.size(); ++nextFrame) {
        if (keepGoing && !keepGoing()) {
            result.stopped = true;
            return false;
        }
        const RecordedFrame& frame = run.frames[nextFrame];
        if (simulation.advance(frame.frameTime, frame.events).finishedNow) {
            result.raceClock = simulation.raceClock();
            result.milliseconds = scoreMilliseconds(result.raceClock);
            decide(result.milliseconds == scoreMilliseconds(claim.seconds)
                       ? std::string()
                       : "run does not reproduce: finished at " + secondsText(result.milliseconds));
            return true;
        }
        if (simulation.raceClock() > budget) {
            decide("run does not finish by its claimed time");
            return true;
        }
    }
    decide("run never finishes");
    return true;
}

RunVerdict verifyRun(std::string_view runText, const RunClaim& claim, std::string_view levelBytes,
                     const ReplayGate& keepGoing) {
    RunReplay replay(runText, claim, levelBytes);
    replay.advance(keepGoing);
    return replay.verdict();
}

RunVerdict verifyRunOnLevelFile(std::string_view runText, const RunClaim& claim,
                                const std::string& levelPath, const ReplayGate& keepGoing) {
    const auto bytes = readWholeFile(levelPath);
    if (!bytes) {
        RunVerdict verdict;
        verdict.reason = "level file cannot be read";
        return verdict;
    }
    return verifyRun(runText, claim, std::string_view(bytes->data(), bytes->size()), keepGoing);
}
