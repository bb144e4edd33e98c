#pragma once

#include <SFML/Window/Event.hpp>

#include <cstdint>

#include "ScriptedGame.hpp"
#include "game/PlayScreen.hpp"
#include "level/LevelCatalogue.hpp"

// The two small race levels of these tests: corridors with the ball at the
// left and the finish at the right end.
constexpr const char* corridorLevel = "tests/scene/game/levels/Corridor.tmx";
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
