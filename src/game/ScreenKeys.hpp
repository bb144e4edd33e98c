#pragma once

#include "sim/play/PlayInput.hpp"

// The keys the play screen reads for itself beside the simulation, from the
// same inputs: Escape pauses, Up and Down scroll the table after a finish,
// Space or Return go on from the finish. They are no part of a run.
struct ScreenKeys {
    bool pauseRequested = false;  // the screen switches at the end of the frame
    bool upPressed = false;       // consumed by the highscore table
    bool downPressed = false;
    // Space or Return pressed and not yet taken; releasing Space takes it
    // back, as it does a jump.
    bool confirm = false;

    void apply(const PlayInput& input);
    // Everything off, as at the start of a level.
    void reset() { *this = ScreenKeys(); }
};
