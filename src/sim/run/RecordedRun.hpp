#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/base/GameMode.hpp"
#include "sim/play/PlayInput.hpp"
#include "sim/play/TurnSpeeds.hpp"

// An input of a run and the frame before which it was given.
struct RecordedInput {
    std::uint32_t frame = 0;
    PlayInput input;

    bool operator==(const RecordedInput&) const = default;
};

// A run of one level from its build (the countdown included) to the frame in
// which it became finished: the inputs of play and the frame time of every
// frame. Replayed through a LevelSimulation built from the same level file
// (RunCursor, replayRun), it gives the same run, bit for bit. Its text form
// is in RunText.hpp.
//
// Frames are kept as one float each and inputs apart from them, in frame
// order: a half-hour run at a high frame rate has a million frames, nearly
// all without an input.
struct RecordedRun {
    // A run is at most an hour of the shortest frames a run can have (one
    // tick): longer files are refused rather than allocated.
    static constexpr long long maxFrames = 60LL * 60 * 1024;
    // Longer frames than this are not frames of the game window.
    static constexpr float maxFrameTime = 1.0f;
    // The header's texts (level name, file) are at most this long.
    static constexpr std::size_t maxTextLength = 200;

    std::string levelName;
    std::string levelFile;
    int levelId = 0;          // 0: not named
    std::string levelSha256;  // empty: not named
    int physicsVersion = 0;   // 0: not named
    GameMode mode = raceMode;
    TurnSpeeds turnSpeeds;
    long long finishMilliseconds = -1;  // -1: not finished
    std::vector<float> frameTimes;      // seconds, one per frame
    std::vector<RecordedInput> inputs;  // by frame, in the order given

    std::size_t frameCount() const { return frameTimes.size(); }
    // Appends a frame: `given` first, then the frame time.
    void addFrame(float frameTime, std::span<const PlayInput> given = {});
    // The inputs given before frame `frame`.
    std::span<const RecordedInput> inputsOfFrame(std::size_t frame) const;
};

// The race clock (seconds) in whole milliseconds, rounded to the nearest.
long long raceMilliseconds(float seconds);
