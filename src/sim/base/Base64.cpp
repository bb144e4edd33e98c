#include "sim/base/Base64.hpp"

#include <array>
#include <cstdint>

namespace Base64 {

namespace {

constexpr std::string_view standardDigits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view urlSafeDigits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

std::string_view digitsOf(Alphabet alphabet) {
    return alphabet == Alphabet::standard ? standardDigits : urlSafeDigits;
}

// -1 for a character outside the alphabet.
std::array<int, 256> valuesOf(Alphabet alphabet) {
    std::array<int, 256> values;
    values.fill(-1);
    const std::string_view digits = digitsOf(alphabet);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        values[static_cast<unsigned char>(digits[i])] = static_cast<int>(i);
    }
    return values;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

std::string encode(std::string_view bytes, Alphabet alphabet) {
    const std::string_view digits = digitsOf(alphabet);
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    std::uint32_t group = 0;
    int bits = 0;
    for (char byte : bytes) {
        group = (group << 8) | static_cast<unsigned char>(byte);
        bits += 8;
        while (bits >= 6) {
            bits -= 6;
            text += digits[(group >> bits) & 63];
        }
    }
    if (bits > 0) {
        text += digits[(group << (6 - bits)) & 63];
    }
    while (alphabet == Alphabet::standard && text.size() % 4 != 0) {
        text += '=';
    }
    return text;
}

std::optional<std::string> decode(std::string_view text, Alphabet alphabet, std::size_t maxBytes) {
    static const std::array<int, 256> standardValues = valuesOf(Alphabet::standard);
    static const std::array<int, 256> urlSafeValues = valuesOf(Alphabet::urlSafe);
    const std::array<int, 256>& values =
        alphabet == Alphabet::standard ? standardValues : urlSafeValues;
    if (maxBytes != std::string::npos && text.size() / 4 * 3 > maxBytes + 3) {
        return std::nullopt;
    }
    std::string bytes;
    std::uint32_t group = 0;
    int bits = 0;
    std::size_t padding = 0;
    std::size_t digits = 0;
    for (char c : text) {
        if (isSpace(c)) {
            continue;
        }
        if (c == '=') {
            ++padding;
            continue;
        }
        const int value = values[static_cast<unsigned char>(c)];
        if (value < 0 || padding > 0) {
            return std::nullopt;  // not a digit, or a digit after the padding
        }
        ++digits;
        group = (group << 6) | static_cast<std::uint32_t>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes += static_cast<char>((group >> bits) & 0xFF);
            if (bytes.size() > maxBytes) {
                return std::nullopt;
            }
        }
    }
    // One digit alone carries no byte; the bits left over must be zero.
    const bool wholeLength = digits % 4 != 1 && (padding == 0 || (digits + padding) % 4 == 0);
    if (!wholeLength || padding > 2 || (group & ((1u << bits) - 1)) != 0) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace Base64
