#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/Window/Event.hpp>

#include "app/audio/SoundEffect.hpp"
#include "app/look/MenuList.hpp"
#include "app/look/ScreenFade.hpp"
#include "menu/ControlLines.hpp"

class GameWindow;
class ParticleEmitter;

// The keys of play, opened from the options and looking like them: one line
// per action with its keys, "Reset to defaults" and "Back". The bindings are
// written when the player leaves with Back or Escape; closing the window
// drops them. A pad's buttons are fixed, and a line below says which.
class ControlsScreen {
  public:
    ControlsScreen(GameWindow& window, ParticleEmitter* clouds, bool drawClouds);
    ControlsScreen(const ControlsScreen&) = delete;
    ControlsScreen& operator=(const ControlsScreen&) = delete;

    // Returns after the fade-out that follows Back or Escape, or as soon as
    // the window is found closed (then without saving).
    void run();

    const ControlLines& lines() const { return controls; }
    int selectedLine() const { return menu.selected; }
    std::string lineText(int line) const { return menu.item(line).getString(); }

  private:
    void handleKey(const sf::Event::KeyEvent& key);
    void leave();
    void showLines();
    void update(float frameTime);
    void draw() const;

    GameWindow& window;
    ParticleEmitter* clouds;
    bool drawClouds;
    sf::Font font;
    sf::View view;
    ScreenFade fade;
    SoundEffect click;
    MenuList menu;
    ControlLines controls;
    sf::Text message;
    sf::Text padLine;
    bool quit = false;
};
