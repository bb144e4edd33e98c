#include "sim/run/ScoreText.hpp"

#include <array>
#include <cmath>
#include <locale>
#include <sstream>

#include "sim/base/PlainDecimal.hpp"

namespace {

// Nine letters and an underscore: none of them is a digit, a space or a
// character with a meaning in a request body, so score texts travel unescaped.
constexpr std::array<char, 10> kDigitCharacters = {'J', 'r', 'X', 'm', 'E',
                                                   't', 'W', 'h', 'C', '_'};

// The longest digit run a time below a million seconds needs is far shorter;
// the bound only keeps hostile input small.
constexpr std::size_t kMaxScoreDigits = 16;

}  // namespace

char scoreCharacter(int digit) {
    if (digit < 0 || digit > 9) {
        return '\0';
    }
    return kDigitCharacters[static_cast<std::size_t>(digit)];
}

int scoreDigit(char character) {
    for (std::size_t i = 0; i < kDigitCharacters.size(); ++i) {
        if (kDigitCharacters[i] == character) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string encodeTime(float seconds) {
    const std::string number = plainDecimal(seconds, 6);
    const std::size_t point = number.rfind('.');
    const std::size_t pointPosition = point == std::string::npos ? 0 : point;

    std::string text = std::to_string(pointPosition) + " ";
    for (char c : number) {
        if (c >= '0' && c <= '9') {
            text += scoreCharacter(c - '0');
        }
    }
    return text;
}

float decodeTime(std::string_view text) {
    if (text.size() < 3) {
        return -1;
    }
    std::istringstream head{std::string(text)};
    head.imbue(std::locale::classic());
    int pointPosition = 0;
    if (!(head >> pointPosition)) {
        return -1;
    }

    // The digits always start at index 2: the point position is one digit.
    std::string number;
    for (std::size_t i = 2; i < text.size(); ++i) {
        const int digit = scoreDigit(text[i]);
        number += static_cast<char>('0' + (digit < 0 ? 0 : digit));
        if (pointPosition > 0 && i == static_cast<std::size_t>(pointPosition) + 1) {
            number += '.';
        }
    }
    std::istringstream digits(number);
    digits.imbue(std::locale::classic());
    float seconds = 0;
    if (!(digits >> seconds) || !std::isfinite(seconds)) {
        // A digit run too long for a float: not a time this game wrote.
        return -1;
    }
    return seconds;
}

std::optional<float> parseScoreText(std::string_view text) {
    if (text.size() < 3 || text.size() - 2 > kMaxScoreDigits) {
        return std::nullopt;
    }
    if (text[0] < '0' || text[0] > '9' || text[1] != ' ') {
        return std::nullopt;
    }
    for (std::size_t i = 2; i < text.size(); ++i) {
        if (scoreDigit(text[i]) < 0) {
            return std::nullopt;
        }
    }
    const std::size_t pointPosition = static_cast<std::size_t>(text[0] - '0');
    if (pointPosition > text.size() - 2) {
        return std::nullopt;
    }
    const float seconds = decodeTime(text);
    if (seconds < 0) {
        return std::nullopt;
    }
    return seconds;
}
