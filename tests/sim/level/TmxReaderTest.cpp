#include <gtest/gtest.h>

#include "TmxTestText.hpp"
#include "sim/level/TmxReader.hpp"

namespace {

const std::vector<std::int32_t> expectedTiles(testCells.begin(), testCells.end());

TmxLevel readOrFail(const MapText& map) {
    const TmxRead read = readTmx(map.text());
    EXPECT_TRUE(read.level) << read.refusal.text() << "\n" << map.text();
    return read.level.value_or(TmxLevel{});
}

std::vector<std::int32_t> tilesOf(const std::string& data) {
    return readOrFail(MapText{.data = data}).map.tiles;
}

}  // namespace

TEST(TmxReader, EveryEncodingAttributeOrderFlipBitAndFirstGidReadsTheSameCells) {
    const Bytes bytes = littleEndian(testCells);
    const std::string text = base64Of(bytes);
    const std::pair<const char*, std::string> encodings[] = {
        {"tile elements", xmlData(testCells)},
        {"csv", csvData(testCells)},
        {"csv, CRLF line ends", csvData(testCells, "\r\n")},
        {"base64", base64Data(bytes)},
        {"base64 zlib", base64Data(deflated(bytes, 15), "zlib")},
        {"base64 gzip", base64Data(deflated(bytes, 31), "gzip")},
        {"base64 zstd", base64Data(zstdOf(bytes), "zstd")},
        {"base64 wrapped, no padding", "<data encoding=\"base64\">\n" + text.substr(0, 30) +
                                           "\n\t" + text.substr(30, 50) + "</data>"},
        {"base64 in CDATA", "<data encoding=\"base64\"><![CDATA[" + text + "]]></data>"},
    };
    for (const auto& [name, data] : encodings) {
        const TmxLevel level = readOrFail(MapText{.data = data});
        EXPECT_EQ(level.map.width, 5) << name;
        EXPECT_EQ(level.map.height, 3) << name;
        EXPECT_EQ(level.map.tiles, expectedTiles) << name;
    }

    const MapText maps[] = {
        MapText{.mapAttributes = R"(infinite="0" height="3" width="5" orientation="orthogonal")",
                .layerAttributes = R"(height="3" width="5" name="Layer 1" id="1")"},
        // No orientation (orthogonal), a layer without a size (the map's).
        MapText{.mapAttributes = "width='5' height='3'",
                .tilesets = "<tileset name='tiles' source='tiles.tsx' firstgid='1'/>",
                .layerAttributes = "name='a &amp; b'"},
    };
    for (const MapText& map : maps) {
        EXPECT_EQ(readOrFail(map).map.tiles, expectedTiles);
    }

    for (const std::uint32_t flag : {0x80000000u, 0x40000000u, 0x20000000u, 0x10000000u}) {
        std::vector<std::uint32_t> flipped = testCells;
        for (std::uint32_t& gid : flipped) {
            gid |= flag;  // an empty cell with flags is still empty
        }
        EXPECT_EQ(tilesOf(xmlData(flipped)), expectedTiles) << flag;
        EXPECT_EQ(tilesOf(csvData(flipped)), expectedTiles) << flag;
        EXPECT_EQ(tilesOf(base64Data(littleEndian(flipped))), expectedTiles) << flag;
    }

    for (const std::uint32_t firstGid : {1u, 2u, 100000u}) {
        std::vector<std::uint32_t> gids;
        for (const std::uint32_t id : testCells) {
            gids.push_back(id == 0 ? 0 : id - 1 + firstGid);
        }
        // A second tileset after ours, listed first, that the cells do not use.
        const MapText map{.tilesets = "<tileset firstgid=\"" + std::to_string(firstGid + 26) +
                                      "\" name=\"deco\"/><tileset firstgid=\"" +
                                      std::to_string(firstGid) + "\" name=\"tiles\"/>",
                          .data = csvData(gids)};
        EXPECT_EQ(readOrFail(map).map.tiles, expectedTiles) << firstGid;
    }
}

TEST(TmxReader, MapPropertiesGiveTitleAndMode) {
    const struct {
        std::string properties, title, mode;
    } table[] = {
        {"", "", ""},
        {R"(<property name="title" value="Rock &amp; Roll"/>)", "Rock & Roll", ""},
        {R"(<property name="name" value="N"/><property name="title" value="T"/>)", "T", ""},
        {R"(<property name="name" value="N"/><property name="mode" value="puzzle"/>)", "N",
         "puzzle"},
        {"<property name=\"title\">two\nlines</property><property name=\"Mode\" value=\"x\"/>",
         "two\nlines", ""},
    };
    for (const auto& row : table) {
        const TmxLevel level =
            readOrFail(MapText{.tilesets = "<properties>" + row.properties + "</properties>" +
                                           R"(<tileset firstgid="1" name="tiles"/>)"});
        EXPECT_EQ(level.title, row.title) << row.properties;
        EXPECT_EQ(level.mode, row.mode) << row.properties;
    }
}
