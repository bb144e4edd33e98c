// Wall time of one play frame of the real play screen, everything included:
// events, the world steps of 1/60 s, clouds, entities, bursts, the face, the
// head-up display and the buffer swap. The window is the game's default
// 1024 x 768 in script mode (fixed frame time, no frame-rate limit). Besides
// the mean, each level reports the 99th percentile of its frame times: a
// hitch is felt even when the mean is low.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/platform/GameWindow.hpp"
#include "game/PlayScreen.hpp"
#include "level/LevelCatalogue.hpp"

namespace {

constexpr int countdownFrames = 310;
constexpr int framesPerSwing = 90;

struct BenchLevel {
    std::string name;
    std::string file;
    int levelId;
    GameMode mode;
};

std::vector<BenchLevel> levelsToTime() {
    std::vector<BenchLevel> levels;
    for (GameMode mode : {raceMode, puzzleMode}) {
        LevelCatalogue catalogue;
        catalogue.fill(mode);
        // The game's own levels, so the figures stay comparable as packs come.
        for (const CatalogueLevel& level : catalogue.levels) {
            if (level.identity.isShipped()) {
                levels.push_back({level.name, level.file, level.identity.id, mode});
            }
        }
    }
    levels.push_back(
        {"Showcase (test level)", "tests/scene/game/levels/Showcase.tmx", 9100, raceMode});
    return levels;
}

// The frame time below which 99 % of the frames stay, in milliseconds.
double percentile99(std::vector<double> milliseconds) {
    if (milliseconds.empty()) {
        return 0.0;
    }
    const std::size_t rank = (milliseconds.size() * 99 + 99) / 100 - 1;
    std::nth_element(milliseconds.begin(), milliseconds.begin() + static_cast<long>(rank),
                     milliseconds.end());
    return milliseconds[rank];
}

GameWindow& benchWindow() {
    static GameWindow window;
    if (!window.isOpen()) {
        window.startScript(1.0f / 60.0f);
        window.open(sf::VideoMode(1024, 768, 32), "Rollavortex 1.0 (frame benchmark)",
                    sf::Style::Titlebar | sf::Style::Close, sf::ContextSettings(24, 8, 0));
    }
    return window;
}

void playFrames(benchmark::State& state, const BenchLevel& level) {
    GameWindow& window = benchWindow();
    LevelCatalogue catalogue;
    catalogue.addLevel(level.file, level.name.c_str(), level.levelId);
    catalogue.loadThumbnails();
    PlayScreen screen(window, level.mode, catalogue, 0, true);
    if (screen.simulation().play().tileMap.tiles.empty()) {
        state.SkipWithError("level file missing");
        return;
    }
    for (int i = 0; i < countdownFrames && !screen.over(); ++i) {
        screen.runFrame();
    }
    int frame = 0;
    std::vector<double> frameMilliseconds;
    frameMilliseconds.reserve(static_cast<std::size_t>(state.max_iterations));
    for (auto _ : state) {
        const auto frameStart = std::chrono::steady_clock::now();
        if (frame % framesPerSwing == 0) {
            const bool left = (frame / framesPerSwing) % 2 == 0;
            window.queueEvent(
                GameWindow::keyEvent(left ? sf::Keyboard::Left : sf::Keyboard::Right, true, true));
        }
        ++frame;
        if (screen.over()) {
            state.SkipWithError("the level ended during the benchmark");
            break;
        }
        screen.runFrame();
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - frameStart;
        frameMilliseconds.push_back(spent.count());
    }
    // With ROLLAVORTEX_SHOTS naming a folder, the last frame of each level is
    // kept there for a look.
    const char* shots = std::getenv("ROLLAVORTEX_SHOTS");
    if (shots != nullptr && *shots != '\0' && !screen.over()) {
        window.capture().saveToFile(std::string(shots) + "/frame-" + std::to_string(level.levelId) +
                                    ".png");
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(frame), benchmark::Counter::kIsRate);
    double total = 0.0;
    for (double milliseconds : frameMilliseconds) {
        total += milliseconds;
    }
    const double count = static_cast<double>(std::max<std::size_t>(frameMilliseconds.size(), 1));
    state.counters["mean_ms"] = total / count;
    state.counters["p99_ms"] = percentile99(frameMilliseconds);
}

}  // namespace

int main(int argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::cerr << "bench_frame needs a display (run it under xvfb-run)\n";
        return 0;
    }
    for (const BenchLevel& level : levelsToTime()) {
        benchmark::RegisterBenchmark(("frame/" + level.name).c_str(), playFrames, level)
            ->Iterations(600)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
