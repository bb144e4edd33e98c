#pragma once

#include <optional>
#include <string>
#include <vector>

// The whole file as bytes, or nothing when it cannot be opened. An empty file
// gives an empty buffer, not nothing: callers can tell "missing" from "empty".
std::optional<std::vector<char>> readWholeFile(const std::string& path);
