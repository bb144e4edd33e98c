#pragma once

#include <string>

#include "game/RecordedRun.hpp"

// A committed run of a shipped level, with its level file's bytes.
struct ShippedRun {
    RecordedRun run;
    std::string text;
    std::string levelBytes;
};

// levels/runs/<stem>.run and its level file; fails the test when either is missing.
ShippedRun loadShippedRun(const std::string& stem);
