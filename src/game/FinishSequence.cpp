#include "game/FinishSequence.hpp"

#include <algorithm>

#include "game/PersonalBest.hpp"

void FinishSequence::reset() {
    *this = FinishSequence();
}

bool FinishSequence::score(float storedBest, float time) {
    if (finishHandled) {
        return false;
    }
    finishHandled = true;
    newPersonalBest = beatsPersonalBest(storedBest, time);
    return true;
}

bool FinishSequence::endPhase(float frameTime, bool goOnPressed, int submitScores) {
    if (!leaving) {
        if (endFade > tableFade || submitScores < 1) {
            endFade = std::max(0.0f, endFade - frameTime);
        } else {
            endFade = tableFade;
            submitPending = true;
            // The time goes to the server and its table is shown before the
            // player may leave: a key still down from the banner (Return's
            // release does not clear it) must not skip the table, and a new
            // best must be stored whatever is pressed.
            if (goOnPressed && submitted && tableFetched) {
                leaving = true;
            }
        }
    }
    if (leaving) {
        endFade = std::max(0.0f, endFade - frameTime);
    }
    return endFade == 0.0f;
}

int FinishSequence::endFadeAlpha() const {
    return std::clamp(static_cast<int>((1.0f - endFade * 0.5f) * 255.0f), 0, 255);
}
