#include "TestLevels.hpp"

#include <algorithm>
#include <map>

namespace {

// The tile ids of the characters of TestLevels.hpp; anything else is empty.
int idOf(char cell) {
    static const std::map<char, int> ids = {{'#', 19}, {'W', 3},  {'1', 1},  {'F', 2},  {'B', 4},
                                            {'P', 17}, {'s', 11}, {'t', 21}, {'R', 25}, {'o', 10}};
    const auto found = ids.find(cell);
    return found == ids.end() ? 0 : found->second;
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
