#include "sim/level/Base64.hpp"

#include <array>

namespace {

constexpr std::int8_t notBase64 = -1;
constexpr std::int8_t whiteSpace = -2;
constexpr std::int8_t padding = -3;
constexpr int bitsPerSymbol = 6;
constexpr int bitsPerByte = 8;
constexpr int symbolsPerQuantum = 4;

constexpr std::array<std::int8_t, 256> symbolValues() {
    std::array<std::int8_t, 256> values{};
    values.fill(notBase64);
    const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (int i = 0; i < 64; ++i) {
        values[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
    }
    for (const char c : {' ', '\t', '\n', '\r'}) {
        values[static_cast<unsigned char>(c)] = whiteSpace;
    }
    values['='] = padding;
    return values;
}

constexpr std::array<std::int8_t, 256> values = symbolValues();

}  // namespace

std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / symbolsPerQuantum * 3);
    std::uint32_t bits = 0;
    int bitCount = 0;
    int symbols = 0;
    int paddings = 0;
    for (const char c : text) {
        const std::int8_t value = values[static_cast<unsigned char>(c)];
        if (value == whiteSpace) {
            continue;
        }
        if (value == padding) {
            ++paddings;
            continue;
        }
        // A symbol after padding, or a character outside the alphabet.
        if (value == notBase64 || paddings > 0) {
            return std::nullopt;
        }
        ++symbols;
        bits = (bits << bitsPerSymbol) | static_cast<std::uint32_t>(value);
        bitCount += bitsPerSymbol;
        if (bitCount >= bitsPerByte) {
            bitCount -= bitsPerByte;
            bytes.push_back(static_cast<std::uint8_t>(bits >> bitCount));
            bits &= (1u << bitCount) - 1u;
        }
    }
    // One symbol alone carries no whole byte; padding only fills a quantum.
    const int rest = symbols % symbolsPerQuantum;
    const bool lengthFits =
        paddings == 0 ? rest != 1 : rest >= 2 && rest + paddings == symbolsPerQuantum;
    if (!lengthFits) {
        return std::nullopt;
    }
    return bytes;
}
