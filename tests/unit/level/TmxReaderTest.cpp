#include <gtest/gtest.h>

#include <climits>

#include "TmxTestText.hpp"
#include "level/TileKinds.hpp"
#include "sim/level/Base64.hpp"
#include "sim/level/TileGids.hpp"
#include "sim/level/TmxReader.hpp"

namespace {

// 5 x 3 cells: walls around a ball start, an empty cell, the finish, a slope,
// two targets and a fixed wall. With the tileset at gid 1, gid = tile id.
const std::vector<std::uint32_t> cellIds = {3, 3, 3, 3, 3, 3, 1, 0, 2, 3, 3, 5, 21, 26, 19};

const std::vector<std::int32_t> expectedTiles(cellIds.begin(), cellIds.end());

MapText mapWith(std::string data) {
    MapText map;
    map.data = std::move(data);
    return map;
}

TmxLevel readOrFail(const std::string& text) {
    const TmxRead read = readTmx(text);
    EXPECT_TRUE(read.level) << read.refusal.text() << "\n" << text;
    return read.level.value_or(TmxLevel{});
}

}  // namespace

TEST(TmxReader, EveryLayerEncodingOfTheEditorReadsTheSameCells) {
    const Bytes bytes = littleEndian(cellIds);
    const std::pair<const char*, std::string> encodings[] = {
        {"tile elements", xmlData(cellIds)},
        {"csv", csvData(cellIds, 5)},
        {"csv, CRLF line ends", csvData(cellIds, 5, "\r\n")},
        {"csv on one line with spaces",
         "<data encoding=\"csv\">3, 3,3,3,3,3,1,0,2,3,3,5,21,26,19"
         "</data>"},
        {"base64", base64Data(bytes)},
        {"base64 zlib", base64Data(deflated(bytes, 15), "zlib")},
        {"base64 gzip", base64Data(deflated(bytes, 31), "gzip")},
        {"base64 zstd", base64Data(zstdOf(bytes), "zstd")},
        {"base64 wrapped and without padding", "<data encoding=\"base64\">\n" +
                                                   base64Of(bytes).substr(0, 30) + "\n\t" +
                                                   base64Of(bytes).substr(30, 50) + "</data>"},
        {"base64 in CDATA", "<data encoding=\"base64\"><![CDATA[" + base64Of(bytes) + "]]></data>"},
    };
    for (const auto& [name, data] : encodings) {
        SCOPED_TRACE(name);
        const TmxLevel level = readOrFail(mapWith(data).text());
        EXPECT_EQ(level.map.width, 5);
        EXPECT_EQ(level.map.height, 3);
        EXPECT_EQ(level.map.tiles, expectedTiles);
    }
}

TEST(TmxReader, AttributesReadInAnyOrderAndQuoting) {
    const std::string data = xmlData(cellIds);
    MapText editor = mapWith(data);
    MapText reversed = mapWith(data);
    reversed.mapAttributes =
        R"(nextobjectid="1" infinite="0" height="3" width="5" orientation="orthogonal")";
    reversed.layerAttributes = R"(height="3" width="5" name="Layer 1" id="1")";
    MapText singleQuotes = mapWith(data);
    singleQuotes.mapAttributes = "width='5' height='3'";  // no orientation: orthogonal
    singleQuotes.layerAttributes = "name='a &amp; b'";    // no size: the map's
    singleQuotes.tilesets = "<tileset name='tiles' source='tiles.tsx' firstgid='1'/>";
    for (const MapText& map : {editor, reversed, singleQuotes}) {
        EXPECT_EQ(readOrFail(map.text()).map.tiles, expectedTiles);
    }
}

