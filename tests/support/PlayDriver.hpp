#pragma once

#include <SFML/Window/Event.hpp>

#include <cstdint>

#include "ScriptedGame.hpp"
#include "TestLevels.hpp"
#include "game/PlayScreen.hpp"
#include "level/LevelCatalogue.hpp"

// The two small race levels of the scene tests: the corridor and a longer one.
constexpr const char* longCorridorLevel = "tests/scene/game/levels/LongCorridor.tmx";
constexpr int corridorId = 9001;
constexpr int longCorridorId = 9002;
LevelCatalogue corridorCatalogue();
// The short corridor alone, under a level id the highscore server knows.
LevelCatalogue corridorAs(int levelId);

// Plays the corridors as a player would: a quarter turn to the right after
// the horn, then Space once the finish flash is over.
class CorridorDriver {
  public:
    CorridorDriver(ScriptedGame& game, PlayScreen& screen);

    // Stops driving (the test takes over the keys).
    bool enabled = true;

  private:
    void onFrame(GameWindow& window);
    void send(GameWindow& window, const sf::Event& event, std::uint64_t delay = 1);

    PlayScreen& screen;
};
