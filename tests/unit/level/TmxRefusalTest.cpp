// Files that are no level we can play: each is refused with its reason and the
// line it is about, never read as an empty or a different map.
#include <gtest/gtest.h>

#include <algorithm>

#include "TempFolder.hpp"
#include "TmxTestText.hpp"
#include "sim/level/TmxReader.hpp"
#include "sim/level/Unpack.hpp"

namespace {

const std::vector<std::uint32_t> cells = {3, 3, 3, 3, 3, 3, 1, 0, 2, 3, 3, 3, 3, 3, 3};

struct RefusalCase {
    std::string name;
    std::string text;
    std::string reason;  // a part of it
    int line;
};

MapText mapWith(std::string data) {
    MapText map;
    map.data = std::move(data);
    return map;
}

std::string withData(std::string data) {
    return mapWith(std::move(data)).text();
}

std::string withMap(const std::string& mapAttributes) {
    MapText map = mapWith(xmlData(cells));
    map.mapAttributes = mapAttributes;
    return map.text();
}

std::string withLayer(const std::string& layerAttributes) {
    MapText map = mapWith(xmlData(cells));
    map.layerAttributes = layerAttributes;
    return map.text();
}

std::string withTilesets(const std::string& tilesets, const std::vector<std::uint32_t>& gids) {
    MapText map = mapWith(csvData(gids, 5));
    map.tilesets = tilesets;
    return map.text();
}

// The cells on one line: what follows the layer is on line 7.
std::string withAfterLayer(const std::string& afterLayer) {
    std::string data = csvData(cells, 5);
    std::replace(data.begin(), data.end(), '\n', ' ');
    MapText map = mapWith(data);
    map.afterLayer = afterLayer;
    return map.text();
}

std::vector<std::uint32_t> withCell(std::size_t index, std::uint32_t gid) {
    std::vector<std::uint32_t> gids = cells;
    gids[index] = gid;
    return gids;
}

Bytes cut(Bytes bytes, std::size_t keep) {
    bytes.resize(keep);
    return bytes;
}

Bytes flipped(Bytes bytes, std::size_t at) {
    bytes[at] ^= 0x5A;
    return bytes;
}

Bytes appended(Bytes bytes, std::uint8_t extra) {
    bytes.push_back(extra);
    return bytes;
}

std::vector<RefusalCase> refusalCases() {
    const Bytes raw = littleEndian(cells);
    const Bytes zlib = deflated(raw, 15), gzip = deflated(raw, 31), zstd = zstdOf(raw);
    const std::string good = withData(xmlData(cells));
    std::vector<std::uint32_t> fewer = cells, more = cells;
    fewer.pop_back();
    more.push_back(3);
    return {
        {"no XML", "level: 1\n#####\n", "no well-formed XML", 0},
        {"an empty file", "", "no well-formed XML", 0},
        {"cut off", good.substr(0, good.find("<layer") + 10), "no well-formed XML", 4},
        {"a tileset file", "<?xml version=\"1.0\"?>\n<tileset name=\"t\"/>", "<tileset>, not <map>",
         2},
        {"isometric", withMap(R"(orientation="isometric" width="5" height="3")"), "isometric", 2},
        {"infinite", withMap(R"(width="5" height="3" infinite="1")"), "infinite", 2},
        {"no width", withMap(R"(height="3")"), "width \"\"", 2},
        {"a width of words", withMap(R"(width="five" height="3")"), "width \"five\"", 2},
        {"a negative height", withMap(R"(width="5" height="-3")"), "height \"-3\"", 2},
        {"no cells", withMap(R"(width="0" height="3")"), "above 0", 2},
        {"too wide", withMap(R"(width="235" height="3")"), "235 x 3 cells; a level has at most 234",
         2},
        {"too tall", withMap(R"(width="5" height="4294967295")"), "at most 234 x 234", 2},
        {"a number past 32 bits", withMap(R"(width="5" height="4294967296")"), "height", 2},
        {"no tile layer", "<map width=\"5\" height=\"3\">\n<objectgroup/>\n</map>", "no tile layer",
         1},
        {"two tile layers", withAfterLayer("<layer/>"), "2 tile layers", 7},
        {"a second layer in a group", withAfterLayer("<group><group><layer/></group></group>"),
         "2 tile layers", 7},
        {"a narrower layer", withLayer(R"(name="L" width="4" height="3")"),
         "the tile layer is 4 x 3 cells, but the map is 5 x 3", 4},
        {"a taller layer", withLayer(R"(height="30")"), "is 5 x 30 cells", 4},
        {"no data", withData(""), "exactly one <data>", 4},
        {"two data", withData(xmlData(cells) + xmlData(cells)), "exactly one <data>", 4},
        {"a tile short", withData(xmlData(fewer)), "holds 14 tiles, but the map has 15 cells", 5},
        {"a tile more", withData(xmlData(more)), "more tiles than the map's 15 cells", 5},
        {"a csv tile more", withData(csvData(more, 5)), "more tiles than", 5},
        {"a base64 tile short", withData(base64Data(littleEndian(fewer))), "holds 14 tiles", 5},
        {"a base64 tile more", withData(base64Data(littleEndian(more))), "more tiles than", 5},
        {"a zstd tile more", withData(base64Data(zstdOf(littleEndian(more)), "zstd")),
         "more tiles than", 5},
        {"no whole tile", withData(base64Data(cut(raw, 58))), "58 bytes are no whole number", 5},
        {"csv without encoding", withData("<data>3,3,3</data>"), "names no encoding", 5},
        {"a chunk", withData("<data encoding=\"csv\"><chunk x=\"0\" y=\"0\"/></data>"),
         "<chunk> element", 5},
        {"chunks of an infinite map", withData("<data><chunk x=\"0\" y=\"0\"/></data>"), "chunks",
         5},
        {"another element", withData("<data><cell gid=\"3\"/></data>"), "unexpected <cell>", 5},
        {"a word for a gid", withData("<data><tile gid=\"wall\"/></data>"), "\"wall\"", 5},
        {"a negative csv gid", withData("<data encoding=\"csv\">-3,3</data>"), "\"-3\"", 5},
        {"two commas", withData("<data encoding=\"csv\">3,,3</data>"), "empty field", 5},
        {"a trailing comma", withData(csvData(cells, 5).replace(43, 0, ",")), "empty field", 5},
        {"unknown encoding", withData("<data encoding=\"base32\"></data>"),
         "unknown encoding \"base32\"", 5},
        {"unknown compression", withData(base64Data(zlib, "lzma")), "unknown compression \"lzma\"",
         5},
        {"compressed csv", withData("<data encoding=\"csv\" compression=\"zlib\">3</data>"),
         "compressed but not Base64", 5},
        {"bad base64", withData("<data encoding=\"base64\">AAAA*AAA</data>"), "not valid Base64",
         5},
        {"base64 after padding", withData("<data encoding=\"base64\">AA==AAAA</data>"),
         "not valid Base64", 5},
        {"corrupt zlib", withData(base64Data(flipped(zlib, 4), "zlib")), "zlib-compressed", 5},
        {"gzip read as zlib", withData(base64Data(gzip, "zlib")), "zlib-compressed layer data is",
         5},
        {"cut zlib", withData(base64Data(cut(zlib, zlib.size() - 3), "zlib")), "ends early", 5},
        {"cut gzip", withData(base64Data(cut(gzip, gzip.size() - 9), "gzip")), "ends early", 5},
        {"cut zstd", withData(base64Data(cut(zstd, zstd.size() - 2), "zstd")), "ends early", 5},
        {"corrupt zstd", withData(base64Data(flipped(zstd, 1), "zstd")), "zstd-compressed", 5},
        {"bytes after gzip", withData(base64Data(appended(gzip, 0), "gzip")), "bytes after its end",
         5},
        {"bytes after zstd", withData(base64Data(appended(zstd, 0), "zstd")), "zstd-compressed", 5},
        {"unused tile 19", withTilesets(R"(<tileset firstgid="1" name="tiles"/>)", withCell(7, 20)),
         "the cell at x 2, y 1 holds tile 19 of tileset \"tiles\", which is no level tile", 5},
        {"tile 26", withTilesets(R"(<tileset firstgid="1" name="tiles"/>)", withCell(14, 27)),
         "x 4, y 2 holds tile 26", 5},
        {"a flipped unknown tile",
         withTilesets(R"(<tileset firstgid="1" name="t"/>)", withCell(0, 0x80000000u + 40)),
         "tile 39", 5},
        {"a gid of the second tileset",
         withTilesets(R"(<tileset firstgid="1" name="t"/><tileset firstgid="30" name="deco"/>)",
                      withCell(1, 31)),
         "x 1, y 0 uses tileset \"deco\": only the first tileset, \"t\", holds level tiles", 5},
        {"a gid below the tileset", withTilesets(R"(<tileset firstgid="10" name="t"/>)", cells),
         "holds gid 3, which belongs to no tileset", 5},
        {"no tileset", withTilesets("", cells), "belongs to no tileset", 5},
        {"a tileset without firstgid", withTilesets(R"(<tileset name="t"/>)", cells), "no firstgid",
         3},
        {"two tilesets at gid 1",
         withTilesets(R"(<tileset firstgid="1"/><tileset firstgid="1"/>)", cells),
         "two tilesets start at gid 1", 3},
    };
}

}  // namespace

