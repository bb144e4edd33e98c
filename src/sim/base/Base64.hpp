#pragma once

#include <optional>
#include <string>
#include <string_view>

// Base64 (RFC 4648) in its two alphabets: the standard one with '+' and '/'
// (level files) and the URL and file name safe one with '-' and '_' (runs in a
// request body, where neither needs escaping).
namespace Base64 {

enum class Alphabet { standard, urlSafe };

// Without padding for urlSafe, with '=' padding for standard.
std::string encode(std::string_view bytes, Alphabet alphabet);
// The bytes, or nothing for a character outside the alphabet, a length that
// no encoding has, or bits left over. Padding is optional; white space
// (spaces, tabs, line ends) between characters is skipped. At most `maxBytes`
// are decoded: a longer text is refused before anything is allocated for it.
std::optional<std::string> decode(std::string_view text, Alphabet alphabet,
                                  std::size_t maxBytes = std::string::npos);

}  // namespace Base64
