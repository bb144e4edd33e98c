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

#include "app/input/InputEdge.hpp"

// The one window of the game, and the only place that reads a clock or the
// real event queue. Every screen takes it.
//
// In script mode (tests, replays, benchmarks) every frame lasts a fixed time,
// events (keys, pads, Closed) come from a queue filled by the script, the frame-rate limit is off,
// and each frame's picture can be kept. A whole game then plays in seconds and
// the same way every time.
//
// Every event passes the input edge (InputEdge) on its way out, so pads and
// chosen keys reach the screens as the keys they know, and F11 or Alt+Return
// switch the whole screen on and off wherever the player is.
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

    void setMouseCursorVisible(bool visible);
    void setKeyRepeatEnabled(bool enabled);
    void setFramerateLimit(unsigned limit);

    // --- Input and the whole screen ---
    // Menus or play read the next events.
    void setInputUse(InputUse use) { input.setUse(use, ready); }
    void setKeyBindings(const KeyBindings& bindings) { input.setBindings(bindings); }
    bool padConnected() const { return input.padConnected(); }
    // Opens the window again with or without the whole screen and stores the
    // choice under "fullscreen".
    void setFullscreen(bool on);
    bool fullscreen() const { return fullscreenOn; }

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
    static sf::Event padMoveEvent(unsigned pad, sf::Joystick::Axis axis, float position);
    static sf::Event padButtonEvent(unsigned pad, unsigned button, bool pressed);
    static sf::Event padConnectionEvent(unsigned pad, bool connected);

  private:
    // The next event before the input edge: the script's or the system's.
    bool nextRawEvent(sf::Event& event);
    // F11, or Return with Alt: switches the whole screen and is used up.
    bool takeFullscreenSwitch(const sf::Event& event);
    // Pads plugged in before the game started send no event of their own.
    void notePadsPluggedIn();

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

    InputEdge input;
    std::deque<sf::Event> ready;  // translated, waiting for the screens
    // What open() was given and set later, to open the window again.
    sf::VideoMode openedMode;
    std::string openedTitle;
    std::uint32_t openedStyle = 0;
    sf::ContextSettings openedContext;
    bool fullscreenOn = false;
    bool cursorVisible = true;
    bool keyRepeat = true;
    unsigned frameLimit = 0;
};
