// The play screen's start and finish sequences and its head-up display.

#include "game/PlayScreen.hpp"

#include <cmath>

#include "app/GameWindow.hpp"
#include "app/ScreenFade.hpp"
#include "game/PersonalBest.hpp"
#include "game/PlayScreenParts.hpp"

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
void PlayScreen::updateStart(float frameTime) {
    const int cue = start.countdownCue(sim->play().countdownTime);
    if (cue != 0) {
        showCountdownPopup(cue);
    }
    if (start.thumbnailAlpha() >= 0) {
        start.advanceThumbnail(frameTime);
    }
    updatePopups(hudPopups, frameTime);
    clock.value = sim->raceClock();
    if (start.advanceIntro(frameTime)) {
        showCountdownPopup(StartSequence::firstNumber);
    }
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

// The finish in its phases: scored once, then the banner waits for Space or
// Return once the flash is over; then the online step and the fade, and black
// moves on to the next level.
void PlayScreen::updateFinish(float frameTime) {
    if (!sim->finished()) {
        return;
    }
    scoreFinish();
    face.animation.setGrin(true);
    finishBanner.wave.advance(frameTime);
    if (finish.phase == FinishPhase::banner) {
        if (finishFlash == 0.0f && screenKeys.confirm) {
            finishBanner.wave.incoming = false;
            finish.dismissBanner(submitScores);
        }
        return;
    }
    if (submitScores) {
        const FinishedRun run{userName, mode, levelIdentity(), sim->raceClock(),
                              finishedRecording()};
        postFinish.update(run, finish, screenKeys.confirm, screenKeys);
    }
    if (finish.advanceFade(frameTime, screenKeys.confirm)) {
        advanceLevel();
    }
}

void PlayScreen::scoreFinish() {
    if (!finish.score(personalBest, sim->raceClock())) {
        return;
    }
    if (!finish.newPersonalBest) {
        keepRunOfFinish(finishedRecording());
        finishSound.play();
        return;
    }
    // With online scores on, the best is stored just before it is sent.
    if (!submitScores) {
        storePersonalBest(mode, levelIdentity(), sim->raceClock(), finishedRecording());
    }
    personalBestSound.play();
}

// The head-up display in the fixed view, in the order the player's eye needs
// it: thumbnail and countdown, the time, the badge, the finish sequence and
// its fade, the fade-in over everything, and the online step's message or
// table over the half-dark frame.
void PlayScreen::drawHud() const {
    const int thumbnailAlpha = start.thumbnailAlpha();
    if (thumbnailAlpha >= 0 && thumbnailTexture.getSize().x > 0) {
        sf::Sprite thumbnail(thumbnailSprite);
        thumbnail.setColor(sf::Color(255, 255, 255, static_cast<sf::Uint8>(thumbnailAlpha)));
        window.draw(thumbnail);
    }
    drawPopups(hudPopups, window);
    window.draw(timeLabelSprite);
    clock.draw(window);
    if (finish.newPersonalBest) {
        drawBadge();
    }
    if (finish.phase != FinishPhase::racing) {
        finishBanner.draw(window);
    }
    if (finish.fading()) {
        drawBlackCover(window, finish.endFadeAlpha());
    }
    if (start.introAlpha() > 0) {
        drawBlackCover(window, start.introAlpha());
    }
    if (submitScores && finish.phase >= FinishPhase::submitting) {
        postFinish.draw(window, finish.phase);
    }
}

void PlayScreen::drawBadge() const {
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
