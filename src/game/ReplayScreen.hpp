#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/Window/Event.hpp>

#include <array>
#include <memory>
#include <string>

#include "game/LevelShow.hpp"
#include "game/ReplaySource.hpp"
#include "sim/run/RunTimeline.hpp"

class GameWindow;

// Shows a recorded run as it was played: the play screen's own picture and
// sounds (LevelShow), driven by the run's recorded inputs and frame times
// instead of the keys. The viewer pauses and resumes, picks a speed from a
// quarter to four times, steps one frame while paused, seeks 5 s back or
// forward, restarts, and leaves with Escape; a pad does the same through the
// menu keys it stands for. A run that cannot be shown (not a run, another
// physics version, another version of its level, no level file) shows why,
// and says it in one line on standard error.
//
// The simulation only ever advances by the run's own frame times, so every
// speed ends in exactly the state of a headless replay: at four times several
// recorded frames play in one window frame, at a quarter one plays every
// fourth window frame, and the animations around them run at the speed.
class ReplayScreen {
  public:
    // Fractions of real time, slowest first.
    static constexpr std::array<float, 5> speeds{0.25f, 0.5f, 1.0f, 2.0f, 4.0f};
    static constexpr int normalSpeed = 2;
    static constexpr double seekSeconds = 5.0;  // game time

    ReplayScreen(GameWindow& window, const ReplaySource& source);
    ReplayScreen(const ReplayScreen&) = delete;
    ReplayScreen& operator=(const ReplayScreen&) = delete;

    // Shows the run until Escape or until the window closes.
    void run();
    // One frame: update, then draw (none in a frame that ends the screen).
    void runFrame();
    bool over() const;

    // What tests look at.
    // Why the run is not shown; empty when it is.
    const std::string& problem() const { return refusal; }
    // Null when the run is not shown.
    const RunTimeline* timeline() const { return replay.get(); }
    bool paused() const { return pause; }
    int speedIndex() const { return speed; }
    // Recorded frames played in the last window frame.
    int framesLastPlayed() const { return lastPlayed; }
    // The two lines at the top: what is shown, and whose run it is with its
    // time (UTF-8).
    std::string headline() const;
    std::string byline() const;

  private:
    void open(const ReplaySource& source);
    void refuse(const std::string& reason);
    void loadLabels(const ReplaySource& source);

    // --- Update ---
    void update(float frameTime);
    // False once the frame must end (Escape, the window closed).
    bool readKeys();
    void handleKey(sf::Keyboard::Key key);
    void seekBy(double seconds);
    void seekTo(std::size_t frame);
    // Plays the recorded frames that fit into `seconds` of game time, with
    // what remains kept for the next window frame; the number played.
    int playFor(double seconds);
    void playOne();

    // --- Draw (ReplayScreenHud.cpp) ---
    void draw() const;
    void drawRefusal() const;
    void drawReplayHud() const;
    void drawProgress() const;
    void drawLegend() const;
    std::string speedText() const;

    GameWindow& window;
    sf::View hudView;
    sf::Font font;
    LevelShow show;
    std::unique_ptr<RunTimeline> replay;
    std::string refusal;

    sf::Text title;    // "Replay · The Labyrinth"
    sf::Text subject;  // "Your best · 18.050"
    sf::Text refusalTitle;

    bool pause = false;
    int speed = normalSpeed;
    double owed = 0.0;  // game seconds due but not yet played (less than a frame)
    int lastPlayed = 0;
    bool stepAsked = false;  // one frame forward, read while paused
    bool quit = false;
};
