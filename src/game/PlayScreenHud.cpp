// The play screen's finish sequence and its head-up display.

#include "game/PlayScreen.hpp"

#include "app/look/ScreenFade.hpp"
#include "app/look/ScreenLook.hpp"
#include "app/look/ShadowedLabel.hpp"
#include "app/platform/GameWindow.hpp"
#include "game/PersonalBest.hpp"

namespace {

// Right of the clock, on its centre line (logical units).
const sf::Vector2f gapPosition(520.0f, 984.0f);
constexpr unsigned gapTextSize = 44;
const sf::Color aheadColour(90, 230, 90);

}  // namespace

// The finish in its phases: scored once, then the banner waits for Space or
// Return once the flash is over; then the online step and the fade, and black
// moves on to the next level.
void PlayScreen::updateFinish(float frameTime) {
    if (!sim->finished()) {
        return;
    }
    scoreFinish();
    if (finish.phase == FinishPhase::banner) {
        if (show.finishFlashLeft() == 0.0f && screenKeys.confirm) {
            show.bannerWave().incoming = false;
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
        show.playFinishSound(false);
        return;
    }
    // With online scores on, the best is stored just before it is sent.
    if (!submitScores) {
        storePersonalBest(mode, levelIdentity(), sim->raceClock(), finishedRecording());
    }
    show.playFinishSound(true);
}

// The head-up display in the fixed view, in the order the player's eye needs
// it: thumbnail and countdown, the time, the badge, the finish sequence and
// its fade, the fade-in over everything, and the online step's message or
// table over the half-dark frame.
void PlayScreen::drawHud() const {
    show.drawHud();
    drawGhostGap();
    if (finish.newPersonalBest) {
        show.drawBadge();
    }
    if (finish.phase != FinishPhase::racing) {
        show.drawBanner();
    }
    if (finish.fading()) {
        drawBlackCover(window, finish.endFadeAlpha());
    }
    show.drawIntroCover();
    if (submitScores && finish.phase >= FinishPhase::submitting) {
        postFinish.draw(window, finish.phase);
    }
}

// Once the race is on, while a ghost runs: green ahead, red behind.
void PlayScreen::drawGhostGap() const {
    const std::optional<float> gap = show.ghostBall().gap();
    if (!gap || sim->play().countdownRunning) {
        return;
    }
    const bool atFinish = show.ghostBall().gapIsFinal();
    sf::Text label(ghostGapText(*gap, atFinish), font, gapTextSize);
    const sf::FloatRect bounds = label.getLocalBounds();
    label.setPosition(gapPosition.x, gapPosition.y - bounds.top - bounds.height * 0.5f);
    const std::string shown = label.getString();
    if (shown[0] == '-') {
        label.setFillColor(aheadColour);
    } else if (shown[0] == '+') {
        label.setFillColor(ScreenLook::highlightRed);
    }
    drawShadowedLabel(window, label);
}
