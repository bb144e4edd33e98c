#include "sim/level/TmxReader.hpp"

#include <pugixml.hpp>

#include <algorithm>
#include <iterator>
#include <vector>

#include "sim/base/FileBytes.hpp"
#include "sim/level/PlainNumber.hpp"
#include "sim/level/TileGids.hpp"
#include "sim/level/TmxLayerData.hpp"

namespace {

using Refusal = std::optional<TmxRefusal>;

std::string element(std::string_view name) {
    return "<" + std::string(name) + ">";
}

// The map's tile layers, also those inside group layers. Walked without
// recursion: a hostile file may nest groups a million deep.
std::vector<pugi::xml_node> tileLayersOf(const pugi::xml_node& map) {
    std::vector<pugi::xml_node> layers;
    std::vector<pugi::xml_node> containers{map};
    while (!containers.empty()) {
        const pugi::xml_node container = containers.back();
        containers.pop_back();
        for (const pugi::xml_node child : container.children()) {
            const std::string_view name = child.name();
            if (name == "layer") {
                layers.push_back(child);
            } else if (name == "group") {
                containers.push_back(child);
            }
        }
    }
    std::sort(layers.begin(), layers.end(), [](const pugi::xml_node& a, const pugi::xml_node& b) {
        return a.offset_debug() < b.offset_debug();
    });
    return layers;
}

std::string propertyValue(const pugi::xml_node& property) {
    const pugi::xml_attribute value = property.attribute("value");
    // A text of several lines is kept as the element's text instead.
    return value ? value.value() : property.text().get();
}

class TmxDocument {
  public:
    explicit TmxDocument(std::string_view bytes) : bytes(bytes) {}

    TmxRead read() {
        TmxLevel level;
        Refusal refusal = parse();
        if (!refusal) {
            refusal = readMap(level);
        }
        if (refusal) {
            return TmxRead{std::nullopt, std::move(*refusal)};
        }
        return TmxRead{std::move(level), {}};
    }

  private:
    int lineAt(std::ptrdiff_t offset) const {
        if (offset < 0) {
            return 0;
        }
        const auto end = bytes.begin() + std::min(static_cast<std::size_t>(offset), bytes.size());
        return 1 + static_cast<int>(std::count(bytes.begin(), end, '\n'));
    }

    TmxRefusal refusal(std::string reason, const pugi::xml_node& where) const {
        return TmxRefusal{std::move(reason), lineAt(where.offset_debug())};
    }

    Refusal parse() {
        if (bytes.size() > TmxLimits::maxFileBytes) {
            return TmxRefusal{"the file is larger than 16 MiB", 0};
        }
        const pugi::xml_parse_result parsed = document.load_buffer(
            bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8);
        if (!parsed) {
            // With no element at all, the end of the file is no line to look at.
            const bool noElement = parsed.status == pugi::status_no_document_element;
            return TmxRefusal{
                "the file is no well-formed XML (" + std::string(parsed.description()) + ")",
                noElement ? 0 : lineAt(parsed.offset)};
        }
        return std::nullopt;
    }

    Refusal readMap(TmxLevel& level) const {
        const pugi::xml_node map = document.document_element();
        if (std::string_view(map.name()) != "map") {
            return refusal("the file is no tile map: its first element is " + element(map.name()) +
                               ", not <map>",
                           map);
        }
        Refusal refused = checkMapKind(map);
        if (!refused) {
            refused = readMapSize(map, level.map);
        }
        if (!refused) {
            refused = readCells(map, level.map);
        }
        if (!refused) {
            readProperties(map, level);
        }
        return refused;
    }

    Refusal checkMapKind(const pugi::xml_node& map) const {
        const std::string_view orientation = map.attribute("orientation").value();
        if (!orientation.empty() && orientation != "orthogonal") {
            return refusal(
                "the map is " + std::string(orientation) + "; a level is an orthogonal map", map);
        }
        const std::string_view infinite = map.attribute("infinite").value();
        if (!infinite.empty() && infinite != "0") {
            return refusal(
                "the map is infinite; a level has a fixed size (untick Infinite in the map's "
                "properties)",
                map);
        }
        return std::nullopt;
    }

