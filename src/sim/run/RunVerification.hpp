#pragma once

#include <box2d/b2_math.h>

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "sim/base/GameMode.hpp"
#include "sim/run/RunText.hpp"

// What a player says about a finished run when submitting it.
struct RunClaim {
    GameMode mode = raceMode;
    int levelId = 0;
    float seconds = 0.0f;  // the time as its score text decodes (ScoreText)
};

// Verified, or the reason why not, in words for the player and the operator.
struct RunVerdict {
    bool verified = false;
    // The replay was stopped from outside before it reached a verdict: the
    // run is neither verified nor refused.
    bool stopped = false;
    std::string reason;
    long long milliseconds = -1;  // the replayed finish time, when it finished
    // The run as our own writer puts it: what a server keeps, whatever
    // comments or spacing the submitted text had.
    std::string canonicalRun;
    // Where the ball was, in world pixels (y down), about twenty times a
    // second of play and at the finish, when asked for.
    std::vector<b2Vec2> route;
};

// How a verification is run.
struct VerifyOptions {
    // Checked every frame: once it is true the replay stops (RunVerdict::stopped).
    const std::atomic<bool>* stop = nullptr;
    bool sampleRoute = false;
};

// What a submitted run may be: frames as the game window makes them (above 0,
// at most a quarter of a second) and at most half an hour of game time, which
// bounds the replay to 630,000 physics steps. Checked while parsing, before
// any frame beyond them is allocated or stepped.
RunLimits submittedRunLimits();

// Replays the run text through the simulation on the level whose file holds
// `levelBytes`, and verifies it when it is a run of the claimed mode and
// level, of this level file and physics version, and finishes in its last
// frame at the claimed time to the millisecond. The replay never goes on past
// the claimed time plus a millisecond, so a claim bounds its cost before it
// starts; a world that breaks (non-finite numbers) is refused. Needs no
// window, audio device or data folder.
RunVerdict verifyRun(std::string_view runText, const RunClaim& claim, std::string_view levelBytes,
                     const VerifyOptions& options = VerifyOptions());
// The same with the level file read from `levelPath`.
RunVerdict verifyRunOnLevelFile(std::string_view runText, const RunClaim& claim,
                                const std::string& levelPath,
                                const VerifyOptions& options = VerifyOptions());
