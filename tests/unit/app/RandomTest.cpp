#include <gtest/gtest.h>

#include <array>

#include "TempFolder.hpp"
#include "app/platform/ProgramObjects.hpp"
#include "app/platform/Random.hpp"

TEST(Random, EveryProgramStartDrawsItsOwnSequence) {
    const auto draws = [] {
        std::array<int, 8> values{};
        for (int& value : values) {
            value = Random::integer(0, 1 << 30);
        }
        return values;
    };
    Random::seed(Random::fixedSeed);
    const auto fixed = draws();
    TempFolder folder;
    std::array<int, 8> started[2];
    for (auto& sequence : started) {
        // As in a fresh process: the generator at its fixed seed, then start-up.
        Random::seed(Random::fixedSeed);
        const ProgramObjects objects(folder.file(".Rollavortex"));
        sequence = draws();
    }
    EXPECT_NE(started[0], fixed);
    EXPECT_NE(started[0], started[1]);
    Random::seed(Random::fixedSeed);
    EXPECT_EQ(draws(), fixed) << "tests still repeat a sequence from the same seed";
}
