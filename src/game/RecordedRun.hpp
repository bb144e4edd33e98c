#pragma once

#include <SFML/Window/Event.hpp>

#include <string>
#include <string_view>
#include <vector>

#include "game/ControlKeys.hpp"
#include "level/LevelCatalogue.hpp"

class LevelSimulation;

// One frame of play as the game window hands it over: the key events read at
// its start, then the frame time (seconds) the level advances by.
struct RecordedFrame {
    float frameTime = 0.0f;
    std::vector<sf::Event> events;

    bool operator==(const RecordedFrame& other) const;
};

// A run of one level from its build (the countdown included) to the frame in
// which it became finished. Replayed through a LevelSimulation built from the
// same level file, it gives the same run, bit for bit.
//
// Text form, one item a line ('#' starts a comment line):
//
//   rollavortex-run 2
//   level: The Labyrinth
//   file: levels/TheLabyrinth.tmx  the level file, inside the data folder
//   level-id: 250               the level's permanent id (LevelCatalogue)
//   level-sha256: 75fa...713    SHA-256 of the level file's bytes, 64 hex digits
//   physics: 1                  LevelSimulation::physicsVersion it was played with
//   mode: 1                     1 "Race", 2 "Puzzle"
//   turn-speeds: 280 140 420    degrees per second: plain, Shift, Control
//   inverted-controls: 0        1 when Left and Right were swapped
//   time-ms: 61234              race clock at the finish, in milliseconds
//   frames: 3967                frames in all
//   300 0.016666668             300 frames of 1/60 s without key events
//   1 0.016666668 +Left -Space  one frame: press Left, release Space, then advance
//   4 0.016666668 +LShift/s     press Left Shift, then advance four frames
//   1 0.016666668 ~-62.5        a pad pushed 62.5 % to the left (TurnEvent)
//
// A frame line is: how many frames, their frame time in seconds, then the key
// events given before the first of them. An event is '+' (pressed) or '-'
// (released), a key name (Left Right Up Down Space Return Escape LShift
// RShift LControl RControl), and optionally '/' with the modifiers the event
// carries: 's' Shift, 'c' Control. Any other key is written "Other": in play
// it only sets the modifiers, like every key without a name here. A pad's turn
// is '~' and its percent, from -100 to 100 (0 lets go).
//
// Version 1 files (no level-id, level-sha256, physics, turn-speeds or
// inverted-controls lines) still read, with the default turn speeds; a missing
// level id, hash or physics version reads as 0 or empty.
struct RecordedRun {
    // A run is at most an hour of frames at 60 per second: longer files are
    // refused rather than allocated.
    static constexpr long long maxFrames = 60LL * 60 * 60;
    // Longer frames than this are not frames of the game window.
    static constexpr float maxFrameTime = 1.0f;

    std::string levelName;
    std::string levelFile;
    int levelId = 0;          // 0: not named
    std::string levelSha256;  // empty: not named
    int physicsVersion = 0;   // 0: not named
    GameMode mode = raceMode;
    TurnSpeeds turnSpeeds;
    long long finishMilliseconds = -1;  // -1: not finished
    std::vector<RecordedFrame> frames;
};

// Names the level the run is played on: its file, permanent id and the
// SHA-256 of the file's bytes, and this game's physics version. False when the
// file cannot be read; the hash is then left empty.
bool stampLevelFile(RecordedRun& run, const std::string& levelFile, int levelId);

// The race clock (seconds) in whole milliseconds, rounded to the nearest.
long long raceMilliseconds(float seconds);

// What a parse accepts. Every bound is checked before the frames it would
// refuse are allocated, so hostile text costs no more than the bounds allow.
struct RunLimits {
    long long maxFrames = RecordedRun::maxFrames;
    float maxFrameTime = RecordedRun::maxFrameTime;  // seconds
    bool zeroFrameTimes = true;                      // frames of no time at all
    double maxGameSeconds = 1e30;                    // all frame times together
};

std::string formatRun(const RecordedRun& run);
// False with a message naming the line when the text is not a run; `run` is
// then left as it was.
bool parseRun(std::string_view text, RecordedRun& run, std::string& error,
              const RunLimits& limits = RunLimits());
bool readRunFile(const std::string& path, RecordedRun& run, std::string& error);
bool writeRunFile(const std::string& path, const RecordedRun& run);

// What a replay did.
struct ReplayResult {
    int framesPlayed = 0;
    int finishFrame = -1;  // index of the frame in which the level became finished
    float raceClock = 0.0f;
    long long milliseconds = -1;  // race clock at the finish; -1 when never finished
    int colourTargetsLeft = 0;
};

// Plays every frame of the run into a simulation whose level is already built
// (or stops at the first finished frame when `stopAtFinish` is set).
ReplayResult replayRun(LevelSimulation& simulation, const RecordedRun& run,
                       bool stopAtFinish = false);
