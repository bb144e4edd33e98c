#pragma once

#include <cstdint>

namespace soundgen {

// A small seeded generator (SplitMix64). Every random choice of the tool draws
// from one of these, so the same seed always renders the same bytes.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state(seed) {}

    std::uint64_t next() {
        state += 0x9E3779B97F4A7C15ull;
        std::uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform in [low, high).
    double range(double low, double high) { return low + (high - low) * unit(); }
    // White noise sample in [-1, 1).
    double noise() { return unit() * 2.0 - 1.0; }
    // Whole number in [0, count).
    int below(int count) { return static_cast<int>(unit() * count); }

  private:
    std::uint64_t state;
};

// Stable 64-bit hash of a text (FNV-1a), for deriving seeds from names.
inline std::uint64_t hashText(const char* text) {
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (; *text != '\0'; ++text) {
        hash = (hash ^ static_cast<unsigned char>(*text)) * 0x100000001B3ull;
    }
    return hash;
}

}  // namespace soundgen
