#include "game/PlayScreen.hpp"

#include <box2d/b2_body.h>

#include <cmath>

#include "app/Files.hpp"
#include "app/GameWindow.hpp"
#include "app/ProgramObjects.hpp"
#include "app/ScreenFade.hpp"
#include "app/ScreenLook.hpp"
#include "game/Bursts.hpp"
#include "game/PersonalBest.hpp"
#include "level/Level.hpp"
#include "level/Units.hpp"

namespace {

constexpr float countdownPopupSeconds = 0.666f;
constexpr float countdownPopupDelay = 0.3f;  // full size before it shrinks
const sf::Vector2f countdownPosition(ScreenLook::viewWidth * 0.5f,
                                     ScreenLook::viewHeight * 0.5f * 0.333f);
const sf::Vector2f timeLabelPosition(10.0f, 960.0f);
const sf::Vector2f clockPosition(180.0f, 984.0f);  // left edge, centre line
const sf::Vector2f badgePosition(640.0f, 960.0f);
const sf::Vector2f thumbnailPosition(768.0f, 768.0f);
const sf::Vector2f thumbnailSize(512.0f, 256.0f);
constexpr float badgeShrink = 30.0f;    // pixels the badge pulses by
constexpr float badgePulseRate = 3.0f;  // radians per second of the pulse

LevelCatalogue catalogueOf(int mode) {
    LevelCatalogue catalogue;
    catalogue.fill(mode);
    return catalogue;
}

// Reads a turn rate and writes it straight back, so the settings file always
// lists it for players who want to tune it.
float keepFloatSetting(const char* key, float fallback) {
    const float value = settings().getFloat(key, fallback);
    settings().setFloat(key, value);
    return value;
}

void scaleTo(sf::Sprite& sprite, const sf::Texture& texture, sf::Vector2f size) {
    const sf::Vector2u own = texture.getSize();
    if (own.x == 0 || own.y == 0) {
        return;
    }
    sprite.setScale(size.x / static_cast<float>(own.x), size.y / static_cast<float>(own.y));
}

void drawPopups(std::vector<Popup>& popups, GameWindow& window, float frameTime) {
    for (Popup& popup : popups) {
        popup.update(frameTime);
        popup.draw(window);
    }
    std::erase_if(popups, [](const Popup& popup) { return popup.gone(); });
}

}  // namespace

PlayScreen::PlayScreen(GameWindow& window, int mode, int levelIndex, bool singleLevel)
    : PlayScreen(window, mode, catalogueOf(mode), levelIndex, singleLevel) {}

PlayScreen::PlayScreen(GameWindow& window, int mode, LevelCatalogue levels, int levelIndex,
                       bool singleLevel)
    : window(window),
      hudView(ScreenLook::logicalView()),
      singleLevel(singleLevel),
      levelIndex(levelIndex),
      catalogue(std::move(levels)),
      mode(mode) {
    worldView.setSize(ScreenLook::viewWidth, ScreenLook::viewHeight);
    loadResources();
    sim = std::make_unique<LevelSimulation>(images, mode, speeds);
    // A start level the catalogue does not have (a mode without levels) ends
    // the screen before its first frame.
    if (levelIndex < 0 || levelIndex >= catalogue.size()) {
        quitRequested = true;
        return;
    }
    buildLevel();
}

PlayScreen::~PlayScreen() {
    clearLevel();
}

void PlayScreen::readSettings() {
    speeds.turn = keepFloatSetting("turnspeed", TurnSpeeds::defaultTurn);
    speeds.shift = keepFloatSetting("shiftspeed", TurnSpeeds::defaultShift);
    speeds.control = keepFloatSetting("ctrlspeed", TurnSpeeds::defaultControl);
    submitScores = settings().getInt("submitscores", 1);
    speeds.inverted = settings().getInt("invertcontrols", 0) != 0;
    const int musicVolume = settings().getInt("musicvolume", 7);
    drawClouds = settings().getInt("drawclouds", 1);
    if (musicVolume != 0) {
        menuMusic().stop();
        gameMusic().start();
    }
}

