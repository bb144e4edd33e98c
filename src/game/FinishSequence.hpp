#pragma once

// What happens on screen after a finish, apart from the banner's letters: the
// scoring, the fade to half darkness where the highscore table is shown (with
// online scores on), and the fade to black that moves on to the next level.
class FinishSequence {
  public:
    static constexpr float endFadeStart = 2.0f;
    // With online scores on, the fade rests here (half dark) for the table.
    static constexpr float tableFade = 1.0f;

    void reset();
    // Decides the personal best once per finish; true the first time, when
    // the caller stores and sounds it. `storedBest` is -1 when there is none.
    bool score(float storedBest, float time);
    // One frame of the end phase (the banner has been dismissed): the fade,
    // and whether the player may go on. True when the fade reached black.
    bool endPhase(float frameTime, bool goOnPressed, int submitScores);
    // Black cover of the end phase (0..255).
    int endFadeAlpha() const;

    float endFade = endFadeStart;
    bool finishHandled = false;
    bool newPersonalBest = false;
    // Shared with the online step after a finish: results wanted, time sent,
    // table fetched, and table done (the player goes on).
    bool submitPending = false;
    bool submitted = false;
    bool tableFetched = false;
    bool leaving = false;
};
