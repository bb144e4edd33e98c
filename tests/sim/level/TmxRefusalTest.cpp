// Files that are no level we can play: each is refused with its reason and the
// line it is about, never read as an empty or a different map.
#include <gtest/gtest.h>

#include "TempFolder.hpp"
#include "TmxTestText.hpp"
#include "sim/base/Unpack.hpp"
#include "sim/level/TmxReader.hpp"

namespace {

struct RefusalCase {
    std::string name;
    std::string text;
    std::string reason;  // a part of it
    int line;            // 0: none
};

std::string withData(const std::string& data) {
    return MapText{.data = data}.text();
}

std::string withMap(const std::string& mapAttributes) {
    return MapText{.mapAttributes = mapAttributes}.text();
}

std::string withTilesets(const std::string& tilesets, std::size_t cell = 0, std::uint32_t gid = 3) {
    std::vector<std::uint32_t> gids = testCells;
    gids[cell] = gid;
    return MapText{.tilesets = tilesets, .data = csvData(gids)}.text();
}

Bytes changed(Bytes bytes, std::size_t keep, std::size_t flip = SIZE_MAX) {
    bytes.resize(keep, 0);
    if (flip < bytes.size()) {
        bytes[flip] ^= 0x5A;
    }
    return bytes;
}

std::vector<RefusalCase> refusalCases() {
    const Bytes raw = littleEndian(testCells);
    const Bytes zlib = deflated(raw, 15), gzip = deflated(raw, 31), zstd = zstdOf(raw);
    const std::string good = MapText{}.text();
    std::vector<std::uint32_t> fewer = testCells, more = testCells;
    fewer.pop_back();
    more.push_back(3);
    const std::string ours = R"(<tileset firstgid="1" name="tiles"/>)";
    return {
        {"no XML", "level: 1\n#####\n", "no well-formed XML", 0},
        {"cut off", good.substr(0, good.find("<layer") + 10), "no well-formed XML", 4},
        {"a tileset file", "<?xml version=\"1.0\"?>\n<tileset/>", "<tileset>, not <map>", 2},
        {"isometric", withMap(R"(orientation="isometric" width="5" height="3")"), "isometric", 2},
        {"infinite", withMap(R"(width="5" height="3" infinite="1")"), "infinite", 2},
        {"no width", withMap(R"(height="3")"), "width \"\" is no whole number", 2},
        {"a negative height", withMap(R"(width="5" height="-3")"), "height \"-3\"", 2},
        {"no cells", withMap(R"(width="0" height="3")"), "above 0", 2},
        {"too wide", withMap(R"(width="235" height="3")"), "235 x 3 cells; a level has at most 234",
         2},
        {"past 32 bits", withMap(R"(width="5" height="4294967296")"), "height \"4294967296\"", 2},
        {"no tile layer", "<map width=\"5\" height=\"3\">\n<objectgroup/>\n</map>", "no tile layer",
         1},
        {"two tile layers", MapText{.afterLayer = "<group><layer/></group>"}.text(),
         "2 tile layers", 7},
        {"a narrower layer", MapText{.layerAttributes = R"(width="4" height="3")"}.text(),
         "the tile layer is 4 x 3 cells, but the map is 5 x 3", 4},
        {"no data", withData(""), "exactly one <data>", 4},
        {"a tile short", withData(xmlData(fewer)), "holds 14 tiles, but the map has 15 cells", 5},
        {"a tile more", withData(xmlData(more)), "more tiles than the map's 15 cells", 5},
        {"a base64 tile more", withData(base64Data(littleEndian(more))), "more tiles than", 5},
        {"no whole tile", withData(base64Data(changed(raw, 58))), "58 bytes are no whole number",
         5},
        {"csv without encoding", withData("<data>3,3,3</data>"), "names no encoding", 5},
        {"elements in csv", withData("<data encoding=\"csv\"><tile/></data>"), "<tile> element", 5},
        {"chunks", withData("<data><chunk x=\"0\" y=\"0\"/></data>"), "chunks", 5},
        {"another element", withData("<data><cell gid=\"3\"/></data>"), "unexpected <cell>", 5},
        {"a word for a gid", withData("<data><tile gid=\"wall\"/></data>"), "\"wall\"", 5},
        {"a negative csv gid", withData("<data encoding=\"csv\">-3,3</data>"), "\"-3\"", 5},
        {"a trailing comma", withData("<data encoding=\"csv\">3,3,</data>"), "empty field", 5},
        {"unknown encoding", withData("<data encoding=\"base32\"></data>"), "encoding \"base32\"",
         5},
        {"unknown compression", withData(base64Data(zlib, "lzma")), "compression \"lzma\"", 5},
        {"compressed csv", withData("<data encoding=\"csv\" compression=\"zlib\">3</data>"),
         "compressed but not Base64", 5},
        {"bad base64", withData("<data encoding=\"base64\">AAAA*AAA</data>"), "not valid Base64",
         5},
        {"base64 after padding", withData("<data encoding=\"base64\">AA==AAAA</data>"),
         "not valid Base64", 5},
        {"corrupt zlib", withData(base64Data(changed(zlib, zlib.size(), 4), "zlib")),
         "zlib-compressed layer data is corrupt", 5},
        {"cut gzip", withData(base64Data(changed(gzip, gzip.size() - 9), "gzip")), "ends early", 5},
        {"cut zstd", withData(base64Data(changed(zstd, zstd.size() - 2), "zstd")), "ends early", 5},
        {"corrupt zstd", withData(base64Data(changed(zstd, zstd.size(), 1), "zstd")),
         "zstd-compressed layer data is corrupt", 5},
        {"bytes after gzip", withData(base64Data(changed(gzip, gzip.size() + 1), "gzip")),
         "bytes after its end", 5},
        {"unused tile 19", withTilesets(ours, 7, 20),
         "the cell at x 2, y 1 holds tile 19 of tileset \"tiles\", which is no level tile", 5},
        {"a flipped tile 26", withTilesets(ours, 14, 0x80000000u + 27), "x 4, y 2 holds tile 26",
         5},
        {"a gid of a second tileset",
         withTilesets(ours + R"(<tileset firstgid="30" name="deco"/>)", 1, 31),
         "x 1, y 0 uses tileset \"deco\": only the first tileset, \"tiles\", holds level tiles", 5},
        {"a gid below the tileset", withTilesets(R"(<tileset firstgid="10"/>)"),
         "holds gid 3, which belongs to no tileset", 5},
        {"no tileset", withTilesets(""), "belongs to no tileset", 5},
        {"no firstgid", withTilesets(R"(<tileset name="t"/>)"), "no firstgid", 3},
        {"two at gid 1", withTilesets(ours + ours), "two tilesets start at gid 1", 3},
    };
}

}  // namespace

