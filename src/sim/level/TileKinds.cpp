#include "sim/level/TileKinds.hpp"

bool tileMakesSomething(int tileId) {
    return tileId >= TileId::ballStart && tileId <= TileId::highest && tileId != TileId::unused;
}

Colour tileColour(int tileId) {
    if (tileId >= TileId::firstSwitch && tileId <= TileId::lastSwitch) {
        return static_cast<Colour>(tileId - TileId::firstSwitch);
    }
    if (tileId >= TileId::firstTarget && tileId <= TileId::lastTarget) {
        return static_cast<Colour>(tileId - TileId::firstTarget);
    }
    return Colour::none;
}
