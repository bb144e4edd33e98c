#include <gtest/gtest.h>

#include <array>

#include "TempFolder.hpp"
#include "app/ProgramObjects.hpp"
#include "app/Random.hpp"

namespace {

std::array<int, 8> draws() {
    std::array<int, 8> values{};
    for (int& value : values) {
        value = Random::integer(0, 1 << 30);
    }
    return values;
}

}  // namespace

TEST(Random, EveryProgramStartDrawsItsOwnSequence) {
    Random::seed(Random::fixedSeed);
    const auto fixed = draws();
    TempFolder folder;
    std::array<int, 8> started[2];
    for (auto& sequence : started) {
        // As a fresh process: the generator at its fixed seed, then start-up.
        Random::seed(Random::fixedSeed);
        const ProgramObjects objects(folder.file(".Rollavortex"));
        sequence = draws();
    }
    EXPECT_NE(started[0], fixed);
    EXPECT_NE(started[0], started[1]);
    // Tests and replays still get the same sequence from the same seed.
    Random::seed(Random::fixedSeed);
    EXPECT_EQ(draws(), fixed);
}