TEST(TmxRefusal, EachFileThatIsNoPlayableLevelIsRefusedWithItsReasonAndLine) {
    for (const RefusalCase& row : refusalCases()) {
        SCOPED_TRACE(row.name);
        const TmxRead read = readTmx(row.text);
        ASSERT_FALSE(read.level) << row.text;
        EXPECT_NE(read.refusal.reason.find(row.reason), std::string::npos) << read.refusal.reason;
        EXPECT_EQ(read.refusal.line, row.line) << read.refusal.reason;
        const std::string line = row.line > 0 ? "line " + std::to_string(row.line) + ": " : "";
        EXPECT_EQ(read.refusal.text(), line + read.refusal.reason);
    }
}

TEST(TmxRefusal, AHugeMapIsRefusedByItsHeaderAlone) {
    // The data's first 100 rows would unpack to 4 MB; the header is refused
    // before the data is looked at.
    const std::vector<std::uint32_t> row(10000, 3);
    MapText map = mapWith(base64Data(deflated(littleEndian(row), 15, 100), "zlib"));
    map.width = map.height = 10000;
    const TmxRead read = readTmx(map.text());
    ASSERT_FALSE(read.level);
    EXPECT_EQ(read.refusal.reason, "the map is 10000 x 10000 cells; a level has at most 234 x 234");
}

