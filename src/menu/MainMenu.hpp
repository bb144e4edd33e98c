#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/Window/Event.hpp>

#include <string>

#include "app/audio/SoundEffect.hpp"
#include "app/look/MenuList.hpp"
#include "app/look/ParticleEmitter.hpp"
#include "app/look/ScreenFade.hpp"
#include "menu/TitleMascot.hpp"
#include "online/client/OutboxSender.hpp"

class GameWindow;

// The title screen and hub of the game: the logo, two blinking mascots, the
// drifting clouds and "Race", "Puzzle", "Replays", "Options", "Exit". A chosen item fades
// to black, then its screen runs to its end here and the menu fades back in.
// It owns the cloud field every other menu screen draws, so the clouds drift on
// from screen to screen, and it fills the two music playlists.
class MainMenu {
  public:
    enum Item { raceItem = 0, puzzleItem = 1, replaysItem = 2, optionsItem = 3, exitItem = 4 };
    // Keys count once the fade-in has fallen below this (0.2 s after showing).
    static constexpr float inputThreshold = 1.5f;

    explicit MainMenu(GameWindow& window);
    MainMenu(const MainMenu&) = delete;
    MainMenu& operator=(const MainMenu&) = delete;

    // Plays the run file given on the command line first, when there is one
    // (in the Replays list), then on a first start runs the name entry, then
    // the menu until the window closes ("Exit" closes it).
    void run(const std::string& commandLineReplay = "");

    int selectedItem() const { return menu.selected; }
    // True while the menu itself is on screen and takes keys (not while one of
    // its screens runs).
    bool acceptsInput() const { return !inSubScreen && fade.acceptsInput(inputThreshold); }
    bool drawsClouds() const { return drawClouds; }
    const TitleMascot& leftMascot() const { return left; }
    const TitleMascot& rightMascot() const { return right; }
    ParticleEmitter& cloudBackdrop() { return clouds; }

  private:
    void fillPlaylists();
    // Times and runs the server did not take before go again, with online
    // scores on: at the start and whenever a level selection opens.
    void sendOutbox();
    void update(float frameTime);
    void handleKey(const sf::Event::KeyEvent& key);
    void act();
    void draw() const;

    GameWindow& window;
    sf::Font font;
    sf::Texture cloudTexture;
    ParticleEmitter clouds;
    sf::View view;
    MenuList menu;
    SoundEffect click;
    ScreenFade fade;
    TitleMascot right;
    TitleMascot left;
    sf::Texture logoTexture;
    sf::Sprite logo;
    bool drawClouds = true;
    bool inSubScreen = false;
    OutboxSender outboxSender;
};
