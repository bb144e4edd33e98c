#include "game/StartSequence.hpp"

#include <algorithm>
#include <cmath>

namespace {

constexpr float thumbnailAlphaMax = 192.0f;

}  // namespace

void StartSequence::reset() {
    introFade = introSeconds;
    shownCountdown = firstNumber;
}

void StartSequence::skipTo(float countdownTime, bool atStart) {
    reset();
    thumbnailFade = thumbnailSeconds;
    if (atStart) {
        return;
    }
    introFade = 0.0f;
    if (countdownTime > 0.0f) {
        shownCountdown = static_cast<int>(std::trunc(countdownTime));
    } else {
        thumbnailFade = -1.0f;
    }
}

int StartSequence::countdownCue(float countdownTime) {
    if (!(countdownTime > 0.0f)) {
        return 0;
    }
    thumbnailFade = thumbnailSeconds;
    const int whole = static_cast<int>(std::trunc(countdownTime));
    if (whole == shownCountdown) {
        return 0;
    }
    shownCountdown = whole;
    // Two seconds left shows nothing: the 3 came with the end of the fade-in.
    if (whole == 1) {
        return 2;
    }
    if (whole == 0) {
        return 1;
    }
    return 0;
}

bool StartSequence::advanceIntro(float frameTime) {
    if (!(introFade > 0.0f)) {
        return false;
    }
    introFade -= frameTime;
    if (introFade <= 0.0f) {
        introFade = 0.0f;
        return true;
    }
    return false;
}

int StartSequence::introAlpha() const {
    return std::clamp(static_cast<int>(introFade * 0.5f * 255.0f), 0, 255);
}

int StartSequence::thumbnailAlpha() const {
    if (thumbnailFade < 0.0f) {
        return -1;
    }
    return std::clamp(static_cast<int>(thumbnailFade / thumbnailSeconds * thumbnailAlphaMax), 0,
                      255);
}

void StartSequence::advanceThumbnail(float frameTime) {
    if (thumbnailFade >= 0.0f) {
        thumbnailFade -= frameTime;
    }
}
