#include "sim/base/Sha256.hpp"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

using Block = std::array<std::uint8_t, 64>;

// The first 32 bits of the fractional parts of the cube roots of the first 64
// primes (FIPS 180-4, 4.2.2).
constexpr std::array<std::uint32_t, 64> roundConstants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::array<std::uint32_t, 8> initialHash = {
    0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

constexpr std::uint32_t rotateRight(std::uint32_t value, int bits) {
    return (value >> bits) | (value << (32 - bits));
}

void compress(std::array<std::uint32_t, 8>& hash, const Block& block) {
    std::array<std::uint32_t, 64> schedule{};
    for (std::size_t i = 0; i < 16; ++i) {
        schedule[i] = static_cast<std::uint32_t>(block[4 * i]) << 24 |
                      static_cast<std::uint32_t>(block[4 * i + 1]) << 16 |
                      static_cast<std::uint32_t>(block[4 * i + 2]) << 8 | block[4 * i + 3];
    }
    for (std::size_t i = 16; i < 64; ++i) {
        const std::uint32_t w15 = schedule[i - 15];
        const std::uint32_t w2 = schedule[i - 2];
        const std::uint32_t s0 = rotateRight(w15, 7) ^ rotateRight(w15, 18) ^ (w15 >> 3);
        const std::uint32_t s1 = rotateRight(w2, 17) ^ rotateRight(w2, 19) ^ (w2 >> 10);
        schedule[i] = schedule[i - 16] + s0 + schedule[i - 7] + s1;
    }
    std::array<std::uint32_t, 8> v = hash;
    for (std::size_t i = 0; i < 64; ++i) {
        const std::uint32_t s1 =
            rotateRight(v[4], 6) ^ rotateRight(v[4], 11) ^ rotateRight(v[4], 25);
        const std::uint32_t choice = (v[4] & v[5]) ^ (~v[4] & v[6]);
        const std::uint32_t t1 = v[7] + s1 + choice + roundConstants[i] + schedule[i];
        const std::uint32_t s0 =
            rotateRight(v[0], 2) ^ rotateRight(v[0], 13) ^ rotateRight(v[0], 22);
        const std::uint32_t majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
        v = {t1 + s0 + majority, v[0], v[1], v[2], v[3] + t1, v[4], v[5], v[6]};
    }
    for (std::size_t i = 0; i < 8; ++i) {
        hash[i] += v[i];
    }
}

std::string hexOf(const std::array<std::uint32_t, 8>& hash) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    for (std::uint32_t word : hash) {
        for (int shift = 28; shift >= 0; shift -= 4) {
            text += digits[(word >> shift) & 0xf];
        }
    }
    return text;
}

}  // namespace

std::string sha256Hex(std::string_view bytes) {
    std::array<std::uint32_t, 8> hash = initialHash;
    Block block{};
    std::size_t filled = 0;
    for (char byte : bytes) {
        block[filled++] = static_cast<std::uint8_t>(byte);
        if (filled == block.size()) {
            compress(hash, block);
            filled = 0;
        }
    }
    // Padding: a one bit, zeros, and the message length in bits in the last
    // eight bytes of the last block.
    block[filled++] = 0x80;
    if (filled > block.size() - 8) {
        std::fill(block.begin() + static_cast<std::ptrdiff_t>(filled), block.end(), 0);
        compress(hash, block);
        filled = 0;
    }
    std::fill(block.begin() + static_cast<std::ptrdiff_t>(filled), block.end() - 8, 0);
    const std::uint64_t bits = static_cast<std::uint64_t>(bytes.size()) * 8;
    for (std::size_t i = 0; i < 8; ++i) {
        block[block.size() - 1 - i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
    compress(hash, block);
    return hexOf(hash);
}

bool isSha256Hex(std::string_view text) {
    if (text.size() != 64) {
        return false;
    }
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}
