#include "sim/run/RunVerification.hpp"

#include <box2d/b2_body.h>

#include <cmath>
#include <cstdio>

#include "sim/base/FileBytes.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/level/Level.hpp"
#include "sim/level/Units.hpp"
#include "sim/play/FrameTicks.hpp"
#include "sim/play/LevelSimulation.hpp"
#include "sim/run/LevelStamp.hpp"
#include "sim/run/RunReplay.hpp"
#include "sim/run/ScoreText.hpp"

namespace {

constexpr double longestRunSeconds = 30.0 * 60.0;
// A half-hour run at the game's finest frames: one tick each.
constexpr long long mostSubmittedFrames = 30LL * 60 * FrameTicks::perSecond;
// Physics steps between two points of a route: about twenty a second.
constexpr long long stepsPerRoutePoint = 18;

RunVerdict refused(std::string reason) {
    RunVerdict verdict;
    verdict.reason = std::move(reason);
    return verdict;
}

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

b2Vec2 ballPixels(const LevelSimulation& simulation) {
    const Level* level = simulation.level();
    if (level == nullptr || !level->ball || level->ball->body() == nullptr) {
        return b2Vec2(0.0f, 0.0f);
    }
    return pixelsOf(level->ball->body()->GetPosition());
}

// Plays the run frame by frame and judges each: the finish, the claim's
// budget, a broken world, frames after the finish, a stop from outside.
class Replay {
  public:
    Replay(const RecordedRun& run, const RunClaim& claim, std::string_view levelBytes,
           const VerifyOptions& options)
        : run(run),
          options(options),
          simulation(run.mode, run.turnSpeeds),
          claimed(scoreMilliseconds(claim.seconds)) {
        simulation.loadLevelBytes(levelBytes);
        if (options.sampleRoute) {
            simulation.setStepObserver([this] { sampleRoute(); });
            route.push_back(ballPixels(simulation));
        }
    }

    RunVerdict judge() {
        RunCursor cursor(run);
        while (!cursor.done()) {
            if (options.stop != nullptr && options.stop->load(std::memory_order_relaxed)) {
                RunVerdict verdict = refused("the server stopped");
                verdict.stopped = true;
                return verdict;
            }
            const FrameReport report = cursor.playNext(simulation);
            if (simulation.brokenWorld()) {
                return refused("the world's state stopped being finite numbers");
            }
            if (report.finishedNow) {
                return finishedAt(cursor);
            }
            if (raceMilliseconds(simulation.raceClock()) > claimed + budgetSlack(claimed)) {
                return refused("run does not finish by its claimed time");
            }
        }
        return refused("run never finishes");
    }

  private:
    RunVerdict finishedAt(const RunCursor& cursor) {
        if (!cursor.done()) {
            return refused("run goes on after its finish");
        }
        const long long finished = scoreMilliseconds(simulation.raceClock());
        if (finished != claimed) {
            return refused("run does not reproduce: finished at " + secondsText(finished));
        }
        RunVerdict verdict;
        verdict.verified = true;
        verdict.milliseconds = raceMilliseconds(simulation.raceClock());
        if (options.sampleRoute) {
            route.push_back(ballPixels(simulation));
            verdict.route = std::move(route);
        }
        return verdict;
    }

    void sampleRoute() {
        if (simulation.stepsTaken() % stepsPerRoutePoint == 0) {
            route.push_back(ballPixels(simulation));
        }
    }

    const RecordedRun& run;
    const VerifyOptions& options;
    LevelSimulation simulation;
    long long claimed;
    std::vector<b2Vec2> route;
};

}  // namespace

RunLimits submittedRunLimits() {
    RunLimits limits;
    limits.maxFrames = mostSubmittedFrames;
    limits.maxFrameTime = FrameTicks::seconds(FrameTicks::longestFrame);
    limits.zeroFrameTimes = false;
    limits.maxGameSeconds = longestRunSeconds;
    return limits;
}

RunVerdict verifyRun(std::string_view runText, const RunClaim& claim, std::string_view levelBytes,
                     const VerifyOptions& options) {
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
    RunVerdict verdict = Replay(run, claim, levelBytes, options).judge();
    if (verdict.verified) {
        verdict.canonicalRun = formatRun(run);
    }
    return verdict;
}

RunVerdict verifyRunOnLevelFile(std::string_view runText, const RunClaim& claim,
                                const std::string& levelPath, const VerifyOptions& options) {
    const auto bytes = readWholeFile(levelPath);
    if (!bytes) {
        return refused("level file cannot be read");
    }
    return verifyRun(runText, claim, std::string_view(bytes->data(), bytes->size()), options);
}
