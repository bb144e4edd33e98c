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
#include "app/SettingKeys.hpp"
#include "app/SoundEffect.hpp"
#include "game/ContactSounds.hpp"
#include "game/FinishBanner.hpp"
#include "game/FinishSequence.hpp"
#include "game/GhostBall.hpp"
#include "game/GhostSource.hpp"
#include "game/PauseMenu.hpp"
#include "game/PlayerFace.hpp"
#include "game/Popup.hpp"
#include "game/PostFinishTable.hpp"
#include "game/ScoreFont.hpp"
#include "game/ScreenKeys.hpp"
#include "game/StartSequence.hpp"
#include "level/EntitySprites.hpp"
#include "level/LevelCatalogue.hpp"
#include "level/TileImages.hpp"
#include "sim/play/FrameTicks.hpp"
#include "sim/play/LevelSimulation.hpp"
#include "sim/run/RunRecorder.hpp"

class GameWindow;
struct FrameReport;

// The screen of play: one level, or every level of a mode from a start level
// on. The level itself runs in a LevelSimulation; this screen feeds it the
// window's frame time and key events and adds everything the player sees and
// hears: the turning world with clouds, popups, bursts and the ball's face,
// the head-up display, the start and finish sequences, the fades and the
// pause menu.
//
// Every frame is one update, then one draw. The update of a play frame reads
// the window's events and frame time, advances the simulation, the start and
// finish sequences and may build the next level; that of a pause frame runs
// the menu and nothing else. The draw shows the state the update left and
// changes nothing: a paused level is drawn as it stood, under the menu.
class PlayScreen {
  public:
    enum State { playing = 0, paused = 1 };

    // The levels of `mode` from `levelIndex` on, through the level's group
    // (LevelCatalogue::nextInGroup); `singleLevel` ends the screen after that
    // level.
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
    // the screen frame by frame; run() is these until over(). A frame whose
    // update ends the screen draws nothing.
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
    const RunRecorder& recording() const { return recorder; }
    const GhostBall& ghostBall() const { return ghost; }
    float finishFlashLeft() const { return finishFlash; }
    const ScreenKeys& keysOfScreen() const { return screenKeys; }

  private:
    void loadResources();
    void readSettings();
    void buildLevel();
    void clearLevel();
    void advanceLevel();
    void followChosenGhost();
    // The level's name for bests, runs, ghosts and tables: a shipped level's
    // id, or the SHA-256 of the custom level's bytes as played.
    LevelIdentity levelIdentity() const;
    // The run just finished, when it was recorded from its build on.
    const RecordedRun* finishedRecording() const;

    // --- Update (PlayScreen.cpp, PlayScreenHud.cpp, PlayScreenPause.cpp) ---
    void updatePlay(float frameTime);
    void pollPlayEvents();
    void react(const FrameReport& report);
    void showContactEvents();
    void placeWorldView();
    void updateWorld(float frameTime);
    void updateStart(float frameTime);
    void showCountdownPopup(int number);
    void updateFinish(float frameTime);
    void scoreFinish();
    void updatePause(float frameTime);
    void applyPauseChoice(PauseMenu::Choice choice);

    // --- Draw ---
    void draw() const;
    void drawWorld() const;
    void drawHud() const;
    void drawBadge() const;

    GameWindow& window;
    sf::Font font;
    PauseMenu pauseMenu;
    TileImages images;
    std::unique_ptr<LevelSimulation> sim;
    EntitySprites sprites;
    ScreenKeys screenKeys;
    FrameTicks::Carry ticks;
    float finishFlash = 0.0f;  // 0..1, brightens the background after the finish
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
    ContactSounds contactSounds;
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
    PostFinishTable postFinish;
    RunRecorder recorder;
    GhostSource ghostSource;
    GhostBall ghost;

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
    bool levelFileReadable = false;
    int ghostChoice = Setting::ghost.fallback;
};
