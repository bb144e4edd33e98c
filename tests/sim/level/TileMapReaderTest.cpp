#include <gtest/gtest.h>

#include "TempFolder.hpp"
#include "TmxTestText.hpp"
#include "sim/level/TileMap.hpp"

TEST(TileMapReader, ALevelThatDoesNotReadLeavesNoCellsOfAnEarlierOne) {
    TempFolder folder;
    writeFileBytes(folder.file("good.tmx"), MapText{}.text());
    writeFileBytes(folder.file("unknown.tmx"),
                   MapText{.data = "<data><tile gid=\"20\"/></data>"}.text());
    writeFileBytes(folder.file("empty.tmx"), "");
    for (const std::string name : {"good.tmx", "unknown.tmx", "empty.tmx", "missing.tmx", ""}) {
        const bool reads = name == "good.tmx";
        TileMap map;
        ASSERT_TRUE(readTileMap(map, folder.file("good.tmx").c_str()));
        EXPECT_EQ(readTileMap(map, folder.file(name).c_str()), reads) << name;
        EXPECT_EQ(map.width * map.height, reads ? 15 : 0) << name;
        EXPECT_EQ(map.tiles.size(), reads ? 15u : 0u) << name;
        EXPECT_EQ(parseTileMap(map, slurpFile(folder.file(name))), reads) << name;
        EXPECT_EQ(map.tiles.size(), reads ? 15u : 0u) << name;
    }
    TileMap map;
    EXPECT_FALSE(readTileMap(map, nullptr));
}
