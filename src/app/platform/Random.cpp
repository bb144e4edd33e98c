#include "app/platform/Random.hpp"

#include <random>

namespace {

std::mt19937& generator() {
    static std::mt19937 engine(Random::fixedSeed);
    return engine;
}

}  // namespace

namespace Random {

void seed(std::uint32_t value) {
    generator().seed(value);
}

int integer(int low, int high) {
    if (high <= low) {
        return low;
    }
    std::uniform_int_distribution<int> pick(low, high);
    return pick(generator());
}

float real(float low, float high) {
    if (high <= low) {
        return low;
    }
    // Scale a 24-bit draw by hand: the standard real distribution may round up
    // to the open bound and differs between library versions.
    const std::uint32_t bits = generator()() >> 8;
    const float unit = static_cast<float>(bits) / static_cast<float>((1u << 24) - 1u);
    return low + (high - low) * unit;
}

}  // namespace Random
