#include "sim/run/RunVerification.hpp"

#include <box2d/b2_body.h>

#include <cmath>
#include <cstdio>

#include "sim/base/FileBytes.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/level/Level.hpp"
#include "sim/level/LevelList.hpp"
#include "sim/level/Units.hpp"
#include "sim/play/FrameTicks.hpp"
#include "sim/play/LevelSimulation.hpp"
#include "sim/run/LevelStamp.hpp"
#include "sim/run/ScoreText.hpp"

namespace {

constexpr double longestRunSeconds = 30.0 * 60.0;
// A half-hour run at the game's finest frames: one tick each.
constexpr long long mostSubmittedFrames = 30LL * 60 * FrameTicks::perSecond;
// Physics steps between two points of a route: about twenty a second.
constexpr long long stepsPerRoutePoint = 18;

// The milliseconds of a time after it has travelled as a score text, which is
// how the claim reached us: both sides then round alike.
long long scoreMilliseconds(float seconds) {
    return raceMilliseconds(decodeTime(encodeTime(seconds)));
}

// The race clock may pass the claim by this much (milliseconds) before the
// replay gives up: a millisecond, or from 1,000 s on, where a score text keeps
// only hundredths, the rounding of those.
long long budgetSlack(long long claimedMilliseconds) {
    return claimedMilliseconds < 1'000'000 ? 1 : 6;
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
    return stampProblem(run, sha256Hex(levelBytes));
}

// The fields a writer may fill in as it likes (the level's name and file, the
// time it says it took) are set from the level list and the claim, so that
// they cannot make a copied run look like another.
std::string canonicalText(RecordedRun run, const RunClaim& claim) {
    run.levelName = claim.levelName;
    run.levelFile = claim.levelFile;
    for (const LevelEntry& entry : levelsOf(claim.mode)) {
        if (entry.levelId == claim.levelId) {
            run.levelName = entry.name;
            run.levelFile = entry.file;
        }
    }
    run.finishMilliseconds = scoreMilliseconds(claim.seconds);
    return formatRun(run);
}

b2Vec2 ballPixels(const LevelSimulation& simulation) {
    const Level* level = simulation.level();
    if (level == nullptr || !level->ball || level->ball->body() == nullptr) {
        return b2Vec2(0.0f, 0.0f);
    }
    return pixelsOf(level->ball->body()->GetPosition());
}

}  // namespace

RunLimits submittedRunLimits() {
    RunLimits limits;
    limits.maxFrames = mostSubmittedFrames;
    limits.maxFrameTime = FrameTicks::seconds(FrameTicks::longestFrame);
    limits.zeroFrameTimes = false;
    limits.maxGameSeconds = longestRunSeconds;
    return limits;
}

RunCheck::RunCheck(std::string_view runText, const RunClaim& claim, std::string_view levelBytes,
                   bool sampleRoute)
    : claim(claim), levelBytes(levelBytes), sampling(sampleRoute) {
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

RunCheck::~RunCheck() = default;

float RunCheck::raceClock() const {
    return simulation ? simulation->raceClock() : result.raceClock;
}

void RunCheck::decide(std::string refusal) {
    result.verified = refusal.empty();
    result.reason = std::move(refusal);
    result.stopped = false;
    if (!result.verified) {
        result.route.clear();
    }
    done = true;
    cursor.reset();
    simulation.reset();
}

void RunCheck::sampleRoute() {
    if (simulation->stepsTaken() % stepsPerRoutePoint == 0) {
        result.route.push_back(ballPixels(*simulation));
    }
}

bool RunCheck::advance(const ReplayGate& keepGoing) {
    if (done) {
        return true;
    }
    if (!simulation) {
        simulation = std::make_unique<LevelSimulation>(run.mode, run.turnSpeeds);
        simulation->loadLevelBytes(levelBytes);
        cursor = std::make_unique<RunCursor>(run);
        if (sampling) {
            simulation->setStepObserver([this] { sampleRoute(); });
            result.route.push_back(ballPixels(*simulation));
        }
    }
    const long long claimed = scoreMilliseconds(claim.seconds);
    while (!cursor->done()) {
        if (keepGoing && !keepGoing()) {
            result.stopped = true;
            return false;
        }
        if (cursor->playNext(*simulation).finishedNow) {
            finish();
            return true;
        }
        if (simulation->brokenWorld()) {
            decide("the world's state stopped being finite numbers");
            return true;
        }
        if (raceMilliseconds(simulation->raceClock()) > claimed + budgetSlack(claimed)) {
            decide("run does not finish by its claimed time");
            return true;
        }
    }
    decide("run never finishes");
    return true;
}

void RunCheck::finish() {
    result.raceClock = simulation->raceClock();
    result.milliseconds = scoreMilliseconds(result.raceClock);
    if (sampling) {
        result.route.push_back(ballPixels(*simulation));
    }
    if (!cursor->done()) {
        decide("run goes on after its finish");
        return;
    }
    decide(result.milliseconds == scoreMilliseconds(claim.seconds)
               ? std::string()
               : "run does not reproduce: finished at " + secondsText(result.milliseconds));
}

RunVerdict verifyRun(std::string_view runText, const RunClaim& claim, std::string_view levelBytes,
                     const ReplayGate& keepGoing, bool sampleRoute) {
    RunCheck check(runText, claim, levelBytes, sampleRoute);
    check.advance(keepGoing);
    return check.verdict();
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
