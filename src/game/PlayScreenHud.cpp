// The play screen's head-up display pass and the finish flow it runs.

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
    const bool black = finish.endPhase(frameTime, play.jumpRequested, submitScores ? 1 : 0);
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
    if (!submitScores) {
        storePersonalBest(mode, levelId(), sim->raceClock());
    }
    personalBestSound.play();
}

// The online step after a finish: send the time, fetch and show the table,
// over the half-dark frame.
void PlayScreen::runPostFinishStep() {
    const FinishedRun run{userName, mode, levelId(), sim->raceClock()};
    postFinish.runFrame(window, run, finish, sim->play().jumpRequested, sim->keys());
}
