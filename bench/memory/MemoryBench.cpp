// Resident memory of the game on each screen a player meets first: the main
// menu, the level selection of "Race" and the first level in play. The real
// game runs in this process, in the game's default window of 1024 x 768 in
// script mode, with a settings store of its own (no name entry, no highscore
// server), and the figures are read from /proc/self/status after each screen
// has run for a while. Software rendering (Xvfb) keeps textures in the
// process, so they count here as they would on a machine without a GPU.

#include <SFML/Window/Keyboard.hpp>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "GameEntry.hpp"
#include "app/platform/GameWindow.hpp"
#include "app/platform/ProgramObjects.hpp"

namespace {

// Frames a screen runs before it is measured, and before keys go to it (its
// fade-in takes keys after 0.2 s).
constexpr std::uint64_t settleFrames = 120;
constexpr std::uint64_t keyFrames = 30;
// Play is measured after the countdown, with the world turning.
constexpr std::uint64_t playFrames = 600;
constexpr std::uint64_t frameBudget = 60 * 120;

// Kilobytes of a "Name:   1234 kB" line of /proc/self/status; -1 when absent.
long statusKilobytes(const std::string& name) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(name + ":", 0) == 0) {
            return std::strtol(line.c_str() + name.size() + 1, nullptr, 10);
        }
    }
    return -1;
}

void report(const char* screen) {
    std::printf("%-16s resident %7.1f MB   peak %7.1f MB\n", screen,
                static_cast<double>(statusKilobytes("VmRSS")) / 1024.0,
                static_cast<double>(statusKilobytes("VmHWM")) / 1024.0);
    std::fflush(stdout);
}

void tap(GameWindow& window, std::uint64_t frame, sf::Keyboard::Key key) {
    window.queueEventAt(frame, GameWindow::keyEvent(key, true));
    window.queueEventAt(frame + 2, GameWindow::keyEvent(key, false));
}

// Walks menu -> level selection -> play, recognising each screen by what it
// leaves behind when it starts: the menu music, then the settings that the
// level selection and the play screen write when they are built.
class Walk {
  public:
    explicit Walk(Settings& store) : store(store) {}

    void onFrame(GameWindow& window) {
        const std::uint64_t frame = window.frameNumber();
        switch (phase) {
            case Phase::intro:
                if (menuMusic().isPlaying()) {
                    enter(Phase::menu, frame);
                }
                break;
            case Phase::menu:
                if (frame == since + settleFrames) {
                    report("main menu");
                    tap(window, frame + 1, sf::Keyboard::Return);  // "Race"
                }
                if (store.contains("startlevel_1")) {
                    enter(Phase::levelSelection, frame);
                }
                break;
            case Phase::levelSelection:
                if (frame == since + settleFrames) {
                    report("level selection");
                    tap(window, frame + 1, sf::Keyboard::Return);  // "Play all"
                }
                if (store.contains("turnspeed")) {
                    enter(Phase::play, frame);
                    window.queueEventAt(frame + keyFrames,
                                        GameWindow::keyEvent(sf::Keyboard::Left, true, true));
                }
                break;
            case Phase::play:
                if (frame == since + playFrames) {
                    report("play");
                    window.queueEvent(GameWindow::closedEvent());
                    phase = Phase::done;
                }
                break;
            case Phase::done:
                break;
        }
    }

    bool finished() const { return phase == Phase::done; }

  private:
    enum class Phase { intro, menu, levelSelection, play, done };

    void enter(Phase next, std::uint64_t frame) {
        phase = next;
        since = frame;
    }

    Settings& store;
    Phase phase = Phase::intro;
    std::uint64_t since = 0;
};

}  // namespace

int main() {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::fprintf(stderr, "bench_memory needs a display (run it under xvfb-run)\n");
        return 0;
    }
    // Without a live ProgramObjects the store lives in memory only and is
    // never saved.
    Settings& store = settings();
    store.setInt("nameentered", 1);
    store.setString("username", "Bench");
    store.setInt("submitscores", 0);
    store.setInt("fullscreen", 0);
    // Nothing listens there: the level selection's table request fails at once.
    store.setString("highscoreserver", "127.0.0.1:9");

    report("start");
    GameWindow window;
    window.startScript(1.0f / 60.0f);
    window.setFrameBudget(frameBudget);
    window.open(sf::VideoMode(1024, 768, 32), "Rollavortex memory benchmark",
                sf::Style::Titlebar | sf::Style::Close, sf::ContextSettings(24, 8, 0));
    Walk walk(store);
    window.setFrameHook([&walk](GameWindow& w) { walk.onFrame(w); });
    runGame(window);
    if (!walk.finished()) {
        std::fprintf(stderr, "bench_memory: the walk did not reach the play screen\n");
        return 1;
    }
    return 0;
}
