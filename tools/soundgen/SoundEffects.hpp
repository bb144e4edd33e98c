#pragma once

#include <string>
#include <vector>

#include "Quality.hpp"
#include "StereoBuffer.hpp"

namespace soundgen {

// Every sound effect of data/sound/, by file name, with the length it may
// have and how soon it must be at its loudest.
struct SoundEffectRecipe {
    std::string file;
    StereoBuffer (*render)();
    Timing timing;
};
const std::vector<SoundEffectRecipe>& soundEffects();

// Struck and broken things: knock, block, glass, mallet, countdown tick.
StereoBuffer renderPlonk();
StereoBuffer renderCrack();
StereoBuffer renderGlass();
StereoBuffer renderXylophone();
StereoBuffer renderClick();
// Signals: start horn, personal-best fanfare, finish jingle, colour zap.
StereoBuffer renderHorn();
StereoBuffer renderPersonalBest();
StereoBuffer renderFinish();
StereoBuffer renderBeam();

}  // namespace soundgen
