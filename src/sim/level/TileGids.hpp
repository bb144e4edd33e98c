#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// How a gid of a level file becomes one of our tile ids.
//
// The tile editor numbers the tiles of all a map's tilesets one after the
// other: tile N of a tileset is gid firstgid + N, and gid 0 is an empty cell.
// Our tiles are the map's first tileset (the lowest firstgid), in the order
// levelc writes it: its tile N is our tile id N + 1 (tile 0 the ball start,
// tile 25 the yellow target; tile 19, like id 20, is unused). The shipped
// files, whose one tileset starts at gid 1, thus store our ids as they are,
// and a map whose tileset starts at another gid reads the same ids. A gid of
// any later tileset (decoration, say) is refused rather than read as one of
// ours.
//
// The top four bits of a gid are the editor's flip and rotation flags. They
// are cleared: our tiles have one look, so a flipped slope is still that slope.

struct TilesetStart {
    std::uint32_t firstGid = 0;
    std::string name;  // for messages: its name, or its file when it is external
};

// 0 (empty), 1..19 and 21..26: the ids of level/TileKinds.hpp.
bool isLevelTileId(std::int64_t id);

// The gids of a layer, row-major with `width` per row, as tile ids in
// `tiles`. Empty when every gid is a level tile; else, in words for the
// level's maker, the first cell that is not (x and y counted from 0 at the
// upper left, as the editor shows them). `tilesets` may be in any order.
std::string tileIdsOf(std::span<const std::uint32_t> gids, std::vector<TilesetStart> tilesets,
                      int width, std::vector<std::int32_t>& tiles);
