#pragma once

// The two ways to play. The numbers are what the settings file, recorded runs
// and the highscore protocol carry, so they never change; a GameMode turns
// into its number by itself, a number becomes a GameMode only by a cast after
// checking it.
enum GameMode : int { raceMode = 1, puzzleMode = 2 };
