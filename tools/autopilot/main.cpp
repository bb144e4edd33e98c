// Plays the shipped levels with the autopilot, prints the finishing times and
// writes each finished run to <out>/<LevelFile>.run. From the project root:
//
//   autopilot [--out levels/runs] [--seconds 300] [--styles 1] [--trace]
//             [level name ...]
//
// Without level names every level of both modes is played. With --styles n
// each level is played in n styles of flying (0 to n - 1) and the fastest
// run is kept.

#include <box2d/b2_body.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "autopilot/AutopilotRun.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/level/Level.hpp"
#include "sim/level/LevelList.hpp"
#include "sim/play/LevelSimulation.hpp"
#include "sim/run/LevelStamp.hpp"
#include "sim/run/RunText.hpp"

namespace {

int traceEvery = 60;

struct Options {
    std::string outFolder;
    float maxSeconds = 300.0f;
    std::uint32_t styles = 1;
    bool trace = false;
    std::vector<std::string> names;
};

bool readOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--out" && i + 1 < argc) {
            options.outFolder = argv[++i];
        } else if (argument == "--seconds" && i + 1 < argc) {
            options.maxSeconds = std::strtof(argv[++i], nullptr);
        } else if (argument == "--styles" && i + 1 < argc) {
            options.styles = static_cast<std::uint32_t>(std::max(1, std::atoi(argv[++i])));
        } else if (argument == "--trace") {
            options.trace = true;
        } else if (argument == "--trace-every" && i + 1 < argc) {
            options.trace = true;
            traceEvery = std::max(1, std::atoi(argv[++i]));
        } else if (!argument.empty() && argument[0] != '-') {
            options.names.push_back(argument);
        } else {
            return false;
        }
    }
    return options.maxSeconds > 0.0f;
}

bool wanted(const Options& options, const std::string& name) {
    if (options.names.empty()) {
        return true;
    }
    for (const std::string& entry : options.names) {
        if (entry == name) {
            return true;
        }
    }
    return false;
}

// One line a second: where the ball is and what is left to do.
void traceFrame(const LevelSimulation& simulation) {
    static int frames = 0;
    if (simulation.level() == nullptr) {
        return;
    }
    const b2Vec2 at = simulation.level()->ball->body()->GetPosition();
    for (const ContactEvent& event : simulation.play().events) {
        if (event.kind == ContactEvent::Kind::penalty) {
            std::printf("  t=%6.2f penalty at cell (%.1f, %.1f), ball at (%.1f, %.1f)\n",
                        simulation.raceClock(), event.position.x / 64.0f, event.position.y / 64.0f,
                        at.x / 1.28f, -at.y / 1.28f);
        }
    }
    if (++frames % traceEvery != 0) {
        return;
    }
    const b2Vec2 speed = simulation.level()->ball->body()->GetLinearVelocity();
    std::printf("  t=%6.2f cell=(%5.1f,%5.1f) v=(%5.1f,%5.1f) angle=%7.1f colour=%d targets=%d\n",
                simulation.raceClock(), at.x / 1.28f, -at.y / 1.28f, speed.x, speed.y,
                simulation.viewAngle(), colourIndex(simulation.ballColour()),
                simulation.colourTargetsLeft());
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!readOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: autopilot [--out folder] [--seconds n] [--styles n] [--trace] "
                     "[level name ...]\n");
        return 2;
    }
    int unfinished = 0;
    for (GameMode mode : {raceMode, puzzleMode}) {
        for (const LevelEntry& level : levelsOf(mode)) {
            const std::string name = level.name;
            const std::string file = dataPath(level.file);
            if (!wanted(options, name)) {
                continue;
            }
            std::printf("%s (%s)\n", name.c_str(), mode == raceMode ? "Race" : "Puzzle");
            std::fflush(stdout);
            RecordedRun run;
            for (std::uint32_t style = 0; style < options.styles; ++style) {
                AutopilotTuning tuning;
                tuning.style = style;
                RecordedRun tried =
                    flyLevel(file, name, mode, tuning, options.maxSeconds, autopilotFrameTime,
                             options.trace ? traceFrame : nullptr);
                if (tried.finishMilliseconds < 0) {
                    std::printf("  style %u: not finished after %zu frames\n", style,
                                tried.frameCount());
                    continue;
                }
                std::printf("  style %u: finished in %.3f s (%zu frames)\n", style,
                            static_cast<double>(tried.finishMilliseconds) / 1000.0,
                            tried.frameCount());
                if (run.finishMilliseconds < 0 ||
                    tried.finishMilliseconds < run.finishMilliseconds) {
                    run = std::move(tried);
                }
                std::fflush(stdout);
            }
            if (run.finishMilliseconds < 0) {
                ++unfinished;
                continue;
            }
            std::printf("  best: %.3f s\n", static_cast<double>(run.finishMilliseconds) / 1000.0);
            stampLevelFile(run, file, level.levelId);
            if (!options.outFolder.empty()) {
                const std::string path =
                    options.outFolder + "/" + std::filesystem::path(file).stem().string() + ".run";
                if (!writeRunFile(path, run)) {
                    std::fprintf(stderr, "cannot write %s\n", path.c_str());
                    return 1;
                }
                std::printf("  written to %s\n", path.c_str());
            }
        }
    }
    return unfinished == 0 ? 0 : 1;
}
