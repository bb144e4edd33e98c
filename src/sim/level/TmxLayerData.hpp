#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The gids of a tile layer's <data> element in each encoding the tile editor
// writes: <tile> elements (no encoding), CSV, and Base64 plain or zlib-,
// gzip- or zstd-compressed. Exactly `cells` gids, flag bits still set, or a
// refusal in words for the level's maker (returned; empty when read). No
// encoding makes more than `cells` gids or unpacks more than their bytes.
std::string readLayerGids(const pugi::xml_node& data, std::size_t cells,
                          std::vector<std::uint32_t>& gids);
