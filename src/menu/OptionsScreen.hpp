#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/Window/Event.hpp>

#include "app/audio/SoundEffect.hpp"
#include "app/look/MenuList.hpp"
#include "app/look/ScreenFade.hpp"
#include "menu/OptionValues.hpp"

class GameWindow;
class ParticleEmitter;

// The options: eleven settings changed in place with Left and Right, the
// controls screen, and "Back". The values are written all at once when the
// player leaves with Back or Escape; closing the window drops them. Music
// volume is heard at once, the cloud and fullscreen lines show their effect at
// once (the fullscreen line also follows F11), the other display lines take
// effect at the next start.
class OptionsScreen {
  public:
    OptionsScreen(GameWindow& window, ParticleEmitter* clouds);
    OptionsScreen(const OptionsScreen&) = delete;
    OptionsScreen& operator=(const OptionsScreen&) = delete;

    // Returns after the fade-out that follows Back or Escape, or as soon as the
    // window is found closed (then without saving).
    void run();

    const OptionValues& values() const { return lines.values; }
    int selectedLine() const { return menu.selected; }
    std::string lineText(int line) const { return menu.item(line).getString(); }

  private:
    void handleKey(const sf::Event::KeyEvent& key);
    void changeValue(int direction);
    void save();
    void runNameEntry();
    void runControls();
    void followFullscreenSwitch();
    void rebuildLine(int line);
    void update(float frameTime);
    void draw() const;

    GameWindow& window;
    ParticleEmitter* clouds;
    sf::Font font;
    sf::View view;
    ScreenFade fade;
    SoundEffect click;
    MenuList menu;
    OptionLines lines;
    bool windowFullscreen = false;  // as last seen, to notice F11
    bool quit = false;
};
