#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// The bytes of a Base64 text (the standard alphabet, '+' and '/'). White space
// anywhere is skipped, as editors wrap and indent it; the '=' padding may be
// left out. Nothing when any other character appears, when padding stands
// anywhere but at the end, or when the length cannot be Base64.
std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text);
