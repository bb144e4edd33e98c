#pragma once

#include <string_view>

#include "game/ControlKeys.hpp"
#include "game/LevelSimulation.hpp"
#include "level/TileImages.hpp"

// A level built from its file's bytes for replaying a run: no window, no
// picture (the tile table stays empty, and the level needs none to be built)
// and nothing read from the data folder. The server's run check and the ghost
// use it.
class HeadlessLevel {
  public:
    HeadlessLevel(GameMode mode, const TurnSpeeds& speeds, std::string_view levelBytes);
    HeadlessLevel(const HeadlessLevel&) = delete;
    HeadlessLevel& operator=(const HeadlessLevel&) = delete;

    LevelSimulation& simulation() { return sim; }
    const LevelSimulation& simulation() const { return sim; }

  private:
    TileImages noPictures;
    LevelSimulation sim;
};