    // Both sides are checked before anything is allocated for the cells.
    Refusal readMapSize(const pugi::xml_node& map, TileMap& cells) const {
        std::uint32_t size[2] = {0, 0};
        const char* names[2] = {"width", "height"};
        for (int i = 0; i < 2; ++i) {
            const pugi::xml_attribute attribute = map.attribute(names[i]);
            const auto value = plainNumber(attribute.value());
            if (!value || *value == 0) {
                return refusal("the map's " + std::string(names[i]) + " \"" + attribute.value() +
                                   "\" is no whole number of cells above 0",
                               map);
            }
            size[i] = *value;
        }
        const std::uint32_t largest = TmxLimits::maxCells;
        if (size[0] > largest || size[1] > largest) {
            return refusal("the map is " + std::to_string(size[0]) + " x " +
                               std::to_string(size[1]) + " cells; a level has at most " +
                               std::to_string(largest) + " x " + std::to_string(largest),
                           map);
        }
        cells.width = static_cast<std::int32_t>(size[0]);
        cells.height = static_cast<std::int32_t>(size[1]);
        return std::nullopt;
    }

    Refusal findTileLayer(const pugi::xml_node& map, const TileMap& cells,
                          pugi::xml_node& layer) const {
        const std::vector<pugi::xml_node> layers = tileLayersOf(map);
        if (layers.empty()) {
            return refusal("the map has no tile layer", map);
        }
        if (layers.size() > 1) {
            return refusal("the map has " + std::to_string(layers.size()) +
                               " tile layers; a level has exactly one (object and image layers "
                               "may stay)",
                           layers[1]);
        }
        layer = layers.front();
        const std::string mapWidth = std::to_string(cells.width);
        const std::string mapHeight = std::to_string(cells.height);
        // A layer without a size has the map's, as the editor reads it.
        const std::string width = layer.attribute("width").as_string(mapWidth.c_str());
        const std::string height = layer.attribute("height").as_string(mapHeight.c_str());
        if (width != mapWidth || height != mapHeight) {
            return refusal("the tile layer is " + width + " x " + height +
                               " cells, but the map is " + mapWidth + " x " + mapHeight,
                           layer);
        }
        return std::nullopt;
    }

    Refusal readTilesets(const pugi::xml_node& map, std::vector<TilesetStart>& tilesets) const {
        for (const pugi::xml_node tileset : map.children("tileset")) {
            const auto firstGid = plainNumber(tileset.attribute("firstgid").value());
            if (!firstGid || *firstGid == 0) {
                return refusal("a tileset has no firstgid above 0", tileset);
            }
            const bool taken = std::any_of(tilesets.begin(), tilesets.end(), [&](const auto& set) {
                return set.firstGid == *firstGid;
            });
            if (taken) {
                return refusal("two tilesets start at gid " + std::to_string(*firstGid), tileset);
            }
            const pugi::xml_attribute name = tileset.attribute("name");
            tilesets.push_back(
                {*firstGid, name ? name.value() : tileset.attribute("source").value()});
        }
        return std::nullopt;
    }

    Refusal readCells(const pugi::xml_node& map, TileMap& cells) const {
        pugi::xml_node layer;
        if (Refusal refused = findTileLayer(map, cells, layer)) {
            return refused;
        }
        const pugi::xml_node data = layer.child("data");
        if (!data || data.next_sibling("data")) {
            return refusal("the tile layer needs exactly one <data> element", layer);
        }
        std::vector<TilesetStart> tilesets;
        if (Refusal refused = readTilesets(map, tilesets)) {
            return refused;
        }
        const std::size_t count = static_cast<std::size_t>(cells.width) * cells.height;
        std::vector<std::uint32_t> gids;
        std::string reason = readLayerGids(data, count, gids);
        if (reason.empty()) {
            reason = tileIdsOf(gids, std::move(tilesets), cells.width, cells.tiles);
        }
        if (!reason.empty()) {
            return refusal(std::move(reason), data);
        }
        return std::nullopt;
    }

    void readProperties(const pugi::xml_node& map, TmxLevel& level) const {
        std::string name;
        for (const pugi::xml_node property : map.child("properties").children("property")) {
            const std::string_view key = property.attribute("name").value();
            if (key == "title") {
                level.title = propertyValue(property);
            } else if (key == "name") {
                name = propertyValue(property);
            } else if (key == "mode") {
                level.mode = propertyValue(property);
            }
        }
        if (level.title.empty()) {
            level.title = std::move(name);
        }
    }

    std::string_view bytes;
    pugi::xml_document document;
};

}  // namespace

std::string TmxRefusal::text() const {
    return line > 0 ? "line " + std::to_string(line) + ": " + reason : reason;
}

TmxRead readTmx(std::string_view bytes) {
    return TmxDocument(bytes).read();
}

TmxRead readTmxFile(const std::filesystem::path& path) {
    std::string why;
    const std::optional<std::string> bytes = readFileUpTo(path, TmxLimits::maxFileBytes, why);
    if (!bytes) {
        return TmxRead{std::nullopt, TmxRefusal{std::move(why), 0}};
    }
    return readTmx(*bytes);
}
