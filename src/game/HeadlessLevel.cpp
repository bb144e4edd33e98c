#include "game/HeadlessLevel.hpp"

#include "level/TileMap.hpp"

HeadlessLevel::HeadlessLevel(GameMode mode, const TurnSpeeds& speeds, std::string_view levelBytes)
    : sim(noPictures, mode, speeds) {
    TileMap map;
    parseTileMap(map, levelBytes);
    sim.buildLevel(map);
}
