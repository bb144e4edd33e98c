#include "ShippedRun.hpp"

#include <gtest/gtest.h>

#include "TempFolder.hpp"

ShippedRun loadShippedRun(const std::string& stem) {
    ShippedRun shipped;
    shipped.text = slurpFile("levels/runs/" + stem + ".run");
    std::string error;
    EXPECT_TRUE(parseRun(shipped.text, shipped.run, error)) << stem << ": " << error;
    shipped.levelBytes = slurpFile(shipped.run.levelFile);
    EXPECT_FALSE(shipped.levelBytes.empty()) << shipped.run.levelFile;
    return shipped;
}
