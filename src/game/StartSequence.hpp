#pragma once

// The start of a level on screen: a fade-in from black over 2 s, then the
// numbers 3, 2 and 1 one second apart, while the level's thumbnail shows; the
// horn (in the simulation's countdown) follows one second after the 1.
class StartSequence {
  public:
    static constexpr float introSeconds = 2.0f;
    static constexpr float thumbnailSeconds = 1.5f;
    static constexpr int firstNumber = 3;

    void reset();
    // After a jump in time (a replay sought elsewhere), given the countdown
    // time left: from the very start as reset; anywhere else without the
    // fade-in, with the numbers already passed not shown again, and the
    // thumbnail up while the countdown runs and gone after it.
    void skipTo(float countdownTime, bool atStart);
    // Bookkeeping of a frame while the countdown runs, given the countdown
    // time left (seconds): the number (2 or 1) that appears in this frame, or
    // 0. Also holds the thumbnail at full strength.
    int countdownCue(float countdownTime);
    // Advances the fade-in; true in the frame in which it ends (show the 3).
    bool advanceIntro(float frameTime);
    // Black cover of the fade-in (0..255), 0 once it has ended.
    int introAlpha() const;
    // Alpha of the thumbnail (0..192) while it shows; -1 once it has faded.
    int thumbnailAlpha() const;
    // Lets the thumbnail fade out by the frame time once the countdown ended.
    void advanceThumbnail(float frameTime);

    float introFade = introSeconds;
    float thumbnailFade = thumbnailSeconds;
    int shownCountdown = firstNumber;
};
