#pragma once

// Level files written in memory the way the tile editor writes them, in each
// of its layer encodings, for the TMX reader's tests.
#include <zlib.h>
#include <zstd.h>

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline Bytes littleEndian(const std::vector<std::uint32_t>& gids) {
    Bytes bytes;
    for (const std::uint32_t gid : gids) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<std::uint8_t>(gid >> shift));
        }
    }
    return bytes;
}

inline std::string base64Of(const Bytes& bytes) {
    static const char* alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            group = group << 8 | (k < n ? bytes[i + k] : 0u);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            text += k <= n ? alphabet[(group >> (18 - 6 * k)) & 63u] : '=';
        }
    }
    return text;
}

// zlib (windowBits 15) or gzip (31) stream of `bytes`, `repeat` times over
// without ever holding the whole input: a bomb is cheap to make (and quick,
// at the fastest level).
inline Bytes deflated(const Bytes& bytes, int windowBits, std::size_t repeat = 1) {
    const int level = repeat > 1 ? Z_BEST_SPEED : Z_BEST_COMPRESSION;
    z_stream stream{};
    deflateInit2(&stream, level, Z_DEFLATED, windowBits, 9, Z_DEFAULT_STRATEGY);
    Bytes out;
    Bytes buffer(1 << 16);
    for (std::size_t round = 0; round < repeat; ++round) {
        const int flush = round + 1 == repeat ? Z_FINISH : Z_NO_FLUSH;
        stream.next_in = const_cast<Bytef*>(bytes.data());
        stream.avail_in = static_cast<uInt>(bytes.size());
        do {
            stream.next_out = buffer.data();
            stream.avail_out = static_cast<uInt>(buffer.size());
            deflate(&stream, flush);
            out.insert(out.end(), buffer.data(), stream.next_out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return out;
}

// A zstd frame of `bytes`, `repeat` times over; streamed, so the frame names
// no content size and a window as large as the level asks for.
inline Bytes zstdOf(const Bytes& bytes, std::size_t repeat = 1, int level = 19) {
    ZSTD_CCtx* context = ZSTD_createCCtx();
    ZSTD_CCtx_setParameter(context, ZSTD_c_compressionLevel, level);
    Bytes out;
    Bytes buffer(ZSTD_CStreamOutSize());
    for (std::size_t round = 0; round < repeat; ++round) {
        const ZSTD_EndDirective mode = round + 1 == repeat ? ZSTD_e_end : ZSTD_e_continue;
        ZSTD_inBuffer in{bytes.data(), bytes.size(), 0};
        std::size_t left = 0;
        do {
            ZSTD_outBuffer chunk{buffer.data(), buffer.size(), 0};
            left = ZSTD_compressStream2(context, &chunk, &in, mode);
            out.insert(out.end(), buffer.data(), buffer.data() + chunk.pos);
        } while (mode == ZSTD_e_end ? left != 0 : in.pos < in.size);
    }
    ZSTD_freeCCtx(context);
    return out;
}

// A map of `width` x `height` as the editor lays it out, one part per line:
// line 2 the map, 3 the tileset, 4 the layer, 5 the start of its data.
struct MapText {
    int width = 5;
    int height = 3;
    std::string mapAttributes;  // replaces the editor's when set
    std::string tilesets = R"(<tileset firstgid="1" name="tiles" tilewidth="64" tileheight="64"/>)";
    std::string layerAttributes;  // replaces the editor's when set
    std::string data;
    std::string afterLayer;

    std::string text() const {
        const std::string w = std::to_string(width), h = std::to_string(height);
        const std::string mapLine =
            mapAttributes.empty()
                ? R"(version="1.8" tiledversion="1.8.2" orientation="orthogonal" )"
                  R"(renderorder="right-down" width=")" +
                      w + R"(" height=")" + h +
                      R"(" tilewidth="64" tileheight="64" infinite="0" nextlayerid="2")"
                : mapAttributes;
        const std::string layerLine = layerAttributes.empty() ? R"(id="1" name="Layer 1" width=")" +
                                                                    w + R"(" height=")" + h + "\""
                                                              : layerAttributes;
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map " + mapLine + ">\n " + tilesets +
               "\n <layer " + layerLine + ">\n  " + data + "\n </layer>\n " + afterLayer +
               "\n</map>\n";
    }
};

inline std::string xmlData(const std::vector<std::uint32_t>& gids) {
    std::string data = "<data>";
    for (const std::uint32_t gid : gids) {
        data += gid == 0 ? "\n   <tile/>" : "\n   <tile gid=\"" + std::to_string(gid) + "\"/>";
    }
    return data + "\n  </data>";
}

inline std::string csvData(const std::vector<std::uint32_t>& gids, int width,
                           const std::string& lineEnd = "\n") {
    std::string data = "<data encoding=\"csv\">" + lineEnd;
    for (std::size_t i = 0; i < gids.size(); ++i) {
        data += std::to_string(gids[i]);
        if (i + 1 < gids.size()) {
            data += (i + 1) % static_cast<std::size_t>(width) == 0 ? "," + lineEnd : ",";
        }
    }
    return data + lineEnd + "</data>";
}

inline std::string base64Data(const Bytes& bytes, const std::string& compression = "") {
    const std::string attribute = compression.empty() ? "" : " compression=\"" + compression + "\"";
    return "<data encoding=\"base64\"" + attribute + ">\n   " + base64Of(bytes) + "\n  </data>";
}
