#pragma once

#include <box2d/b2_math.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sim/base/GameMode.hpp"
#include "sim/run/RunReplay.hpp"
#include "sim/run/RunText.hpp"

class LevelSimulation;

// What a player says about a finished run when submitting it.
struct RunClaim {
    RunClaim() = default;
    RunClaim(GameMode mode, int levelId, float seconds)
        : mode(mode), levelId(levelId), seconds(seconds) {}

    GameMode mode = raceMode;
    int levelId = 0;       // a shipped level's; 0 for any other, known by its file's hash
    float seconds = 0.0f;  // the time as its score text decodes (ScoreText)
    // How the canonical run names a level that is not in the level list: its
    // name and file as the verifier has them.
    std::string levelName;
    std::string levelFile;
};

// Verified, refused with the reason in words for the player and the operator,
// or neither: a replay stopped from outside has no verdict.
struct RunVerdict {
    bool verified = false;
    bool stopped = false;
    std::string reason;
    // The race clock at the replayed finish, in whole milliseconds of its
    // score text and as the simulation read it; -1 and 0 when the replay did
    // not finish.
    long long milliseconds = -1;
    float raceClock = 0.0f;
    // The run as this game writes it, without comments, naming the level as
    // the level list does (the claim, for another level) and with the claimed
    // time as its time-ms: every text
    // of the same frames and inputs gives these same bytes. Empty when the
    // text is no run.
    std::string canonicalRun;
    // Where the ball was, in world pixels (y down), about twenty times a
    // second of play and at the finish, when the check was asked for it.
    std::vector<b2Vec2> route;
};

// Asked before every replayed frame; false stops the replay there.
using ReplayGate = std::function<bool()>;

// What a submitted run may be: frames as the play screen hands them (above 0,
// at most a quarter of a second) and at most half an hour of game time, which
// bounds the replay to 630,000 physics steps. Checked while parsing, before
// any frame beyond them is allocated or stepped.
RunLimits submittedRunLimits();

// One submitted run replayed a piece at a time, so that many can take turns
// on a few threads. The run is read and checked against the claim and the
// level file at once (a run that fails is refused before any replay); the
// replay then ends at its finish, at its last frame, or once the race clock
// passes the claimed time by more than a millisecond, whichever comes first:
// the claim bounds its steps before it starts. A world whose state stops
// being finite numbers, and frames after the finish, are refused.
class RunCheck {
  public:
    RunCheck(std::string_view runText, const RunClaim& claim, std::string_view levelBytes,
             bool sampleRoute = false);
    ~RunCheck();
    RunCheck(const RunCheck&) = delete;
    RunCheck& operator=(const RunCheck&) = delete;

    // Replays frames while `keepGoing` allows; true once the verdict is known.
    bool advance(const ReplayGate& keepGoing);
    bool decided() const { return done; }
    // The race clock the replay has reached (seconds): with the claim, how
    // much of its replay is still to come at most.
    float raceClock() const;
    // The verdict once decided(); before that, the canonical run and
    // `stopped` set.
    const RunVerdict& verdict() const { return result; }

  private:
    void decide(std::string refusal);
    void finish();
    void sampleRoute();

    RecordedRun run;
    RunClaim claim;
    std::string levelBytes;
    bool sampling = false;
    std::unique_ptr<LevelSimulation> simulation;
    std::unique_ptr<RunCursor> cursor;
    RunVerdict result;
    bool done = false;
};

// Replays the run text through the simulation on the level whose file holds
// `levelBytes`, and verifies it when it is a run of the claimed mode and
// level, of this level file and physics version, and finishes in its last
// frame at the claimed time to the millisecond. Needs no window, audio device
// or data folder. A `keepGoing` that says no gives a verdict with `stopped`
// set.
RunVerdict verifyRun(std::string_view runText, const RunClaim& claim, std::string_view levelBytes,
                     const ReplayGate& keepGoing = {}, bool sampleRoute = false);
// The same with the level file read from `levelPath`.
RunVerdict verifyRunOnLevelFile(std::string_view runText, const RunClaim& claim,
                                const std::string& levelPath, const ReplayGate& keepGoing = {});
