#pragma once

#include <string>

class GameWindow;

// The whole game from start-up to shut-down, in its fixed order: audio up,
// screen settings read and written back, window opened, intro, main menu, audio
// down. The caller owns the program-wide objects and the window; a test passes
// a window already in script mode. With a run file to replay the intro is
// left out and the run shows first.
void runGame(GameWindow& window, const std::string& replayFile = "");

// The entry function's work: the command line read, the program-wide objects,
// a real window, the game, and the settings file written after a normal end.
// Returns the exit status: 2 for a command line not understood.
int runProgram(int argc, char** argv);
