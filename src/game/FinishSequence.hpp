#pragma once

// Where a level stands after its finish, in the order the phases come. A
// phase shows from the frame that enters it; a phase whose work blocks (a
// request to the highscore server) does that work in the next frame's update,
// so its wait message is on screen while it blocks.
enum class FinishPhase {
    racing,        // not finished yet
    banner,        // scored; the banner falls in and waits for Space or Return
    toTable,       // the fade toward half darkness (online scores on)
    submitting,    // at half darkness: the time goes to the server
    fetching,      // the time is sent: the level's table comes back
    showingTable,  // the table is up until the player goes on
    leaving,       // the fade to black; the next level once it is black
};

// What happens on screen after a finish, apart from the banner's letters: the
// scoring, the fade to half darkness where the highscore table is shown (with
// online scores on), and the fade to black that moves on to the next level.
class FinishSequence {
  public:
    static constexpr float endFadeStart = 2.0f;
    // With online scores on, the fade rests here (half dark) for the table.
    static constexpr float tableFade = 1.0f;

    void reset();
    // Decides the personal best once per finish and shows the banner; true
    // the first time, when the caller stores and sounds it. `storedBest` is
    // -1 when there is none.
    bool score(float storedBest, float time);
    // The player sent the banner off: the fade starts, toward the table with
    // online scores on, else straight to black.
    void dismissBanner(bool online);
    // One frame of the fade after the banner, and whether the player may go
    // on: only from the table, so a key still down from the banner (Return's
    // release does not clear it) cannot skip the table, and a new best is
    // always stored. True in the frame the fade reaches black.
    bool advanceFade(float frameTime, bool goOnPressed);
    // Black cover of the fade after the banner (0..255).
    int endFadeAlpha() const;
    // The fade after the banner runs (its cover is drawn).
    bool fading() const { return phase > FinishPhase::banner; }

    FinishPhase phase = FinishPhase::racing;
    float endFade = endFadeStart;
    bool newPersonalBest = false;
};
