#include "game/FinishSequence.hpp"

#include <algorithm>

#include "game/PersonalBest.hpp"

void FinishSequence::reset() {
    *this = FinishSequence();
}

bool FinishSequence::score(float storedBest, float time) {
    if (phase != FinishPhase::racing) {
        return false;
    }
    phase = FinishPhase::banner;
    newPersonalBest = beatsPersonalBest(storedBest, time);
    return true;
}

void FinishSequence::dismissBanner(bool online) {
    if (phase == FinishPhase::banner) {
        phase = online ? FinishPhase::toTable : FinishPhase::leaving;
    }
}

bool FinishSequence::advanceFade(float frameTime, bool goOnPressed) {
    switch (phase) {
        case FinishPhase::toTable:
            if (endFade > tableFade) {
                endFade = std::max(0.0f, endFade - frameTime);
            } else {
                endFade = tableFade;
                phase = FinishPhase::submitting;
            }
            return false;
        case FinishPhase::showingTable:
            if (!goOnPressed) {
                return false;
            }
            phase = FinishPhase::leaving;
            break;
        case FinishPhase::leaving:
            break;
        default:
            return false;
    }
    endFade = std::max(0.0f, endFade - frameTime);
    return endFade == 0.0f;
}

int FinishSequence::endFadeAlpha() const {
    return std::clamp(static_cast<int>((1.0f - endFade * 0.5f) * 255.0f), 0, 255);
}