TEST(TmxRefusal, ABombUnpacksNoFurtherThanTheMapsCells) {
    // 64 KiB that unpack to 64 MiB, for the largest map.
    const Bytes zeros(1 << 20, 0);
    const std::size_t cellBytes = 234 * 234 * 4;
    const std::pair<Compression, Bytes> bombs[] = {
        {Compression::zlib, deflated(zeros, 15, 64)},
        {Compression::gzip, deflated(zeros, 31, 64)},
        {Compression::zstd, zstdOf(zeros, 64, 1)},
    };
    for (const auto& [method, packed] : bombs) {
        Bytes out;
        EXPECT_EQ(unpack(method, packed, cellBytes, out), Unpacking::tooLarge);
        EXPECT_LE(out.size(), cellBytes + 1);
    }
    MapText map = mapWith(base64Data(bombs[0].second, "zlib"));
    map.width = map.height = 234;
    const TmxRead read = readTmx(map.text());
    ASSERT_FALSE(read.level);
    EXPECT_EQ(read.refusal.reason, "the layer data holds more tiles than the map's 54756 cells");
}

TEST(TmxRefusal, FilesThatCannotBeReadOrAreTooLarge) {
    TempFolder folder;
    writeFileBytes(folder.file("level.tmx"), withData(csvData(cells, 5)));
    writeFileBytes(folder.file("large.tmx"), std::string(TmxLimits::maxFileBytes + 1, ' '));
    const TmxRead good = readTmxFile(folder.file("level.tmx"));
    ASSERT_TRUE(good.level) << good.refusal.text();
    EXPECT_EQ(good.level->map.tiles.size(), cells.size());
    const std::pair<std::string, std::string> refused[] = {
        {folder.file("missing.tmx"), "there is no such file"},
        {folder.path().string(), "there is no such file"},
        {folder.file("large.tmx"), "the file is larger than 16 MiB"},
    };
    for (const auto& [path, reason] : refused) {
        const TmxRead read = readTmxFile(path);
        EXPECT_FALSE(read.level) << path;
        EXPECT_EQ(read.refusal.text(), reason) << path;
    }
}
