// The level show's start sequence and its head-up display.

#include <cmath>

#include "app/look/ScreenFade.hpp"
#include "app/platform/GameWindow.hpp"
#include "game/LevelShow.hpp"
#include "game/LevelShowParts.hpp"
#include "sim/play/LevelSimulation.hpp"

namespace {

constexpr float countdownPopupSeconds = 0.666f;
constexpr float countdownPopupDelay = 0.3f;  // full size before it shrinks
const sf::Vector2f countdownPosition(ScreenLook::viewWidth * 0.5f,
                                     ScreenLook::viewHeight * 0.5f * 0.333f);
constexpr float badgeShrink = 30.0f;    // pixels the badge pulses by
constexpr float badgePulseRate = 3.0f;  // radians per second of the pulse

}  // namespace

// The start: the countdown numbers with their click, the thumbnail's fade and
// the fade-in, which shows the 3 when it ends.
void LevelShow::updateStart(float frameTime, const LevelSimulation& simulation) {
    const int cue = start.countdownCue(simulation.play().countdownTime);
    if (cue != 0) {
        showCountdownPopup(cue);
    }
    if (start.thumbnailAlpha() >= 0) {
        start.advanceThumbnail(frameTime);
    }
    updatePopups(hudPopups, frameTime);
    clock.value = simulation.raceClock();
    if (start.advanceIntro(frameTime)) {
        showCountdownPopup(StartSequence::firstNumber);
    }
}

void LevelShow::showCountdownPopup(int number) {
    const std::size_t index = static_cast<std::size_t>(StartSequence::firstNumber - number);
    if (index >= countdownTextures.size()) {
        return;
    }
    clickSound.play();
    Popup popup(&countdownTextures[index], countdownPopupSeconds, countdownPopupDelay);
    popup.sprite().setPosition(countdownPosition);
    hudPopups.push_back(popup);
}

void LevelShow::drawHud() const {
    window.setView(hudView);
    const int thumbnailAlpha = start.thumbnailAlpha();
    if (thumbnailAlpha >= 0 && thumbnailTexture.getSize().x > 0) {
        sf::Sprite thumbnail(thumbnailSprite);
        thumbnail.setColor(sf::Color(255, 255, 255, static_cast<sf::Uint8>(thumbnailAlpha)));
        window.draw(thumbnail);
    }
    drawPopups(hudPopups, window);
    window.draw(timeLabelSprite);
    clock.draw(window);
}

void LevelShow::drawBadge() const {
    const sf::Texture* badge = personalBestSprite.getTexture();
    if (badge == nullptr) {
        return;
    }
    const float pulse = std::fabs(std::sin(badgePulseRate * badgeSeconds));
    const sf::Vector2f size(badge->getSize());
    const float shrink = badgeShrink - badgeShrink * pulse;
    sf::Sprite sprite(personalBestSprite);
    scaleTo(sprite, *badge, size - sf::Vector2f(shrink, shrink));
    window.draw(sprite);
}

void LevelShow::drawBanner() const {
    finishBanner.draw(window);
}

void LevelShow::drawIntroCover() const {
    if (start.introAlpha() > 0) {
        drawBlackCover(window, start.introAlpha());
    }
}
