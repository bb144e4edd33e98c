#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The whole file as bytes, or nothing when it cannot be opened. An empty file
// gives an empty buffer, not nothing: callers can tell "missing" from "empty".
std::optional<std::vector<char>> readWholeFile(const std::string& path);

// At most `limit` + 1 bytes of a file, so the caller tells a file of exactly
// the limit from a larger one (also when the file grows while it is read).
// Nothing when it is missing, no plain file or unreadable; `why` then says
// which, in words for the person who named the file.
std::optional<std::string> readFileUpTo(const std::filesystem::path& path, std::size_t limit,
                                        std::string& why);
