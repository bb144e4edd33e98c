#include <gtest/gtest.h>

#include <string>

#include "TempFolder.hpp"
#include "sim/level/TileMap.hpp"

namespace {

// A map as the tile editor writes it in its plain XML encoding.
std::string mapText(int width, int height, int layers, const std::string& lineEnd = "\n",
                    const std::string& indent = "   ") {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + lineEnd;
    text += "<map version=\"1.0\" orientation=\"orthogonal\" width=\"" + std::to_string(width) +
            "\" height=\"" + std::to_string(height) + "\">" + lineEnd;
    for (int layer = 0; layer < layers; ++layer) {
        text += " <layer name=\"Layer " + std::to_string(layer + 1) + "\" width=\"" +
                std::to_string(width) + "\" height=\"" + std::to_string(height) + "\">" + lineEnd;
        text += "  <data>" + lineEnd;
        for (int i = 0; i < width * height; ++i) {
            text +=
                indent + "<tile gid=\"" + std::to_string((i + layer * 7) % 27) + "\"/>" + lineEnd;
        }
        text += "  </data>" + lineEnd + " </layer>" + lineEnd;
    }
    text += "</map>" + lineEnd;
    return text;
}

TileMap parsed(const std::string& text) {
    TileMap map;
    parseTileMap(map, text);
    return map;
}

TEST(TileMapReader, LayersGiveSizeAndIdsInFileOrderOneAfterTheOther) {
    const TileMap map = parsed(mapText(20, 15, 2));
    EXPECT_EQ(map.width, 20);
    EXPECT_EQ(map.height, 15);
    ASSERT_EQ(map.tiles.size(), 600u);
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(map.tiles[i], i % 27) << "cell " << i;
    }
    EXPECT_EQ(map.tiles[300], 7);  // the second layer's first id
}

TEST(TileMapReader, LineEndsBlankLinesAndIndentationDoNotMatter) {
    const TileMap plain = parsed(mapText(6, 4, 1));
    for (auto [lineEnd, indent] :
         {std::pair{"\r\n", "   "}, {"\n\n\n", "   "}, {"\n", "\t\t"}, {"\r\n  \n", " \t "}}) {
        const TileMap other = parsed(mapText(6, 4, 1, lineEnd, indent));
        EXPECT_EQ(other.width, plain.width);
        EXPECT_EQ(other.height, plain.height);
        EXPECT_EQ(other.tiles, plain.tiles);
    }
    // The last line needs no line feed.
    EXPECT_EQ(parsed("<layer name=\"Layer 1\" width=\"1\" height=\"1\">\n<tile gid=\"5\"/>").tiles,
              std::vector<std::int32_t>{5});
}

TEST(TileMapReader, OnlyLayerNamesOfOneWordAndANumberGiveTheSize) {
    TileMap map;
    parseTileMap(map, "<layer name=\"Tile Layer 1\" width=\"9\" height=\"9\">");
    EXPECT_EQ(map.width, 0);
    parseTileMap(map, "<layer name=\"Ground\" width=\"9\" height=\"9\">");
    EXPECT_EQ(map.width, 0);
    // Attributes in another order than name, width, height.
    parseTileMap(map, "<layer id=\"1\" name=\"Layer 1\" width=\"9\" height=\"9\">");
    EXPECT_EQ(map.width, 0);
    parseTileMap(map, "<layer name=\"Layer 1\" height=\"9\" width=\"4\">");
    EXPECT_EQ(map.width, 9);  // read as given: the second number is taken as the height
    EXPECT_EQ(map.height, 4);
    parseTileMap(map, "<layer name=\"Layer 2\" width=\"12\" height=\"3\" opacity=\"0.5\">");
    EXPECT_EQ(map.width, 12);
    EXPECT_EQ(map.height, 3);
    // A later layer line replaces the size; an unreadable one keeps it.
    parseTileMap(map, "<layer name=\"Layer 3\" width=\"x\" height=\"3\">");
    EXPECT_EQ(map.width, 12);
}

TEST(TileMapReader, TileLinesWithoutAnIdKeepTheirCellOrShiftTheRest) {
    const TileMap map = parsed(
        "<tile gid=\"0\"/>\n"
        "<tile gid=\"\"/>\n"
        "<tile gid=\"abc\"/>\n"
        "<tile gid=\"4\"/><tile gid=\"9\"/>\n"
        "<tile/>\n"
        "<tile gid=\"-3\"/>\n"
        "<tile gid=\"99999999999999\"/>\n");
    // An empty or unreadable id is an empty cell; <tile/> adds nothing; only
    // the first element of a line counts; huge numbers saturate.
    EXPECT_EQ(map.tiles, (std::vector<std::int32_t>{0, 0, 0, 4, -3, 2147483647}));
    // A NUL byte ends the text; other encodings give the size but no ids.
    std::string withNul = "<tile gid=\"1\"/>\n<tile gid=\"2\"/>\n";
    withNul += '\0';
    withNul += "<tile gid=\"3\"/>\n";
    EXPECT_EQ(parsed(withNul).tiles, (std::vector<std::int32_t>{1, 2}));
    const TileMap csv = parsed(
        "<layer name=\"Layer 1\" width=\"3\" height=\"2\">\n"
        "  <data encoding=\"csv\">\n1,2,3,\n4,5,6\n</data>\n</layer>\n");
    EXPECT_EQ(csv.width, 3);
    EXPECT_TRUE(csv.tiles.empty());
}

TEST(TileMapReader, EachReadStartsFromNoIdsButKeepsAnUnreplacedSize) {
    TempFolder folder;
    writeFileBytes(folder.file("a.tmx"), mapText(5, 7, 1));
    writeFileBytes(folder.file("b.tmx"), "<tile gid=\"8\"/>\n");
    TileMap map;
    ASSERT_TRUE(readTileMap(map, folder.file("a.tmx").c_str()));
    EXPECT_EQ(map.tiles.size(), 35u);
    ASSERT_TRUE(readTileMap(map, folder.file("b.tmx").c_str()));
    EXPECT_EQ(map.width, 5);
    EXPECT_EQ(map.tiles, std::vector<std::int32_t>{8});
    EXPECT_FALSE(readTileMap(map, folder.file("missing.tmx").c_str()));
    EXPECT_FALSE(readTileMap(map, folder.path().string().c_str()));  // a folder
    EXPECT_FALSE(readTileMap(map, nullptr));
    EXPECT_EQ(map.width, 5);
    EXPECT_EQ(map.height, 7);
    EXPECT_TRUE(map.tiles.empty());
    // An empty file opens: true, nothing read.
    writeFileBytes(folder.file("empty.tmx"), "");
    EXPECT_TRUE(readTileMap(map, folder.file("empty.tmx").c_str()));
    EXPECT_EQ(map.width, 5);
}

}  // namespace
