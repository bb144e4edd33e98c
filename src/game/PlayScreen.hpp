#pragma once

#include <SFML/Graphics/Font.hpp>

#include <memory>
#include <string>

#include "app/audio/SoundEffect.hpp"
#include "app/files/SettingKeys.hpp"
#include "game/FinishSequence.hpp"
#include "game/GhostSource.hpp"
#include "game/LevelShow.hpp"
#include "game/PauseMenu.hpp"
#include "game/PostFinishTable.hpp"
#include "game/ScreenKeys.hpp"
#include "level/LevelCatalogue.hpp"
#include "sim/play/FrameTicks.hpp"
#include "sim/play/LevelSimulation.hpp"
#include "sim/run/RunRecorder.hpp"

class GameWindow;
struct FrameReport;

// The screen of play: one level, or every level of a mode from a start level
// on. The level itself runs in a LevelSimulation; this screen feeds it the
// window's frame time and key events, and its LevelShow turns the frames into
// what the player sees and hears. The screen adds the rules of play around
// them: recording the run, the ghost, scoring the finish, the online step,
// the fades between levels and the pause menu.
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
    const BannerWave& bannerWave() const { return show.bannerWave(); }
    const PauseMenu& pauseState() const { return pauseMenu; }
    const StartSequence& startState() const { return show.startState(); }
    const PostFinishTable& postFinishState() const { return postFinish; }
    float storedBest() const { return personalBest; }
    int levelsBuilt() const { return builds; }
    const RunRecorder& recording() const { return recorder; }
    const GhostBall& ghostBall() const { return show.ghostBall(); }
    float finishFlashLeft() const { return show.finishFlashLeft(); }
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
    void updateFinish(float frameTime);
    void scoreFinish();
    void updatePause(float frameTime);
    void applyPauseChoice(PauseMenu::Choice choice);

    // --- Draw ---
    void draw() const;
    void drawHud() const;
    void drawGhostGap() const;

    GameWindow& window;
    sf::Font font;
    PauseMenu pauseMenu;
    std::unique_ptr<LevelSimulation> sim;
    LevelShow show;
    ScreenKeys screenKeys;
    FrameTicks::Carry ticks;
    TurnSpeeds speeds;
    SoundEffect plonkSound;
    FinishSequence finish;
    PostFinishTable postFinish;
    RunRecorder recorder;
    GhostSource ghostSource;

    bool quitRequested = false;
    bool singleLevel;
    float personalBest = -1.0f;
    bool submitScores = true;
    std::string userName;
    int state = playing;
    int levelIndex;
    LevelCatalogue catalogue;
    GameMode mode;
    int builds = 0;
    bool levelFileReadable = false;
    int ghostChoice = Setting::ghost.fallback;
};
