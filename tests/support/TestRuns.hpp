#pragma once

#include <string>

#include "sim/level/LevelIdentity.hpp"

// The committed runs of levels/runs (read from the working folder, the project
// root), and runs made from them for the run verification tests.
struct CommittedRun {
    const char* file;
    int mode;
    int level;
};
inline constexpr CommittedRun kCommittedRuns[] = {{"levels/runs/TheLabyrinth.run", 1, 250},
                                                  {"levels/runs/TheRopeBridge.run", 1, 275},
                                                  {"levels/runs/Fortified.run", 2, 20000},
                                                  {"levels/runs/ChaosUnleashed.run", 2, 20057}};

// The time-ms a run text names; 0 when it names none.
int recordedMs(const std::string& run);
// The mode a run text names, and its level: the shipped id it names, else
// the SHA-256 of its level file.
int modeOfRun(const std::string& run);
LevelIdentity levelOfRun(const std::string& run);

// A run.php body: the submission of `run` by `name` at `milliseconds`, and
// the run.
std::string runSubmission(const std::string& name, int mode, const LevelIdentity& level,
                          const std::string& run, long long milliseconds);
// The same on the mode, level and time the run names.
std::string runSubmission(const std::string& name, const std::string& run);

// The run with its header line `key` set to `value`.
std::string withHeader(const std::string& run, const std::string& key, const std::string& value);

// The same run with `releases` releases of Escape before its first frame:
// another text, another canonical run, the same replay to the bit.
std::string withHarmlessReleases(const std::string& run, int releases);

// A run of `run`'s level (format 3) that never finishes: its header, then
// `frames` frames of 17/1024 s in which no key is touched. 107,900 frames is
// just under the half hour a submitted run may last.
std::string neverFinishingRun(const std::string& run, long long frames = 107900);
