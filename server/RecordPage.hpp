#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "LevelMapSvg.hpp"
#include "RouteBlob.hpp"
#include "ServerLevels.hpp"
#include "StoredRecord.hpp"

// A verified record as its page shows it.
struct RecordView {
    // Never null.
    const ServerLevel* level = nullptr;
    // In the table the board shows, from 1.
    std::size_t position = 0;
    std::string name;
    VerifiedBest verified;
};

// The route as SVG over a map (cell units): the line through its points, a
// ring where it starts and the ball where it finishes.
std::string routeSvg(const std::vector<RoutePoint>& route);

// The page's content: the level, place, time, name and day of verification;
// the map with the route over it (`map` null when the level file cannot be
// drawn), or words saying why there is no route; the link to the run.
std::string recordPageHtml(const RecordView& record, const LevelMap* map);

// The name a downloaded run is saved under: the level file's name, the
// position and the player's name, in letters, digits, '-' and '_' only.
std::string runFileName(const RecordView& record);