TEST(TmxRefusal, EachFileThatIsNoPlayableLevelIsRefusedWithItsReasonAndLine) {
    for (const RefusalCase& row : refusalCases()) {
        const TmxRead read = readTmx(row.text);
        ASSERT_FALSE(read.level) << row.name;
        EXPECT_NE(read.refusal.reason.find(row.reason), std::string::npos)
            << row.name << ": " << read.refusal.reason;
        const std::string line = row.line > 0 ? "line " + std::to_string(row.line) + ": " : "";
        EXPECT_EQ(read.refusal.text(), line + read.refusal.reason) << row.name;
    }
}

TEST(TmxRefusal, HugeMapsBombsUnreadableAndTooLargeFilesCostLittle) {
    // 16 KiB that unpack to 16 MiB: decompression stops one byte past the
    // largest map's cells.
    const Bytes zeros(16 << 20, 0);
    const std::size_t cellBytes = 234 * 234 * 4;
    const std::pair<Compression, Bytes> bombs[] = {{Compression::zlib, deflated(zeros, 15)},
                                                   {Compression::gzip, deflated(zeros, 31)},
                                                   {Compression::zstd, zstdOf(zeros)}};
    for (const auto& [method, packed] : bombs) {
        Bytes out;
        EXPECT_EQ(unpack(method, packed, cellBytes, out), Unpacking::tooLarge);
        EXPECT_LE(out.size(), cellBytes + 1);
    }
    // The largest map, its data the zlib bomb (a larger map is refused by its
    // header, before its data is looked at: "too wide" above).
    const std::string size = R"(width="234" height="234")";
    const MapText map{.mapAttributes = size,
                      .layerAttributes = size,
                      .data = base64Data(bombs[0].second, "zlib")};
    EXPECT_EQ(readTmx(map.text()).refusal.reason,
              "the layer data holds more tiles than the map's 54756 cells");

    TempFolder folder;
    writeFileBytes(folder.file("large.tmx"), std::string(TmxLimits::maxFileBytes + 1, ' '));
    const std::pair<std::string, std::string> refused[] = {
        {folder.file("missing.tmx"), "there is no such file"},
        {folder.path().string(), "it is no file but a folder or device"},
        {folder.file("large.tmx"), "the file is larger than 16 MiB"},
    };
    for (const auto& [path, reason] : refused) {
        const TmxRead read = readTmxFile(path);
        EXPECT_FALSE(read.level) << path;
        EXPECT_EQ(read.refusal.text(), reason) << path;
    }
}
