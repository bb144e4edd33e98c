#include "level/TileKinds.hpp"

#include "level/TileImages.hpp"

int tileImageIndex(int tileId) {
    using namespace TileId;
    switch (tileId) {
        case ballStart:
            return TileImages::player;
        case finish:
            return TileImages::finish;
        case wall:
        case bridgeBlock:
        case fixedWall:
            return TileImages::wall;
        case breakable:
            return TileImages::breakable;
        case slopeUpperRight:
            return TileImages::wallUpperRight;
        case slopeLowerRight:
            return TileImages::wallLowerRight;
        case slopeLowerLeft:
            return TileImages::wallLowerLeft;
        case slopeUpperLeft:
            return TileImages::wallUpperLeft;
        case looseDiamond:
            return TileImages::looseDiamond;
        case looseBall:
            return TileImages::looseBall;
        case penalty:
            return TileImages::penalty;
        default:
            break;
    }
    if (tileId >= firstSwitch && tileId <= lastSwitch) {
        return TileImages::firstSwitch + (tileId - firstSwitch);
    }
    if (tileId >= firstTarget && tileId <= lastTarget) {
        return TileImages::firstTarget + (tileId - firstTarget);
    }
    return -1;
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
