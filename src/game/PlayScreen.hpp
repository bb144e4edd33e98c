#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/View.hpp>

#include <array>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "app/ParticleEmitter.hpp"
#include "app/SoundEffect.hpp"
#include "game/FinishBanner.hpp"
#include "game/FinishSequence.hpp"
#include "game/LevelSimulation.hpp"
#include "game/PauseMenu.hpp"
#include "game/PlayerFace.hpp"
#include "game/Popup.hpp"
#include "game/PostFinishTable.hpp"
#include "game/ScoreFont.hpp"
#include "game/StartSequence.hpp"
#include "level/LevelCatalogue.hpp"
#include "level/TileImages.hpp"

class GameWindow;
struct FrameReport;

// The screen of play: one level, or every level of a mode from a start level
// on. The level itself runs in a LevelSimulation; this screen feeds it the
// window's frame time and key events and adds everything the player sees and
// hears: the turning world with clouds, popups, bursts and the ball's face,
// the head-up display, the start and finish sequences, the fades and the
// pause menu.
//
// A play frame reads the window's events and frame time, advances the
// simulation, draws, and may build the next level; a pause frame shows the
// menu over a still picture of the last play frame and runs nothing else.
class PlayScreen {
  public:
    enum State { playing = 0, paused = 1 };

    // The levels of `mode` from `levelIndex` on; `singleLevel` ends the
    // screen after that level.
    PlayScreen(GameWindow& window, GameMode mode, int levelIndex, bool singleLevel);
    // The same with a catalogue of the caller's own levels (tests, tools).
    PlayScreen(GameWindow& window, GameMode mode, LevelCatalogue catalogue, int levelIndex,
               bool singleLevel);
    ~PlayScreen();
    PlayScreen(const PlayScreen&) = delete;
    PlayScreen& operator=(const PlayScreen&) = delete;

    // Plays until the last level of the run is over, the player leaves, or
    // the window is closed.
    void run();
    // One frame of the current state (play or pause), for tools that drive
    // the screen frame by frame; run() is these until over().
    void runFrame();
    bool over() const;

    // What tests and tools look at.
    int currentState() const { return state; }
    int currentLevel() const { return levelIndex; }
    bool quitting() const { return quitRequested; }
    const LevelSimulation& simulation() const { return *sim; }
    const FinishSequence& finishState() const { return finish; }
    const BannerWave& bannerWave() const { return finishBanner.wave; }
    const PauseMenu& pauseState() const { return pauseMenu; }
    const StartSequence& startState() const { return start; }
    const PostFinishTable& postFinishState() const { return postFinish; }
    float storedBest() const { return personalBest; }
    int levelsBuilt() const { return builds; }

  private:
    void loadResources();
    void readSettings();
    void buildLevel();
    void clearLevel();
    void advanceLevel();
    int levelId() const;

    void playFrame();
    void pauseFrame();
    void pollPlayEvents();
    void react(const FrameReport& report);
    void drawWorld(float frameTime);
    void takeContactRequests();
    void drawBursts(float frameTime);
    void drawFace(float frameTime);
    void drawHud(float frameTime);
    void drawBadge();
    void handleFinish(float frameTime);
    void scoreFinish();
    void showCountdownPopup(int number);
    void runPostFinishStep();
    void capturePause();

    GameWindow& window;
    sf::Font font;
    PauseMenu pauseMenu;
    TileImages images;
    std::unique_ptr<LevelSimulation> sim;
    sf::View worldView;
    sf::View hudView;
    TurnSpeeds speeds;

    std::array<sf::Texture, 3> countdownTextures;  // the numbers 3, 2, 1
    SoundEffect clickSound;
    SoundEffect hornSound;
    SoundEffect personalBestSound;
    SoundEffect finishSound;
    SoundEffect plonkSound;
    SoundEffect beamSound;
    ParticleEmitter clouds;
    sf::Texture timeLabelTexture;
    sf::Sprite timeLabelSprite;
    sf::Sprite personalBestSprite;
    sf::Texture thumbnailTexture;
    sf::Sprite thumbnailSprite;
    FinishBanner finishBanner;
    StartSequence start;
    FinishSequence finish;
    ScoreFont clock;
    PlayerFace face;
    std::vector<Popup> contactPopups;  // world pixels
    std::vector<Popup> hudPopups;      // screen units
    std::list<ParticleEmitter> bursts;
    sf::Texture pauseCaptureTexture;
    sf::Sprite pauseCaptureSprite;
    PostFinishTable postFinish;

    bool quitRequested = false;
    bool singleLevel;
    bool drawClouds = true;
    float personalBest = -1.0f;
    bool submitScores = true;
    std::string userName;
    int state = playing;
    int levelIndex;
    LevelCatalogue catalogue;
    float badgeSeconds = 0.0f;  // frame time of play since the screen opened
    GameMode mode;
    int builds = 0;
};
