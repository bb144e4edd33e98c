#include "TestLevels.hpp"

#include <algorithm>

namespace {

int idOf(char cell) {
    switch (cell) {
        case '#':
            return 19;
        case 'W':
            return 3;
        case '1':
            return 1;
        case 'F':
            return 2;
        case 'B':
            return 4;
        case 'P':
            return 17;
        case 's':
            return 11;
        case 't':
            return 21;
        case 'R':
            return 25;
        case 'o':
            return 10;
        default:
            return 0;
    }
}

}  // namespace

TileMap levelFromRows(const std::vector<std::string>& rows) {
    TileMap map;
    map.height = static_cast<int>(rows.size());
    for (const std::string& row : rows) {
        map.width = std::max(map.width, static_cast<int>(row.size()));
    }
    for (const std::string& row : rows) {
        for (int column = 0; column < map.width; ++column) {
            const std::size_t at = static_cast<std::size_t>(column);
            map.tiles.push_back(at < row.size() ? idOf(row[at]) : 0);
        }
    }
    return map;
}

TileMap finishCorridor() {
    return levelFromRows({
        "########",
        "#1    F#",
        "########",
    });
}

TileMap closedRoom() {
    return levelFromRows({
        "#####",
        "#   #",
        "# 1 #",
        "#   #",
        "#####",
    });
}
