#include "game/PlayScreen.hpp"

#include "app/Files.hpp"
#include "app/GameWindow.hpp"
#include "app/PlayInputEvents.hpp"
#include "app/ProgramObjects.hpp"
#include "app/ScreenLook.hpp"
#include "game/Bursts.hpp"
#include "game/PersonalBest.hpp"
#include "game/PlayScreenParts.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/level/Level.hpp"
#include "sim/level/Units.hpp"

#include <box2d/b2_body.h>

#include <algorithm>

namespace {

const sf::Vector2f timeLabelPosition(10.0f, 960.0f);
const sf::Vector2f clockPosition(180.0f, 984.0f);  // left edge, centre line
const sf::Vector2f badgePosition(640.0f, 960.0f);
const sf::Vector2f thumbnailPosition(768.0f, 768.0f);
const sf::Vector2f thumbnailSize(512.0f, 256.0f);
// Seconds a broken block or target takes to shrink away.
constexpr float brokenPopupSeconds = 0.9993f;

LevelCatalogue catalogueOf(GameMode mode) {
    LevelCatalogue catalogue;
    catalogue.fill(mode);
    return catalogue;
}

}  // namespace

void scaleTo(sf::Sprite& sprite, const sf::Texture& texture, sf::Vector2f size) {
    const sf::Vector2u own = texture.getSize();
    if (own.x == 0 || own.y == 0) {
        return;
    }
    sprite.setScale(size.x / static_cast<float>(own.x), size.y / static_cast<float>(own.y));
}

void updatePopups(std::vector<Popup>& popups, float frameTime) {
    for (Popup& popup : popups) {
        popup.update(frameTime);
    }
    std::erase_if(popups, [](const Popup& popup) { return popup.gone(); });
}

void drawPopups(const std::vector<Popup>& popups, GameWindow& window) {
    for (const Popup& popup : popups) {
        popup.draw(window);
    }
}

PlayScreen::PlayScreen(GameWindow& window, GameMode mode, int levelIndex, bool singleLevel)
    : PlayScreen(window, mode, catalogueOf(mode), levelIndex, singleLevel) {}

PlayScreen::PlayScreen(GameWindow& window, GameMode mode, LevelCatalogue levels, int levelIndex,
                       bool singleLevel)
    : window(window),
      hudView(ScreenLook::logicalView()),
      postFinish(settings().get(Setting::highscoreServer)),
      ghostSource(settings().get(Setting::highscoreServer)),
      singleLevel(singleLevel),
      levelIndex(levelIndex),
      catalogue(std::move(levels)),
      mode(mode) {
    worldView.setSize(ScreenLook::viewWidth, ScreenLook::viewHeight);
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
    drawClouds = settings().get(Setting::drawClouds) > 0;
    ghostChoice = settings().get(Setting::ghost);
    window.setKeyBindings(KeyBindings::read(settings()));
    if (settings().get(Setting::musicVolume) != 0) {
        menuMusic().stop();
        gameMusic().start();
    }
}

void PlayScreen::loadResources() {
    readSettings();
    images.loadImages();
    images.createTextures();
    loadTexture(countdownTextures[0], dataPath("images/countdown3.png"));
    loadTexture(countdownTextures[1], dataPath("images/countdown2.png"));
    loadTexture(countdownTextures[2], dataPath("images/countdown1.png"));
    loadTexture(timeLabelTexture, dataPath("images/time.png"));
    timeLabelSprite.setTexture(timeLabelTexture, true);
    timeLabelSprite.setPosition(timeLabelPosition);

    finishBanner.load();
    clock.load(clockPosition.x, clockPosition.y);
    clock.showMinutes = true;

    clickSound.load(dataPath("sound/click.wav"));
    hornSound.load(dataPath("sound/horn.wav"));
    personalBestSound.load(dataPath("sound/pb.wav"));
    finishSound.load(dataPath("sound/finish.wav"));
    beamSound.load(dataPath("sound/beam.wav"));
    contactSounds.load();

    if (const sf::Texture* badge = images.texture(TileImages::personalBest)) {
        personalBestSprite.setTexture(*badge, true);
        const sf::Vector2f size(badge->getSize());
        personalBestSprite.setOrigin(size * 0.5f);
    }
    personalBestSprite.setPosition(badgePosition);

    ScreenLook::loadFont(font);
    pauseMenu.setup(font);
    postFinish.loadLabels(font);
    plonkSound.load(ScreenLook::clickSoundPath());
    pauseMenu.fade = -1.0f;
    face.loadImages();
    ghost.loadImage();
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
    finishBanner.reset();
    start.reset();
    finish.reset();
    postFinish.reset();
    screenKeys.reset();
    ticks.reset();
    finishFlash = 0.0f;
    const CatalogueLevel& level = catalogue.levels[static_cast<std::size_t>(levelIndex)];
    sim->loadLevel(level.file);
    sprites.build(*sim->level(), images);
    // Every build is a new run; a level file that cannot be read for its hash
    // gives a run no ghost or server can replay, so it is not kept.
    levelFileReadable = recorder.start(*sim, level.name, level.file, level.identity.id);
    const LevelIdentity identity = levelIdentity();
    personalBest = readPersonalBest(mode, identity);
    ghost.follow(nullptr);
    ghostSource.choose(ghostChoice, mode, identity, level.file, submitScores);
    followChosenGhost();

    thumbnailTexture = sf::Texture();
    const sf::Image& thumbnail = catalogue.thumbnail(levelIndex);
    if (thumbnail.getSize().x > 0 && thumbnailTexture.loadFromImage(thumbnail)) {
        thumbnailTexture.setSmooth(true);
        thumbnailSprite.setTexture(thumbnailTexture, true);
        scaleTo(thumbnailSprite, thumbnailTexture, thumbnailSize);
    }
    thumbnailSprite.setPosition(thumbnailPosition);

    face.animation.setColour(colourIndex(PlayState::startColour));
    face.animation.setGrin(false);
    const TileMap& map = sim->play().tileMap;
    configureLevelClouds(clouds, map.width, map.height, images.texture(TileImages::lightSmoke));
    clock.value = 0.0f;
    placeWorldView();
    ++builds;
}

