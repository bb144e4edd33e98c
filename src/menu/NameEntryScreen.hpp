#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/Window/Event.hpp>

#include <array>
#include <vector>

#include "app/audio/SoundEffect.hpp"
#include "app/look/MenuList.hpp"
#include "app/look/ScreenFade.hpp"
#include "menu/NameCheck.hpp"
#include "menu/NameEditor.hpp"

class GameWindow;
class ParticleEmitter;

// Where the player picks the name their times are sent under, or turns online
// highscores off. Opened once by the main menu on the first start (with a
// greeting) and from the options.
//
// Typing, then a name check with the highscore server behind a wait message,
// then either straight out ("Saving name...") or a warning with three choices
// when the name is taken or could not be checked. Writes "username" and
// "submitscores" as soon as they are decided; a closed window writes nothing
// more.
class NameEntryScreen {
  public:
    enum State { typing = 0, checking = 1, warning = 2, closing = 99 };
    enum Choice { changeName = 0, useName = 1, disableOnline = 2 };

    NameEntryScreen(GameWindow& window, ParticleEmitter* clouds, bool firstStart);
    NameEntryScreen(const NameEntryScreen&) = delete;
    NameEntryScreen& operator=(const NameEntryScreen&) = delete;

    // Returns after the closing fade-out, when the window is closed, or at once
    // when the window is not open.
    void run();

    int state() const { return current; }
    const std::string& name() const { return editor.name(); }
    int choice() const { return choices.selected; }
    NameCheckOutcome lastCheck() const { return checkOutcome; }

  private:
    void update(float frameTime);
    // Takes the frame's events; false when the window was closed (the screen
    // then ends). Keys go to the state's handler while the screen accepts them
    // and until a key changed the state; the rest of the frame's events are
    // dropped.
    bool takeEvents();
    bool keysAccepted() const;
    void runCheck();
    void handleTypingKey(const sf::Event::KeyEvent& key);
    void handleWarningKey(const sf::Event::KeyEvent& key);
    void declineOnline();
    void showNameForTyping();
    void prepareWarningTexts();

    void draw() const;
    void drawTexts(const std::vector<const sf::Text*>& texts) const;

    GameWindow& window;
    ParticleEmitter* clouds;
    sf::Font font;
    sf::View view;
    ScreenFade fade;
    SoundEffect click;
    NameEditor editor;
    sf::Text nameText;
    bool firstStart;
    bool quit = false;
    int current = typing;
    NameCheckOutcome checkOutcome = NameCheckOutcome::taken;

    std::array<sf::Text, 3> greeting;
    sf::Text prompt;
    sf::Text optionsHint;
    sf::Text padHint;  // shown while a pad is plugged in: it cannot type
    sf::Text checkingLabel;
    sf::Text savingLabel;
    sf::Text warningTitle;
    std::array<sf::Text, 4> warningLines;
    MenuList choices;
};
