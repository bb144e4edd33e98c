#pragma once

#include "app/files/SettingKeys.hpp"
#include "sim/level/LevelIdentity.hpp"

struct RecordedRun;

// Personal bests live in the settings as score texts (see online/ScoreText),
// one entry per mode and level under personalBestKey.

// Stores the time as the level's personal best, replacing what was there.
void storePersonalBest(GameMode mode, const LevelIdentity& level, float seconds);
// The same, and the run that set it (when it was recorded) as the level's
// personal run (game/PersonalRuns), which the ghost replays. A run that cannot
// be written costs one line on standard error; the best is stored all the same.
void storePersonalBest(GameMode mode, const LevelIdentity& level, float seconds,
                       const RecordedRun* run);

// A finish that is no new best: its run still becomes the level's personal run
// when the stored one is slower or no longer replays, so there is a ghost to
// race after a physics change or a lost file.
void keepRunOfFinish(const RecordedRun* run);

// The stored best in seconds, or -1 when there is none or the entry is not a
// score text. Reading never adds an entry to the settings.
float readPersonalBest(GameMode mode, const LevelIdentity& level);

// A finish is a new personal best when nothing is stored yet or it is strictly
// faster; equalling the best is not enough. The time is compared as it would
// be stored (six significant digits), so a run that equals the best in every
// stored digit is no new best.
bool beatsPersonalBest(float storedBest, float time);
