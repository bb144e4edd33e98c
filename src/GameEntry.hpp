#pragma once

class GameWindow;
struct CommandLine;

// The whole game from start-up to shut-down, in its fixed order: audio up,
// screen settings read and written back, window opened, intro, main menu, audio
// down. The caller owns the program-wide objects and the window; a test passes
// a window already in script mode.
void runGame(GameWindow& window);

// The entry function's work: the program-wide objects (with what the command
// line asks), a real window, the game, and the settings file written after a
// normal end. Returns the exit status.
int runProgram(const CommandLine& line);