void PlayScreen::loadResources() {
    readSettings();
    images.loadImages();
    images.createTextures();
    loadTexture(countdownTextures[0], "data/images/countdown3.png");
    loadTexture(countdownTextures[1], "data/images/countdown2.png");
    loadTexture(countdownTextures[2], "data/images/countdown1.png");
    loadTexture(timeLabelTexture, "data/images/time.png");
    timeLabelSprite.setTexture(timeLabelTexture, true);
    timeLabelSprite.setPosition(timeLabelPosition);

    finishBanner.load();
    clock.load(clockPosition.x, clockPosition.y);
    clock.showMinutes = true;

    clickSound.load("data/sound/click.wav");
    hornSound.load("data/sound/horn.wav");
    personalBestSound.load("data/sound/pb.wav");
    finishSound.load("data/sound/finish.wav");
    beamSound.load("data/sound/beam.wav");

    if (const sf::Texture* badge = images.texture(TileImages::personalBest)) {
        personalBestSprite.setTexture(*badge, true);
        const sf::Vector2f size(badge->getSize());
        personalBestSprite.setOrigin(size * 0.5f);
    }
    personalBestSprite.setPosition(badgePosition);

    ScreenLook::loadFont(font);
    pauseMenu.setup(font);
    plonkSound.load(ScreenLook::clickSoundPath);
    pauseMenu.fade = -1.0f;
    face.loadImages();
}

int PlayScreen::levelId() const {
    const auto found = catalogue.levelIds.find(levelIndex);
    return found != catalogue.levelIds.end() ? found->second : 0;
}

void PlayScreen::buildLevel() {
    pauseMenu.clearRequests();
    state = playing;
    finishBanner.reset();
    start.reset();
    finish.reset();
    sim->loadLevel(catalogue.files[static_cast<std::size_t>(levelIndex)]);
    personalBest = readPersonalBest(mode, levelId());

    thumbnailTexture = sf::Texture();
    const sf::Image& thumbnail = catalogue.thumbnails[static_cast<std::size_t>(levelIndex)];
    if (thumbnail.getSize().x > 0 && thumbnailTexture.loadFromImage(thumbnail)) {
        thumbnailTexture.setSmooth(true);
        thumbnailSprite.setTexture(thumbnailTexture, true);
        scaleTo(thumbnailSprite, thumbnailTexture, thumbnailSize);
    }
    thumbnailSprite.setPosition(thumbnailPosition);

    face.animation.setColour(PlayState::startColour);
    face.animation.setGrin(false);
    const TileMap& map = sim->play().tileMap;
    configureLevelClouds(clouds, map.width, map.height, images.texture(TileImages::lightSmoke));
    clock.value = 0.0f;
    ++builds;
}

void PlayScreen::clearLevel() {
    if (sim) {
        sim->clearLevel();
    }
}

