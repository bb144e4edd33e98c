#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/View.hpp>

#include "app/ScreenFade.hpp"

class GameWindow;

// The title screen and hub of the game. For now it only fades in and ends on
// Escape or when the window is closed.
class MainMenu {
  public:
    explicit MainMenu(GameWindow& window);
    void run();

  private:
    GameWindow& window;
    sf::View view;
    sf::Font font;
    ScreenFade fade;
    bool quit = false;
};
