#pragma once

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/Window/Event.hpp>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// The one window of the game, and the only place that reads a clock or the
// real event queue. Every screen takes it.
//
// In script mode (tests, replays, benchmarks) every frame lasts a fixed time,
// events come from a queue filled by the script, the frame-rate limit is off,
// and each frame's picture can be kept. A whole game then plays in seconds and
// the same way every time.
class GameWindow {
  public:
    using FrameHook = std::function<void(GameWindow&)>;

    // Longest frame time handed to the game: after a stall (a blocking request,
    // a dragged window) the world slows down instead of jumping ahead.
    static constexpr float maxFrameTime = 0.25f;

    GameWindow() = default;
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    void open(const sf::VideoMode& mode, const std::string& title, std::uint32_t style,
              const sf::ContextSettings& context);
    bool isOpen() const { return window.isOpen(); }
    void close() { window.close(); }

    // Next event for the game: from the real queue, or in script mode from the
    // script's queue (real events are then drained and dropped).
    bool pollEvent(sf::Event& event);

    void clear(const sf::Color& colour) { window.clear(colour); }
    void setView(const sf::View& view) { window.setView(view); }
    const sf::View& getView() const { return window.getView(); }
    void draw(const sf::Drawable& drawable,
              const sf::RenderStates& states = sf::RenderStates::Default) {
        window.draw(drawable, states);
    }
    sf::RenderTarget& target() { return window; }

    // Ends the frame: runs the script's frame hook, keeps the picture when asked,
    // shows the frame and measures the frame time.
    void display();
    // Seconds of the previous frame.
    float frameTime() const { return lastFrameTime; }
    // Frames shown since the window was opened.
    std::uint64_t frameNumber() const { return frames; }

    void setMouseCursorVisible(bool visible) { window.setMouseCursorVisible(visible); }
    void setKeyRepeatEnabled(bool enabled) { window.setKeyRepeatEnabled(enabled); }
    void setFramerateLimit(unsigned limit);

    // --- Script mode ---
    void startScript(float fixedFrameSeconds);
    bool scripted() const { return scriptMode; }
    // Delivered from the next poll on.
    void queueEvent(const sf::Event& event) { scriptEvents.push_back(event); }
    // Delivered in frame `frame` (frameNumber()) or the first poll after it.
    void queueEventAt(std::uint64_t frame, const sf::Event& event);
    // Called in every display(), before the picture is shown, so a hook can look
    // at the finished frame (capture()) and queue the next events.
    void setFrameHook(FrameHook hook) { frameHook = std::move(hook); }
    // The frame drawn so far, read back from the window.
    sf::Image capture();
    // A Closed event is queued when this many frames have passed, so a script
    // that goes wrong ends instead of hanging.
    void setFrameBudget(std::uint64_t maxFrames) { frameBudget = maxFrames; }
    bool budgetExceeded() const { return frameBudget != 0 && frames >= frameBudget; }

    static sf::Event keyEvent(sf::Keyboard::Key key, bool pressed, bool shift = false,
                              bool control = false);
    static sf::Event closedEvent();
    static sf::Event textEvent(std::uint32_t unicode);

  private:
    sf::RenderWindow window;
    sf::Clock clock;
    float lastFrameTime = 0.0f;
    std::uint64_t frames = 0;

    bool scriptMode = false;
    float fixedFrameTime = 1.0f / 60.0f;
    std::deque<sf::Event> scriptEvents;
    std::vector<std::pair<std::uint64_t, sf::Event>> timedEvents;
    FrameHook frameHook;
    std::uint64_t frameBudget = 0;
    bool budgetClosedSent = false;
};
