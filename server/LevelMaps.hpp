#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "LevelMapSvg.hpp"
#include "ServerLevels.hpp"

// Maps drawn for the web board, kept by the SHA-256 of their level file: a
// page costs a read of the file and its hash, and a level file that changed
// under the server is drawn anew. At most kMostMaps are kept. All calls may
// come from any thread.
class LevelMaps {
  public:
    static constexpr std::size_t kMostMaps = 64;

    explicit LevelMaps(const ServerLevels& levels) : levels(levels) {}

    // The map of a level as its file is now; null when the file cannot be
    // read or is no level.
    std::shared_ptr<const LevelMap> of(const ServerLevel& level);
    // The map of the level file holding `bytes`; null when it is no level.
    std::shared_ptr<const LevelMap> ofFile(std::string_view bytes);

  private:
    const ServerLevels& levels;
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<const LevelMap>> maps;
};
