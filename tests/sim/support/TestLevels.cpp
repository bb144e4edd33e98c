#include "TestLevels.hpp"

#include <algorithm>

#include "TempFolder.hpp"
#include "sim/level/LevelSource.hpp"

TileMap levelFromRows(const std::vector<std::string>& rows) {
    TileMap map;
    map.height = static_cast<int>(rows.size());
    for (const std::string& row : rows) {
        map.width = std::max(map.width, static_cast<int>(row.size()));
    }
    for (const std::string& row : rows) {
        for (int column = 0; column < map.width; ++column) {
            const std::size_t at = static_cast<std::size_t>(column);
            map.tiles.push_back(at < row.size() ? std::max(0, tileIdOf(row[at])) : 0);
        }
    }
    return map;
}

std::string levelSource(const std::vector<std::string>& rows, const std::string& header) {
    std::string text = header + "map:\n";
    for (const std::string& row : rows) {
        text += row + "\n";
    }
    return text;
}

TileMap finishCorridor() {
    return levelFromRows({
        "XXXXXXXX",
        "X@    FX",
        "XXXXXXXX",
    });
}

TileMap closedRoom() {
    return levelFromRows({
        "XXXXX",
        "X   X",
        "X @ X",
        "X   X",
        "XXXXX",
    });
}

std::string corridorBytes() {
    return slurpFile(corridorLevel);
}
