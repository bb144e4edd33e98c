#include <gtest/gtest.h>

#include "TempFolder.hpp"
#include "TmxTestText.hpp"
#include "level/TileMap.hpp"

TEST(TileMapReader, ALevelThatDoesNotReadLeavesNoCellsOfAnEarlierOne) {
    TempFolder folder;
    MapText good;
    good.data = csvData({3, 3, 3, 3, 1, 3}, 3);
    good.width = 3;
    good.height = 2;
    MapText unknownTile = good;
    unknownTile.data = csvData({3, 3, 3, 3, 1, 20}, 3);
    writeFileBytes(folder.file("good.tmx"), good.text());
    writeFileBytes(folder.file("unknown.tmx"), unknownTile.text());
    writeFileBytes(folder.file("empty.tmx"), "");
    const struct {
        std::string path;
        bool reads;
    } table[] = {
        {folder.file("good.tmx"), true},   {folder.file("unknown.tmx"), false},
        {folder.file("empty.tmx"), false}, {folder.file("missing.tmx"), false},
        {folder.path().string(), false},  // a folder
    };
    for (const auto& row : table) {
        TileMap map;
        ASSERT_TRUE(readTileMap(map, folder.file("good.tmx").c_str()));
        EXPECT_EQ(readTileMap(map, row.path.c_str()), row.reads) << row.path;
        EXPECT_EQ(map.width, row.reads ? 3 : 0) << row.path;
        EXPECT_EQ(map.height, row.reads ? 2 : 0) << row.path;
        EXPECT_EQ(map.tiles.size(), row.reads ? 6u : 0u) << row.path;
        EXPECT_EQ(parseTileMap(map, slurpFile(row.path)), row.reads) << row.path;
        EXPECT_EQ(map.tiles.size(), row.reads ? 6u : 0u) << row.path;
    }
    TileMap map;
    EXPECT_FALSE(readTileMap(map, nullptr));
}