// The record's ghost may join late, while the server answers; it then
// catches up with the steps the player's world has taken.
void PlayScreen::followChosenGhost() {
    if (std::unique_ptr<GhostTrack> track = ghostSource.takeTrack()) {
        ghost.follow(std::move(track));
    }
    ghost.update(sim->stepsTaken());
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
    finishFlash = std::max(finishFlash - frameTime, 0.0f);
    // The simulation goes by whole ticks (FrameTicks); what the player sees
    // around it by the window's own time.
    const float simulationTime = ticks.frame(frameTime);
    react(sim->advance(simulationTime));
    recorder.frame(simulationTime, *sim);
    contactSounds.play(sim->play().events);
    badgeSeconds += frameTime;
    const bool pausing = screenKeys.pauseRequested;
    updateWorld(frameTime);
    updateStart(frameTime);
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

void PlayScreen::react(const FrameReport& report) {
    if (report.colourChanged) {
        beamSound.play();
        face.animation.setColour(colourIndex(sim->ballColour()));
    }
    if (report.impactReaction) {
        face.animation.reactToImpact();
    }
    if (report.hornSounded) {
        hornSound.play();
    }
    // Only a press after the finish goes on from it: a jump pressed on the
    // way to the line must not skip the banner.
    if (report.finishedNow) {
        screenKeys.confirm = false;
    }
}

void PlayScreen::placeWorldView() {
    const b2Vec2 camera = sim->cameraCentre();
    worldView.setCenter(camera.x, camera.y);
    worldView.setRotation(sim->viewAngle());
}

// The world's moving parts: clouds, the popups and bursts the contacts asked
// for, the entities' animations (only where they can be seen, like the
// drawing) and the ball's face.
void PlayScreen::updateWorld(float frameTime) {
    placeWorldView();
    if (drawClouds) {
        clouds.update(frameTime);
    }
    showContactEvents();
    updatePopups(contactPopups, frameTime);
    const Level* level = sim->level();
    if (level != nullptr) {
        sprites.animate(*level, worldView, frameTime);
    }
    bursts.remove_if([](const ParticleEmitter& burst) { return burst.finished; });
    for (ParticleEmitter& burst : bursts) {
        burst.update(frameTime);
    }
    followChosenGhost();
    if (level != nullptr && level->ball) {
        face.animation.update(frameTime);
    }
}

// The popups, bursts and flash of what the contacts did in this frame (their
// sounds have played already).
void PlayScreen::showContactEvents() {
    using Kind = ContactEvent::Kind;
    for (const ContactEvent& event : sim->play().events) {
        if (event.kind == Kind::finishReached) {
            finishFlash = 1.0f;
        }
        if (event.kind == Kind::blockBroken || event.kind == Kind::targetBroken) {
            const int picture = event.kind == Kind::blockBroken
                                    ? TileImages::breakable
                                    : TileImages::firstTarget + colourIndex(event.colour);
            Popup popup(images.texture(picture), brokenPopupSeconds);
            popup.sprite().setPosition(event.position.x, event.position.y);
            popup.sprite().setRotation(event.degrees);
            contactPopups.push_back(popup);
        }
        if (makesBurst(event)) {
            configureBurst(bursts.emplace_back(), event, images);
        }
    }
}

// The picture of the frame: the world, the head-up display and, while paused,
// the menu over the level as it stood.
void PlayScreen::draw() const {
    window.clear(lerpColor(sf::Color::White, ScreenLook::backdrop, finishFlash));
    drawWorld();
    window.setView(hudView);
    drawHud();
    if (state == paused) {
        pauseMenu.draw(window);
    }
    window.display();
}

void PlayScreen::drawWorld() const {
    window.setView(worldView);
    if (drawClouds) {
        clouds.draw(window);
    }
    drawPopups(contactPopups, window);
    if (const Level* level = sim->level()) {
        sprites.draw(*level, window.target());
    }
    for (const ParticleEmitter& burst : bursts) {
        burst.draw(window);
    }
    // Under the player's ball: where the two meet, the player's own shows.
    ghost.draw(window);
    const Level* level = sim->level();
    if (level != nullptr && level->ball) {
        const b2Body& ball = *level->ball->body();
        const b2Vec2 at = pixelsOf(ball.GetPosition());
        face.draw(window, sf::Vector2f(at.x, at.y), ball.GetAngle() * degreesPerRadian);
    }
}
