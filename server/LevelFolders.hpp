#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "ScoreStore.hpp"
#include "ServerLevels.hpp"

// The levels this server keeps tables for: the game's own four, the packs of
// the data folder's levels/ (the Tour: every server has them), then the
// levels and packs of each folder the operator names (--levels), read and
// judged by the game's own code once, at the start. A level that cannot be
// played is logged with its reasons and left out; a file with the same bytes
// as one found before is that level, kept once. The store gives each custom
// level its key. Empty, with the reason logged, when a folder is missing or
// the store failed.
std::optional<ServerLevels> readServerLevels(const std::vector<std::filesystem::path>& folders,
                                             ScoreStore& store);
