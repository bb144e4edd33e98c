#pragma once

// Level files written in memory the way the tile editor writes them, in each
// of its layer encodings, for the TMX reader's tests.
#include <zlib.h>
#include <zstd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sim/base/Base64.hpp"

using Bytes = std::vector<std::uint8_t>;

// 5 x 3 cells: walls, the ball start, an empty cell, the finish, a slope, two
// targets and a fixed wall. With the tileset at gid 1, gid = tile id.
inline const std::vector<std::uint32_t> testCells = {3, 3, 3, 3, 3,  3,  1, 0,
                                                     2, 3, 3, 5, 21, 26, 19};

inline Bytes littleEndian(const std::vector<std::uint32_t>& gids) {
    Bytes bytes;
    for (const std::uint32_t gid : gids) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<std::uint8_t>(gid >> shift));
        }
    }
    return bytes;
}

// Base64 as the editor writes it (the encoder is checked against RFC 4648's
// examples in unit_online).
inline std::string base64Of(const Bytes& bytes) {
    return Base64::encode(std::string(bytes.begin(), bytes.end()), Base64::Alphabet::standard);
}

// A zlib (windowBits 15) or gzip (31) stream.
inline Bytes deflated(const Bytes& bytes, int windowBits) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, windowBits, 9, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&stream, bytes.size()));
    stream.next_in = const_cast<Bytef*>(bytes.data());
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

inline Bytes zstdOf(const Bytes& bytes) {
    Bytes out(ZSTD_compressBound(bytes.size()));
    out.resize(ZSTD_compress(out.data(), out.size(), bytes.data(), bytes.size(), 1));
    return out;
}

inline std::string xmlData(const std::vector<std::uint32_t>& gids) {
    std::string data = "<data>";
    for (const std::uint32_t gid : gids) {
        data += gid == 0 ? "\n   <tile/>" : "\n   <tile gid=\"" + std::to_string(gid) + "\"/>";
    }
    return data + "\n  </data>";
}

inline std::string csvData(const std::vector<std::uint32_t>& gids,
                           const std::string& lineEnd = "\n") {
    std::string data = "<data encoding=\"csv\">" + lineEnd;
    for (std::size_t i = 0; i < gids.size(); ++i) {
        data += std::to_string(gids[i]) + (i + 1 == gids.size() ? ""
                                           : i % 5 == 4         ? "," + lineEnd
                                                                : ",");
    }
    return data + lineEnd + "</data>";
}

inline std::string base64Data(const Bytes& bytes, const std::string& compression = "") {
    const std::string attribute = compression.empty() ? "" : " compression=\"" + compression + "\"";
    return "<data encoding=\"base64\"" + attribute + ">\n   " + base64Of(bytes) + "\n  </data>";
}

// A map laid out as the editor writes it, one part per line: line 2 the map,
// 3 the tilesets, 4 the layer, 5 its data (on one line unless set otherwise),
// 7 what follows the layer. Parts are set by name: MapText{.data = ...}.
struct MapText {
    std::string mapAttributes =
        R"(version="1.8" tiledversion="1.8.2" orientation="orthogonal" renderorder="right-down" )"
        R"(width="5" height="3" tilewidth="64" tileheight="64" infinite="0" nextlayerid="2")";
    std::string tilesets = R"(<tileset firstgid="1" name="tiles" tilewidth="64" tileheight="64"/>)";
    std::string layerAttributes = R"(id="1" name="Layer 1" width="5" height="3")";
    std::string data = csvData(testCells, " ");
    std::string afterLayer = "";

    std::string text() const {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map " + mapAttributes + ">\n " +
               tilesets + "\n <layer " + layerAttributes + ">\n  " + data + "\n </layer>\n " +
               afterLayer + "\n</map>\n";
    }
};
