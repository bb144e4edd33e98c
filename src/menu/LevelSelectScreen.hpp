#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/Window/Event.hpp>

#include <string>
#include <vector>

#include "app/audio/SoundEffect.hpp"
#include "app/files/SettingKeys.hpp"
#include "app/look/MenuList.hpp"
#include "app/look/ScreenFade.hpp"
#include "level/LevelCatalogue.hpp"
#include "online/HighscoreTable.hpp"
#include "online/client/TableRowView.hpp"

class GameWindow;
class ParticleEmitter;

// "< 2 | The Rope Bridge >": the level line for a level index and name;
// "< 2 | The Rope Bridge | Record Ghost >" when the next play races the
// record's ghost.
std::string levelLineText(unsigned levelIndex, const std::string& name, bool recordGhost = false);

// The level selection of one mode: the start level with its thumbnail, "Play
// all" from there through its group or "Play single level", and the online
// table of the shown level. The game's own levels come first, then the packs
// and the player's custom levels (LevelCatalogue); a level that cannot be
// played shows why in its picture's place and cannot be started. The table is fetched once the
// level line has rested for 1.5 s, so flipping through the levels sends no requests. Every game
// ends the visit, so the player comes back to the main menu.
class LevelSelectScreen {
  public:
    enum Line { playAllLine = 0, playSingleLine = 1, levelLine = 2, backLine = 3 };
    static constexpr float fetchDelay = 1.5f;
    static constexpr unsigned tableRows = 11;
    static constexpr unsigned leadRows = 5;

    LevelSelectScreen(GameWindow& window, GameMode mode, ParticleEmitter* clouds);
    LevelSelectScreen(const LevelSelectScreen&) = delete;
    LevelSelectScreen& operator=(const LevelSelectScreen&) = delete;

    // Returns when the player leaves, after a game, or when the window closes.
    void run();

    unsigned levelIndex() const { return shownLevel; }
    int selectedLine() const { return menu.selected; }
    // UTF-8, as level titles are written.
    std::string lineText(int line) const;
    // Table requests sent so far, and the rows now shown.
    int fetchCount() const { return fetches; }
    int gamesStarted() const { return gamesPlayed; }
    std::vector<std::string> rowTexts() const;
    const HighscoreTable& table() const { return scores; }
    const LevelCatalogue& levels() const { return catalogue; }
    bool levelNotOnServer() const { return notOnServer; }
    // What the picture's place says of a level that cannot be played.
    std::string problemText() const;

  private:
    void handleKey(const sf::Event::KeyEvent& key);
    // G: the next play races the record's ghost instead of the personal
    // best's, or back. Kept in the settings, as the Ghost option shows it.
    void toggleGhost();
    void showLevel(unsigned index);
    // Moving through the menu while the table still waits restarts the wait;
    // a table already on screen stays.
    void applyWaitRule();
    void update(float frameTime);
    // The table shows once the level line has rested, with online scores on,
    // for a level that can be played.
    bool tableShown() const;
    bool shownLevelPlayable() const;
    // A due fetch is announced by one frame's wait message and made in the
    // next frame's update.
    void updateTable();
    void buildRows();
    void draw() const;
    void drawTable() const;
    void endAction();
    void play(bool singleLevel);

    GameWindow& window;
    GameMode mode;
    ParticleEmitter* clouds;
    LevelCatalogue catalogue;
    SettingKey<int> startLevel;
    unsigned shownLevel = 0;
    sf::Font font;
    sf::View view;
    MenuList menu;
    SoundEffect click;
    ScreenFade fade;
    bool quit = false;
    bool backRequested = false;
    sf::Texture thumbnailTexture;
    sf::Sprite thumbnail;

    float idleTime = 0.0f;
    bool tableNeedsFetch = true;
    bool fetchAnnounced = false;
    int fetches = 0;
    int gamesPlayed = 0;
    HighscoreTable scores;
    std::vector<TableRowView> rows;
    sf::Text waitLabel;
    sf::Text emptyTableLabel;
    sf::Text notOnServerLabel;
    sf::Text problemLabel;
    bool notOnServer = false;

    std::string userName;
    bool submitScores;
    bool musicOn;
    bool drawClouds;
};