void PlayScreen::advanceLevel() {
    if (levelIndex + 1 < catalogue.size() && !singleLevel) {
        clearLevel();
        ++levelIndex;
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
    if (state == playing) {
        playFrame();
    } else {
        pauseFrame();
    }
}

bool PlayScreen::over() const {
    return !window.isOpen() || quitRequested;
}

// One play frame. Reads: the window's events and frame time. Writes: the
// simulation (through its key handling and advance), what is drawn, the
// finish flow (which may build the next level or end the screen) and, after
// Escape, the switch to the pause state with a picture of this frame.
void PlayScreen::playFrame() {
    const float frameTime = window.frameTime();
    window.clear(lerpColor(sf::Color::White, ScreenLook::backdrop, sim->play().finishFlash));
    pollPlayEvents();
    if (!window.isOpen()) {
        return;
    }
    react(sim->advance(frameTime));
    badgeSeconds += frameTime;

    drawWorld(frameTime);
    window.setView(hudView);
    drawHud(frameTime);
    if (finish.submitPending && submitScores > 0) {
        runPostFinishStep();
    }
    const bool pausing = sim->keys().pauseRequested;
    if (pausing) {
        capturePause();
    }
    window.display();
    gameMusic().update();
    if (pausing) {
        state = paused;
        sim->keys().pauseRequested = false;
    }
}

void PlayScreen::pollPlayEvents() {
    sf::Event event;
    while (window.pollEvent(event)) {
        if (event.type == sf::Event::Closed) {
            window.close();
            continue;
        }
        sim->handleEvent(event);
    }
}

void PlayScreen::react(const FrameReport& report) {
    if (report.colourChanged) {
        beamSound.play();
        face.animation.setColour(sim->ballColour());
    }
    if (report.impactReaction) {
        face.animation.reactToImpact();
    }
    if (report.hornSounded) {
        hornSound.play();
    }
}

void PlayScreen::drawWorld(float frameTime) {
    worldView.setCenter(sim->cameraCentre());
    worldView.setRotation(sim->viewAngle());
    window.setView(worldView);
    if (drawClouds > 0) {
        clouds.updateAndDraw(window, frameTime);
    }
    takeContactRequests();
    drawPopups(contactPopups, window, frameTime);
    if (Level* level = sim->level()) {
        for (auto& [number, entity] : level->entities) {
            // Animations run only where they can be seen, like the drawing.
            if (entity->withinDrawRange(worldView)) {
                entity->animate(frameTime);
            }
            entity->draw(window.target());
        }
    }
    drawBursts(frameTime);
    drawFace(frameTime);
}

void PlayScreen::takeContactRequests() {
    PlayState& play = sim->play();
    for (const PopupRequest& request : play.popupRequests) {
        Popup popup(images.texture(request.imageIndex), request.duration);
        sf::Sprite& sprite = popup.sprite();
        sprite.setPosition(request.position);
        sprite.setRotation(request.rotation);
        sprite.setScale(request.scale);
        contactPopups.push_back(popup);
    }
    play.popupRequests.clear();
    for (const ContactEvent& event : play.contactEvents) {
        configureBurst(bursts.emplace_back(), event, images);
    }
    play.contactEvents.clear();
}

void PlayScreen::drawBursts(float frameTime) {
    for (auto burst = bursts.begin(); burst != bursts.end();) {
        if (burst->finished) {
            burst = bursts.erase(burst);
            continue;
        }
        burst->updateAndDraw(window, frameTime);
        ++burst;
    }
}

void PlayScreen::drawFace(float frameTime) {
    Level* level = sim->level();
    if (level == nullptr || !level->ball) {
        return;
    }
    level->ball->sync();
    face.animation.update(frameTime);
    const sf::Sprite& ball = level->ball->sprite();
    face.draw(window, ball.getPosition(), ball.getRotation());
}

// The head-up display in the fixed view, in the order the player's eye needs
// it: thumbnail and countdown, the time, the badge, the finish sequence, and
// the fade-in over everything; the finish is scored last.
void PlayScreen::drawHud(float frameTime) {
    const int cue = start.countdownCue(sim->play().countdownTime);
    if (cue != 0) {
        showCountdownPopup(cue);
    }
    const int thumbnailAlpha = start.thumbnailAlpha();
    if (thumbnailAlpha >= 0) {
        thumbnailSprite.setColor(sf::Color(255, 255, 255, static_cast<sf::Uint8>(thumbnailAlpha)));
        if (thumbnailTexture.getSize().x > 0) {
            window.draw(thumbnailSprite);
        }
        start.advanceThumbnail(frameTime);
    }
    drawPopups(hudPopups, window, frameTime);
    window.draw(timeLabelSprite);
    clock.value = sim->raceClock();
    clock.draw(window);
    if (finish.newPersonalBest) {
        drawBadge();
    }
    if (sim->finished()) {
        handleFinish(frameTime);
    }
    if (start.introFade > 0.0f) {
        if (start.advanceIntro(frameTime)) {
            showCountdownPopup(StartSequence::firstNumber);
        }
        drawBlackCover(window, start.introAlpha());
    }
    scoreFinish();
}

void PlayScreen::drawBadge() {
    const sf::Texture* badge = personalBestSprite.getTexture();
    if (badge == nullptr) {
        return;
    }
    const float pulse = std::fabs(std::sin(badgePulseRate * badgeSeconds));
    const sf::Vector2f size(badge->getSize());
    const float shrink = badgeShrink - badgeShrink * pulse;
    scaleTo(personalBestSprite, *badge, size - sf::Vector2f(shrink, shrink));
    window.draw(personalBestSprite);
}

void PlayScreen::showCountdownPopup(int number) {
    const std::size_t index = static_cast<std::size_t>(StartSequence::firstNumber - number);
    if (index >= countdownTextures.size()) {
        return;
    }
    clickSound.play();
    Popup popup(&countdownTextures[index], countdownPopupSeconds, countdownPopupDelay);
    popup.sprite().setPosition(countdownPosition);
    hudPopups.push_back(popup);
}

// The banner waits for Space or Return once the finish flash is over; then
// the end phase fades out and moves on.
void PlayScreen::handleFinish(float frameTime) {
    face.animation.setGrin(true);
    finishBanner.draw(window, frameTime);
    PlayState& play = sim->play();
    if (finishBanner.wave.incoming) {
        if (play.finishFlash == 0.0f && play.jumpRequested) {
            finishBanner.wave.incoming = false;
        }
        return;
    }
    const bool black = finish.endPhase(frameTime, play.jumpRequested, submitScores);
    drawBlackCover(window, finish.endFadeAlpha());
    if (black) {
        advanceLevel();
    }
}

void PlayScreen::scoreFinish() {
    if (!sim->finished() || !finish.score(personalBest, sim->raceClock())) {
        return;
    }
    if (!finish.newPersonalBest) {
        finishSound.play();
        return;
    }
    // With online scores on, the best is stored just before it is sent.
    if (submitScores == 0) {
        storePersonalBest(mode, levelId(), sim->raceClock());
    }
    personalBestSound.play();
}

// The online step after a finish: send the time, fetch and show the table.
// Until the highscore table is wired in here, a finish goes on as after a
// request that got no answer: the best is kept locally and, with no table to
// show, the fade completes.
void PlayScreen::runPostFinishStep() {
    PlayState& play = sim->play();
    if (!finish.submitted) {
        if (finish.newPersonalBest) {
            storePersonalBest(mode, levelId(), sim->raceClock());
        }
        finish.submitted = true;
        play.jumpRequested = false;
        return;
    }
    if (!finish.tableFetched) {
        finish.tableFetched = true;
        play.jumpRequested = false;
        return;
    }
    finish.leaving = true;
}

void PlayScreen::capturePause() {
    const sf::Image picture = window.capture();
    if (picture.getSize().x == 0 || !pauseCaptureTexture.loadFromImage(picture)) {
        pauseCaptureTexture = sf::Texture();
        return;
    }
    pauseCaptureSprite.setTexture(pauseCaptureTexture, true);
    pauseCaptureSprite.setPosition(0.0f, 0.0f);
    scaleTo(pauseCaptureSprite, pauseCaptureTexture,
            sf::Vector2f(ScreenLook::viewWidth, ScreenLook::viewHeight));
}

// One pause frame: the still picture, the menu and its fade. Keys are read
// only while no fade runs; those pressed during a fade wait in the queue for
// whatever state polls next.
void PlayScreen::pauseFrame() {
    const float frameTime = window.frameTime();
    window.clear(sf::Color::Black);
    window.setView(hudView);
    if (pauseCaptureTexture.getSize().x > 0) {
        window.draw(pauseCaptureSprite);
    }
    if (!pauseMenu.fading()) {
        sf::Event event;
        while (window.pollEvent(event)) {
            if (event.type == sf::Event::Closed) {
                window.close();
            } else if (event.type == sf::Event::KeyPressed &&
                       pauseMenu.onKeyPressed(event.key.code, plonkSound) ==
                           PauseMenu::Choice::resume) {
                state = playing;
            }
        }
        if (!window.isOpen()) {
            return;
        }
    }
    switch (pauseMenu.draw(window, frameTime)) {
        case PauseMenu::Choice::restart:
            clearLevel();
            buildLevel();
            break;
        case PauseMenu::Choice::nextLevel:
            if (levelIndex + 1 < catalogue.size()) {
                clearLevel();
                ++levelIndex;
                buildLevel();
            } else {
                quitRequested = true;
            }
            break;
        case PauseMenu::Choice::exit:
            quitRequested = true;
            break;
        default:
            break;
    }
    window.display();
    gameMusic().update();
}
