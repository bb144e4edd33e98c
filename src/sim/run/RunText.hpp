#pragma once

#include <string>
#include <string_view>

#include "sim/run/RecordedRun.hpp"

// The text form of a run, one item a line ('#' starts a comment line):
//
//   rollavortex-run 3
//   level: The Labyrinth
//   file: levels/TheLabyrinth.tmx  the level file, inside the data folder
//   level-id: 250               the level's permanent id (LevelList)
//   level-sha256: 75fa...713    SHA-256 of the level file's bytes, 64 hex digits
//   physics: 3                  LevelSimulation::physicsVersion it was played with
//   mode: 1                     1 "Race", 2 "Puzzle"
//   turn-speeds: 280 140 420    degrees per second: plain, Shift, Control
//   inverted-controls: 0        1 when Left and Right were swapped
//   time-ms: 61234              race clock at the finish, in milliseconds
//   frames: 3967                frames in all
//   300 17                      300 frames of 17 ticks (17/1024 s) without inputs
//   1 17 +Left -Space           one frame: press Left, release Space, then advance
//   4 18 +LShift/s              press Left Shift, then advance four frames
//   1 17 ~-62.5                 a pad pushed 62.5 % to the left
//
// A frame line is: how many frames, their frame time, then the inputs given
// before the first of them. In version 3 the frame time is a whole number of
// ticks of 1/1024 s (FrameTicks); versions 1 and 2 wrote seconds ("300
// 0.016666668") and still read. An input is '+' (pressed) or '-' (released),
// a key name (Left Right Up Down Space Return Escape LShift RShift LControl
// RControl Other), and optionally '/' with the flags the event carried: 's'
// Shift, 'c' Control. A pad's turn is '~' and its percent, from -100 to 100
// (0 lets go).
//
// Version 1 files (no level-id, level-sha256, physics, turn-speeds or
// inverted-controls lines) still read, with the default turn speeds; a missing
// level id, hash or physics version reads as 0 or empty.
//
// Every header value is bounded to what the game can produce: turn speeds
// within the options' range, texts of at most RecordedRun::maxTextLength
// printable characters, a time below a million seconds.

// What a parse accepts beyond that. Every bound is checked before the frames
// it would refuse are allocated, so hostile text costs no more than the
// bounds allow.
struct RunLimits {
    long long maxFrames = RecordedRun::maxFrames;
    float maxFrameTime = RecordedRun::maxFrameTime;  // seconds
    bool zeroFrameTimes = true;                      // frames of no time at all
    double maxGameSeconds = 1e30;                    // all frame times together
};

// The run's canonical text: no comments, no blank lines, the header in a
// fixed order, frames of equal time without inputs joined in one line.
// Version 3 when every frame time is a whole number of ticks up to a quarter
// of a second, else version 2.
std::string formatRun(const RecordedRun& run);
// False with a message naming the line when the text is not a run; `run` is
// then left as it was.
bool parseRun(std::string_view text, RecordedRun& run, std::string& error,
              const RunLimits& limits = RunLimits());
bool readRunFile(const std::string& path, RecordedRun& run, std::string& error);
// Written whole or not at all (a temporary file renamed over the old one).
bool writeRunFile(const std::string& path, const RecordedRun& run);
