#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

// A whole text that is a decimal number of 0..4294967295 and nothing else (no
// sign, no space, no fraction): attribute values and gids of level files.
// Nothing for anything else, an overflow included, so that no text is read
// as a number it does not say.
inline std::optional<std::uint32_t> plainNumber(std::string_view text) {
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || text.front() == '-' || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}