TEST(TmxReader, FlipAndRotationBitsAreClearedFromEveryGid) {
    constexpr std::uint32_t flags[] = {0x80000000u, 0x40000000u, 0x20000000u, 0x10000000u,
                                       0xF0000000u};
    for (const std::uint32_t flag : flags) {
        std::vector<std::uint32_t> flipped = cellIds;
        for (std::uint32_t& gid : flipped) {
            gid |= flag;  // an empty cell with flags is still empty
        }
        SCOPED_TRACE(flag);
        EXPECT_EQ(readOrFail(mapWith(xmlData(flipped)).text()).map.tiles, expectedTiles);
        EXPECT_EQ(readOrFail(mapWith(csvData(flipped, 5)).text()).map.tiles, expectedTiles);
        EXPECT_EQ(readOrFail(mapWith(base64Data(littleEndian(flipped))).text()).map.tiles,
                  expectedTiles);
    }
}

TEST(TmxReader, GidsCountFromTheFirstTilesetWhereverItStarts) {
    for (const std::uint32_t firstGid : {1u, 2u, 50u, 100000u}) {
        std::vector<std::uint32_t> gids;
        for (const std::uint32_t id : cellIds) {
            gids.push_back(id == 0 ? 0 : id - 1 + firstGid);
        }
        MapText map = mapWith(csvData(gids, 5));
        // A second tileset after ours, listed first, that the cells do not use.
        map.tilesets = "<tileset firstgid=\"" + std::to_string(firstGid + 26) +
                       "\" name=\"deco\"/><tileset firstgid=\"" + std::to_string(firstGid) +
                       "\" name=\"tiles\"/>";
        SCOPED_TRACE(firstGid);
        EXPECT_EQ(readOrFail(map.text()).map.tiles, expectedTiles);
    }
}

TEST(TmxReader, TheReaderKnowsTheTilesTheGameMakes) {
    for (int id = -2; id <= TileId::highest + 2; ++id) {
        EXPECT_EQ(isLevelTileId(id), id == 0 || tileImageIndex(id) >= 0) << "tile id " << id;
    }
}

TEST(TmxReader, MapPropertiesGiveTitleAndMode) {
    const auto propertiesOf = [](const std::string& properties) {
        MapText map = mapWith(xmlData(cellIds));
        map.tilesets = "<properties>" + properties + "</properties>" + map.tilesets;
        return readOrFail(map.text());
    };
    const struct {
        std::string properties, title, mode;
    } table[] = {
        {"", "", ""},
        {R"(<property name="title" value="Chaos &amp; Order"/>)", "Chaos & Order", ""},
        {R"(<property name="name" value="N"/><property name="title" value="T"/>)", "T", ""},
        {R"(<property name="name" value="N"/><property name="mode" value="puzzle"/>)", "N",
         "puzzle"},
        {R"(<property name="title" type="string">two
lines</property><property name="Mode" value="race"/>)",
         "two\nlines", ""},
    };
    for (const auto& row : table) {
        const TmxLevel level = propertiesOf(row.properties);
        EXPECT_EQ(level.title, row.title) << row.properties;
        EXPECT_EQ(level.mode, row.mode) << row.properties;
    }
}

TEST(TmxReader, Base64TextsAndTheirBytes) {
    const std::pair<std::string, std::optional<std::string>> table[] = {
        {"", ""},
        {"TWFu", "Man"},
        {"TWE=", "Ma"},
        {"TWE", "Ma"},  // padding left out
        {"TQ==", "M"},
        {" T W\nF u\r\n\t", "Man"},
        {"T", std::nullopt},  // six bits make no byte
        {"TQ=", std::nullopt},
        {"TQ===", std::nullopt},
        {"====", std::nullopt},
        {"TQ==TQ==", std::nullopt},
        {"TW-u", std::nullopt},
        {std::string("TWFu\0", 5), std::nullopt},
    };
    for (const auto& [text, bytes] : table) {
        const auto decoded = decodeBase64(text);
        ASSERT_EQ(decoded.has_value(), bytes.has_value()) << text;
        if (bytes) {
            EXPECT_EQ(std::string(decoded->begin(), decoded->end()), *bytes) << text;
        }
    }
}
