#pragma once

#include <algorithm>
#include <cctype>
#include <string_view>

// Small pieces of reading text that the file readers and the HTTP client
// share.

// The text without the `space` characters at either end; empty when it is
// nothing else.
inline std::string_view trimmed(std::string_view text, std::string_view space = " \t\r") {
    const std::size_t first = text.find_first_not_of(space);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

// The same letters, ASCII case aside.
inline bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}
