#pragma once

#include <SFML/Window/Event.hpp>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "TempFolder.hpp"
#include "TestAudio.hpp"
#include "app/platform/GameWindow.hpp"
#include "app/platform/ProgramObjects.hpp"

// Everything a scene test needs to run real screens: the real mixer on the
// dummy driver, program-wide objects whose settings file lives in a temporary
// folder (the random generator back at its fixed seed), and a real window (in the virtual display)
// in script mode with a fixed frame time and a frame budget so a wrong script ends instead of
// hanging.
//
// Steps are queued against frame numbers; `at` lets a test act when a
// condition first holds (for example "the menu accepts input").
class ScriptedGame {
  public:
    explicit ScriptedGame(const std::string& settingsText = "", float frameTime = 1.0f / 60.0f,
                          std::uint64_t frameBudget = 60 * 120);

    GameWindow& window() { return gameWindow; }
    Settings& settings() { return objects.settings; }

    // Key press (and release, when `release` is set) in the given frame.
    void keyAt(std::uint64_t frame, sf::Keyboard::Key key, bool release = true, bool shift = false,
               bool control = false);
    // keyAt, `frames` frames after the current one.
    void keyIn(std::uint64_t frames, sf::Keyboard::Key key, bool release = true) {
        keyAt(gameWindow.frameNumber() + frames, key, release);
    }
    // A sequence of taps, one every `gap` frames, starting at `frame`; returns the
    // frame after the last tap.
    std::uint64_t tapKeys(std::uint64_t frame, const std::vector<sf::Keyboard::Key>& keys,
                          std::uint64_t gap = 6);
    void closeAt(std::uint64_t frame);
    // Runs `action` in the display() of the first frame for which `condition`
    // holds, once. Conditions are checked in the order they were added.
    void when(std::function<bool(GameWindow&)> condition, std::function<void(GameWindow&)> action);
    // Called at every display(), after the conditions.
    void everyFrame(std::function<void(GameWindow&)> action);

    // Saves the settings as the game does on a normal end and returns the file.
    std::string savedSettingsFile();

  private:
    struct Trigger {
        std::function<bool(GameWindow&)> condition;
        std::function<void(GameWindow&)> action;
        bool done = false;
    };

    TempFolder temp;
    // The player's runs go to the temporary folder too, never to the home.
    ScopedDataFolder userData;
    std::string path;
    TestAudio audio;
    ProgramObjects objects;
    GameWindow gameWindow;
    std::vector<Trigger> triggers;
    std::vector<std::function<void(GameWindow&)>> frameActions;
};

// Settings file text from key/value pairs.
std::string settingsText(const std::map<std::string, std::string>& values);

// Does the test run with a display? Scene tests skip themselves without one.
bool haveDisplay();
#define REQUIRE_DISPLAY() \
    if (!haveDisplay())   \
    GTEST_SKIP() << "no display"
