#pragma once

#include <gtest/gtest.h>

#include <string>

#include "TempFolder.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/run/RecordedRun.hpp"
#include "sim/run/RunText.hpp"

// A committed run (levels/runs/<stem>.run), its text and its level file.
struct ShippedRun {
    RecordedRun run;
    std::string text;
    std::string levelBytes;
};

inline ShippedRun loadShippedRun(const std::string& stem) {
    ShippedRun shipped{{}, slurpFile("levels/runs/" + stem + ".run"), {}};
    std::string error;
    EXPECT_TRUE(parseRun(shipped.text, shipped.run, error)) << stem << ": " << error;
    shipped.levelBytes = slurpFile(dataPath(shipped.run.levelFile));
    return shipped;
}
