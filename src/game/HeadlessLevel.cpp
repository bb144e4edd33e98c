#include "game/HeadlessLevel.hpp"

#include "level/TileMap.hpp"

HeadlessLevel::HeadlessLevel(GameMode mode, const TurnSpeeds& speeds, std::string_view levelBytes)
    : sim(noPictures, mode, speeds) {
    // Bytes that are no level build a level of only the ball, where no run
    // finishes.
    TileMap map;
    parseTileMap(map, levelBytes);
    sim.buildLevel(map);
}
