#include "game/PlayScreen.hpp"

#include "app/input/PlayInputEvents.hpp"
#include "app/look/ScreenLook.hpp"
#include "app/platform/GameWindow.hpp"
#include "app/platform/ProgramObjects.hpp"
#include "game/PersonalBest.hpp"

namespace {

LevelCatalogue catalogueOf(GameMode mode) {
    LevelCatalogue catalogue;
    catalogue.fill(mode);
    return catalogue;
}

}  // namespace

PlayScreen::PlayScreen(GameWindow& window, GameMode mode, int levelIndex, bool singleLevel)
    : PlayScreen(window, mode, catalogueOf(mode), levelIndex, singleLevel) {}

PlayScreen::PlayScreen(GameWindow& window, GameMode mode, LevelCatalogue levels, int levelIndex,
                       bool singleLevel)
    : window(window),
      show(window),
      postFinish(settings().get(Setting::highscoreServer)),
      ghostSource(settings().get(Setting::highscoreServer)),
      singleLevel(singleLevel),
      levelIndex(levelIndex),
      catalogue(std::move(levels)),
      mode(mode) {
    loadResources();
    sim = std::make_unique<LevelSimulation>(mode, speeds);
    // A start level the catalogue does not have (a mode without levels), or
    // one that cannot be played, ends the screen before its first frame.
    if (levelIndex < 0 || levelIndex >= catalogue.size() ||
        !catalogue.levels[static_cast<std::size_t>(levelIndex)].playable()) {
        quitRequested = true;
        return;
    }
    buildLevel();
}

PlayScreen::~PlayScreen() {
    clearLevel();
    window.setInputUse(InputUse::menu);
}

void PlayScreen::readSettings() {
    // The turn rates are written back, so players who want to tune them find
    // them in the settings file.
    speeds.turn = settings().keep(Setting::turnSpeed);
    speeds.shift = settings().keep(Setting::shiftSpeed);
    speeds.control = settings().keep(Setting::controlSpeed);
    speeds.inverted = settings().get(Setting::invertControls) != 0;
    // A rate edited into the file beyond what the options offer would make
    // runs no server or ghost replays: play goes by the nearest the options
    // allow.
    speeds = speeds.clamped();
    submitScores = settings().get(Setting::submitScores) > 0;
    userName = settings().get(Setting::userName);
    ghostChoice = settings().get(Setting::ghost);
    window.setKeyBindings(KeyBindings::read(settings()));
    if (settings().get(Setting::musicVolume) != 0) {
        menuMusic().stop();
        gameMusic().start();
    }
}

void PlayScreen::loadResources() {
    readSettings();
    ScreenLook::loadFont(font);
    pauseMenu.setup(font);
    postFinish.loadLabels(font);
    plonkSound.load(ScreenLook::clickSoundPath());
    pauseMenu.fade = -1.0f;
}

const RecordedRun* PlayScreen::finishedRecording() const {
    return levelFileReadable && recorder.finished() ? &recorder.run() : nullptr;
}

LevelIdentity PlayScreen::levelIdentity() const {
    const LevelIdentity& listed = catalogue.levels[static_cast<std::size_t>(levelIndex)].identity;
    // A custom level is the bytes just played: an edit since the level
    // selection read the file makes a new level.
    if (listed.isShipped() || !levelFileReadable) {
        return listed;
    }
    return LevelIdentity::ofFile(recorder.run().levelSha256);
}

void PlayScreen::buildLevel() {
    pauseMenu.clearRequests();
    state = playing;
    finish.reset();
    postFinish.reset();
    screenKeys.reset();
    ticks.reset();
    const CatalogueLevel& level = catalogue.levels[static_cast<std::size_t>(levelIndex)];
    sim->loadLevel(level.file);
    show.begin(*sim, catalogue.thumbnail(levelIndex));
    const LevelIdentity identity = levelIdentity();
    personalBest = readPersonalBest(mode, identity);
    // Every build is a new run; a level file that cannot be read for its hash
    // gives a run no ghost or server can replay, so it is not kept.
    levelFileReadable = recorder.start(*sim, level.name, level.file, level.identity.id);
    show.ghostBall().follow(nullptr);
    ghostSource.choose(ghostChoice, mode, identity, level.file, submitScores);
    followChosenGhost();
    ++builds;
}

// The record's ghost may join late, while the server answers; it then
// catches up with the steps the player's world has taken.
void PlayScreen::followChosenGhost() {
    if (std::unique_ptr<GhostTrack> track = ghostSource.takeTrack()) {
        show.ghostBall().follow(std::move(track));
    }
    show.ghostBall().update(*sim);
}

void PlayScreen::clearLevel() {
    if (sim) {
        sim->clearLevel();
    }
}

void PlayScreen::advanceLevel() {
    const int next = catalogue.nextInGroup(levelIndex);
    if (next >= 0 && !singleLevel) {
        clearLevel();
        levelIndex = next;
        buildLevel();
        return;
    }
    quitRequested = true;
}

void PlayScreen::run() {
    while (!over()) {
        runFrame();
    }
}

void PlayScreen::runFrame() {
    const float frameTime = window.frameTime();
    if (state == playing) {
        updatePlay(frameTime);
    } else {
        updatePause(frameTime);
    }
    if (over()) {
        return;
    }
    draw();
}

bool PlayScreen::over() const {
    return !window.isOpen() || quitRequested;
}

// One play frame's update. Reads: the window's events and frame time.
// Writes: the simulation (its key handling and advance), the sounds and
// animations it asks for, the start and finish sequences (which may build
// the next level or end the screen) and, after Escape, the pause state. An
// Escape read in the frame that builds the next level pauses that level.
void PlayScreen::updatePlay(float frameTime) {
    window.setInputUse(InputUse::play);
    pollPlayEvents();
    if (!window.isOpen()) {
        return;
    }
    // A press made while a highscore request blocked the last frame is not
    // the player's answer to a table they have not seen yet.
    postFinish.dropPressesFromWait(screenKeys.confirm);
    show.beginFrame(frameTime);
    // The simulation goes by whole ticks (FrameTicks); what the player sees
    // around it by the window's own time.
    const float simulationTime = ticks.frame(frameTime);
    const FrameReport report = sim->advance(simulationTime);
    show.takeFrame(report, *sim);
    // Only a press after the finish goes on from it: a jump pressed on the
    // way to the line must not skip the banner.
    if (report.finishedNow) {
        screenKeys.confirm = false;
    }
    recorder.frame(simulationTime, *sim);
    const bool pausing = screenKeys.pauseRequested;
    show.animate(frameTime, *sim);
    followChosenGhost();
    updateFinish(frameTime);
    gameMusic().update();
    if (pausing) {
        state = paused;
        screenKeys.pauseRequested = false;
    }
}

void PlayScreen::pollPlayEvents() {
    sf::Event event;
    while (window.pollEvent(event)) {
        if (event.type == sf::Event::Closed) {
            window.close();
            continue;
        }
        const std::optional<PlayInput> input = playInputOf(event);
        if (!input) {
            continue;
        }
        sim->handleInput(*input);
        recorder.input(*input);
        screenKeys.apply(*input);
    }
}

// The picture of the frame: the world, the head-up display and, while paused,
// the menu over the level as it stood.
void PlayScreen::draw() const {
    show.drawWorld(*sim);
    drawHud();
    if (state == paused) {
        pauseMenu.draw(window);
    }
    window.display();
}
