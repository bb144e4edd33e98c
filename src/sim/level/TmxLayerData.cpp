#include "sim/level/TmxLayerData.hpp"

#include <algorithm>
#include <optional>
#include <string_view>

#include "sim/base/Base64.hpp"
#include "sim/base/PlainText.hpp"
#include "sim/base/Unpack.hpp"
#include "sim/level/PlainNumber.hpp"

namespace {

constexpr std::size_t bytesPerGid = 4;  // little-endian, in Base64 data
constexpr std::string_view whiteSpace = " \t\r\n";

std::string tooManyTiles(std::size_t cells) {
    return "the layer data holds more tiles than the map's " + std::to_string(cells) + " cells";
}

std::string notANumber(std::string_view text) {
    return "the layer data holds \"" + std::string(text.substr(0, 20)) +
           "\" where a tile number belongs";
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(whiteSpace) == std::string_view::npos;
}

// One <tile> element per cell; <tile/> is an empty cell, as the editor writes it.
std::string readTileElements(const pugi::xml_node& data, std::size_t cells,
                             std::vector<std::uint32_t>& gids) {
    for (const pugi::xml_node child : data.children()) {
        const pugi::xml_node_type type = child.type();
        if ((type == pugi::node_pcdata || type == pugi::node_cdata) && !isBlank(child.value())) {
            return "the layer data holds text but names no encoding (csv or base64)";
        }
        if (type != pugi::node_element) {
            continue;
        }
        const std::string_view name = child.name();
        if (name == "chunk") {
            return "the layer data is split into chunks, as only infinite maps are";
        }
        if (name != "tile") {
            return "the layer data holds an unexpected <" + std::string(name) + "> element";
        }
        if (gids.size() == cells) {
            return tooManyTiles(cells);
        }
        const pugi::xml_attribute gid = child.attribute("gid");
        const auto value = gid ? plainNumber(gid.value()) : std::optional<std::uint32_t>(0);
        if (!value) {
            return notANumber(gid.value());
        }
        gids.push_back(*value);
    }
    return "";
}

// The text of an encoded <data>: its text pieces joined (a comment may split it).
std::string encodedText(const pugi::xml_node& data, std::string& text) {
    for (const pugi::xml_node child : data.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            text += child.value();
        } else if (child.type() == pugi::node_element) {
            return "the encoded layer data holds a <" + std::string(child.name()) +
                   "> element, not only text";
        }
    }
    return "";
}

std::string readCsv(std::string_view text, std::size_t cells, std::vector<std::uint32_t>& gids) {
    if (isBlank(text)) {
        return "";
    }
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t comma = std::min(text.find(',', at), text.size());
        const std::string_view field = trimmed(text.substr(at, comma - at), whiteSpace);
        if (field.empty()) {
            return "the CSV layer data has an empty field (two commas in a row?)";
        }
        const auto gid = plainNumber(field);
        if (!gid) {
            return notANumber(field);
        }
        if (gids.size() == cells) {
            return tooManyTiles(cells);
        }
        gids.push_back(*gid);
        at = comma + 1;
    }
    return "";
}

std::optional<Compression> compressionNamed(std::string_view name) {
    if (name == "zlib") {
        return Compression::zlib;
    }
    if (name == "gzip") {
        return Compression::gzip;
    }
    if (name == "zstd") {
        return Compression::zstd;
    }
    return std::nullopt;
}

std::string unpackRefusal(Unpacking outcome, std::string_view compression, std::size_t cells) {
    const std::string stream = "the " + std::string(compression) + "-compressed layer data ";
    switch (outcome) {
        case Unpacking::complete:
            return "";
        case Unpacking::corrupt:
            return stream + "is corrupt";
        case Unpacking::cutShort:
            return stream + "ends early: the file may have been cut off";
        case Unpacking::tooLarge:
            return tooManyTiles(cells);
        case Unpacking::trailingBytes:
            return stream + "has bytes after its end";
    }
    return stream + "is corrupt";
}

std::string readBase64(std::string_view text, std::string_view compression, std::size_t cells,
                       std::vector<std::uint32_t>& gids) {
    const auto decoded = Base64::decode(text, Base64::Alphabet::standard);
    if (!decoded) {
        return "the layer data is not valid Base64";
    }
    auto bytes =
        std::optional<std::vector<std::uint8_t>>(std::in_place, decoded->begin(), decoded->end());
    if (!compression.empty()) {
        std::vector<std::uint8_t> unpacked;
        const Unpacking outcome =
            unpack(*compressionNamed(compression), *bytes, cells * bytesPerGid, unpacked);
        if (outcome != Unpacking::complete) {
            return unpackRefusal(outcome, compression, cells);
        }
        bytes = std::move(unpacked);
    }
    if (bytes->size() > cells * bytesPerGid) {
        return tooManyTiles(cells);
    }
    if (bytes->size() % bytesPerGid != 0) {
        return "the layer data's " + std::to_string(bytes->size()) +
               " bytes are no whole number of tiles (4 bytes each)";
    }
    gids.resize(bytes->size() / bytesPerGid);
    for (std::size_t i = 0; i < gids.size(); ++i) {
        const std::uint8_t* b = bytes->data() + i * bytesPerGid;
        gids[i] = static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                  static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
    }
    return "";
}

std::string readEncoded(const pugi::xml_node& data, std::string_view encoding,
                        std::string_view compression, std::size_t cells,
                        std::vector<std::uint32_t>& gids) {
    std::string text;
    const std::string refusal = encodedText(data, text);
    if (!refusal.empty()) {
        return refusal;
    }
    if (encoding == "csv") {
        return readCsv(text, cells, gids);
    }
    return readBase64(text, compression, cells, gids);
}

// Empty when the encoding and compression are ones the editor writes.
std::string encodingRefusal(std::string_view encoding, std::string_view compression) {
    if (!encoding.empty() && encoding != "csv" && encoding != "base64") {
        return "the layer data has the unknown encoding \"" + std::string(encoding) +
               "\" (the editor writes csv, base64 or none)";
    }
    if (compression.empty()) {
        return "";
    }
    if (encoding != "base64") {
        return "the layer data is compressed but not Base64-encoded";
    }
    if (!compressionNamed(compression)) {
        return "the layer data has the unknown compression \"" + std::string(compression) +
               "\" (the editor writes zlib, gzip or zstd)";
    }
    return "";
}

}  // namespace

std::string readLayerGids(const pugi::xml_node& data, std::size_t cells,
                          std::vector<std::uint32_t>& gids) {
    gids.clear();
    const std::string_view encoding = data.attribute("encoding").value();
    const std::string_view compression = data.attribute("compression").value();
    std::string refusal = encodingRefusal(encoding, compression);
    if (refusal.empty()) {
        refusal = encoding.empty() ? readTileElements(data, cells, gids)
                                   : readEncoded(data, encoding, compression, cells, gids);
    }
    if (refusal.empty() && gids.size() != cells) {
        refusal = "the layer data holds " + std::to_string(gids.size()) +
                  " tiles, but the map has " + std::to_string(cells) + " cells";
    }
    if (!refusal.empty()) {
        gids.clear();
    }
    return refusal;
}
