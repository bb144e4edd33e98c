#include "game/LevelShow.hpp"

#include <box2d/b2_body.h>

#include <algorithm>

#include "app/files/Files.hpp"
#include "app/look/ScreenLook.hpp"
#include "app/platform/GameWindow.hpp"
#include "app/platform/ProgramObjects.hpp"
#include "game/Bursts.hpp"
#include "game/LevelShowParts.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/level/Level.hpp"
#include "sim/level/Units.hpp"
#include "sim/play/LevelSimulation.hpp"

namespace {

const sf::Vector2f timeLabelPosition(10.0f, 960.0f);
const sf::Vector2f clockPosition(180.0f, 984.0f);  // left edge, centre line
const sf::Vector2f badgePosition(640.0f, 960.0f);
const sf::Vector2f thumbnailPosition(768.0f, 768.0f);
const sf::Vector2f thumbnailSize(512.0f, 256.0f);
// Seconds a broken block or target takes to shrink away.
constexpr float brokenPopupSeconds = 0.9993f;

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

LevelShow::LevelShow(GameWindow& window) : window(window), hudView(ScreenLook::logicalView()) {
    worldView.setSize(ScreenLook::viewWidth, ScreenLook::viewHeight);
    drawClouds = settings().get(Setting::drawClouds) > 0;
    loadResources();
}

void LevelShow::loadResources() {
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
    face.loadImages();
    ghost.loadImage();
}

void LevelShow::begin(const LevelSimulation& simulation, const sf::Image& thumbnail) {
    finishBanner.reset();
    start.reset();
    finishFlash = 0.0f;
    sprites.build(*simulation.level(), images);

    thumbnailTexture = sf::Texture();
    if (thumbnail.getSize().x > 0 && thumbnailTexture.loadFromImage(thumbnail)) {
        thumbnailTexture.setSmooth(true);
        thumbnailSprite.setTexture(thumbnailTexture, true);
        scaleTo(thumbnailSprite, thumbnailTexture, thumbnailSize);
    }
    thumbnailSprite.setPosition(thumbnailPosition);

    face.animation.setColour(colourIndex(PlayState::startColour));
    face.animation.setGrin(false);
    const TileMap& map = simulation.play().tileMap;
    configureLevelClouds(clouds, map.width, map.height, images.texture(TileImages::lightSmoke));
    clock.value = 0.0f;
    placeWorldView(simulation);
}

void LevelShow::catchUp(const LevelSimulation& simulation) {
    contactPopups.clear();
    hudPopups.clear();
    bursts.clear();
    finishFlash = 0.0f;
    finishBanner.reset();
    const float countdown = simulation.play().countdownTime;
    start.skipTo(countdown, countdown >= LevelSimulation::countdownSeconds);
    face.animation.setColour(colourIndex(simulation.ballColour()));
    face.animation.setGrin(simulation.finished());
    clock.value = simulation.raceClock();
    placeWorldView(simulation);
}

void LevelShow::beginFrame(float frameTime) {
    finishFlash = std::max(finishFlash - frameTime, 0.0f);
    badgeSeconds += frameTime;
}

void LevelShow::takeFrame(const FrameReport& report, const LevelSimulation& simulation) {
    if (report.colourChanged) {
        beamSound.play();
        face.animation.setColour(colourIndex(simulation.ballColour()));
    }
    if (report.impactReaction) {
        face.animation.reactToImpact();
    }
    if (report.hornSounded) {
        hornSound.play();
    }
    contactSounds.play(simulation.play().events);
    showContactEvents(simulation);
}

void LevelShow::playFinishSound(bool personalBest) {
    (personalBest ? personalBestSound : finishSound).play();
}

void LevelShow::placeWorldView(const LevelSimulation& simulation) {
    const b2Vec2 camera = simulation.cameraCentre();
    worldView.setCenter(camera.x, camera.y);
    worldView.setRotation(simulation.viewAngle());
}

// The world's moving parts: clouds, the popups and bursts the contacts asked
// for, the entities' animations (only where they can be seen, like the
// drawing) and the ball's face; then the start, and the finish once reached.
void LevelShow::animate(float frameTime, const LevelSimulation& simulation) {
    placeWorldView(simulation);
    if (drawClouds) {
        clouds.update(frameTime);
    }
    updatePopups(contactPopups, frameTime);
    const Level* level = simulation.level();
    if (level != nullptr) {
        sprites.animate(*level, worldView, frameTime);
    }
    bursts.remove_if([](const ParticleEmitter& burst) { return burst.finished; });
    for (ParticleEmitter& burst : bursts) {
        burst.update(frameTime);
    }
    if (level != nullptr && level->ball) {
        face.animation.update(frameTime);
    }
    updateStart(frameTime, simulation);
    if (simulation.finished()) {
        face.animation.setGrin(true);
        finishBanner.wave.advance(frameTime);
    }
}

// The popups, bursts and flash of what the contacts did in the frame (their
// sounds have played already).
void LevelShow::showContactEvents(const LevelSimulation& simulation) {
    using Kind = ContactEvent::Kind;
    for (const ContactEvent& event : simulation.play().events) {
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

void LevelShow::drawWorld(const LevelSimulation& simulation) const {
    window.clear(lerpColor(sf::Color::White, ScreenLook::backdrop, finishFlash));
    window.setView(worldView);
    if (drawClouds) {
        clouds.draw(window);
    }
    drawPopups(contactPopups, window);
    const Level* level = simulation.level();
    if (level != nullptr) {
        sprites.draw(*level, window.target());
    }
    for (const ParticleEmitter& burst : bursts) {
        burst.draw(window);
    }
    // Under the player's ball: where the two meet, the player's own shows.
    ghost.draw(window);
    if (level != nullptr && level->ball) {
        const b2Body& ball = *level->ball->body();
        const b2Vec2 at = pixelsOf(ball.GetPosition());
        face.draw(window, sf::Vector2f(at.x, at.y), ball.GetAngle() * degreesPerRadian);
    }
}
