#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/Window/Event.hpp>

#include <optional>
#include <string>
#include <vector>

#include "app/audio/SoundEffect.hpp"
#include "app/look/MenuList.hpp"
#include "app/look/ScreenFade.hpp"
#include "game/ReplaySource.hpp"
#include "menu/ReplayEntries.hpp"

class GameWindow;
class ParticleEmitter;

// "Replays": the runs the game can show (ReplayEntries), one a line under the
// menu's look and keys, scrolling when there are more than fit. A chosen run
// fades to black and plays in the replay screen; when that ends the list
// fades back in, so another can be watched. A record is asked of the server
// when chosen, with one frame of a wait message first; when the server has
// no run of it, the list says so and stays. A file given on the command line
// is the first line and plays at once, without the fade.
class ReplayListScreen {
  public:
    static constexpr std::size_t visibleRows = 11;

    ReplayListScreen(GameWindow& window, ParticleEmitter* clouds,
                     const std::string& commandLineFile = "");
    ReplayListScreen(const ReplayListScreen&) = delete;
    ReplayListScreen& operator=(const ReplayListScreen&) = delete;

    // Returns when the player goes back, or when the window closes.
    void run();

    // What tests look at.
    const std::vector<ReplayEntry>& entries() const { return found; }
    // The entry the highlight is on; entries().size() for "Back".
    std::size_t selectedEntry() const { return chosen; }
    const std::string& message() const { return note; }
    int replaysShown() const { return shown; }
    // Whose run the replay screen was given last.
    const std::string& lastShown() const { return lastWhose; }

  private:
    void handleKey(const sf::Event::KeyEvent& key);
    void move(int step);
    void showRows();
    void update(float frameTime);
    // A due record fetch, announced by the last frame's wait message.
    void fetchRecord();
    void endAction();
    void watch(const ReplaySource& source);
    void draw() const;

    GameWindow& window;
    ParticleEmitter* clouds;
    std::vector<ReplayEntry> found;
    std::size_t chosen = 0;  // entries() index, or its size for "Back"
    std::size_t first = 0;   // entry of the first row shown
    sf::Font font;
    sf::View view;
    MenuList menu;  // the rows shown, then "Back"
    sf::Text title;
    sf::Text noteLabel;
    std::string note;
    SoundEffect click;
    ScreenFade fade;
    bool fetchAnnounced = false;
    std::optional<ReplaySource> due;  // watched once the fade-out ends
    bool quit = false;
    int shown = 0;
    std::string lastWhose;
    bool drawClouds;
};
