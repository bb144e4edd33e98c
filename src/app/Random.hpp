#pragma once

#include <cstdint>

// The program-wide uniform generator. Every random choice of the game (music
// shuffle, cloud and burst particles, mascot moves) draws from it, so seeding it
// makes a whole session repeatable in tests and replays.
namespace Random {

// Restarts the sequence. Without a call the generator starts from a fixed seed.
void seed(std::uint32_t value);

// A whole number in [low, high], both bounds included; low when high < low.
int integer(int low, int high);

// A real number in [low, high]; low when high <= low.
float real(float low, float high);

}  // namespace Random
