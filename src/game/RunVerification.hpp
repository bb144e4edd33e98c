#pragma once

#include <string>
#include <string_view>

#include "game/RecordedRun.hpp"
#include "level/LevelCatalogue.hpp"

// What a player says about a finished run when submitting it.
struct RunClaim {
    GameMode mode = raceMode;
    int levelId = 0;
    float seconds = 0.0f;  // the time as its score text decodes (online/ScoreText)
};

// Verified, or the reason why not, in words for the player and the operator.
struct RunVerdict {
    bool verified = false;
    std::string reason;
};

// What a submitted run may be: frames as the game window makes them (above 0,
// at most a quarter of a second) and at most half an hour of game time, which
// bounds the replay to 630,000 physics steps. Checked while parsing, before
// any frame beyond them is allocated or stepped.
RunLimits submittedRunLimits();

// Replays the run text through the headless simulation on the level whose file
// holds `levelBytes`, and verifies it when it is a run of the claimed mode and
// level, of this level file and physics version, and finishes at the claimed
// time to the millisecond. Needs no window, audio device or data folder.
RunVerdict verifyRun(std::string_view runText, const RunClaim& claim, std::string_view levelBytes);
// The same with the level file read from `levelPath`.
RunVerdict verifyRunOnLevelFile(std::string_view runText, const RunClaim& claim,
                                const std::string& levelPath);
