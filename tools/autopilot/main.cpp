// rollavortex-autopilot: flies levels with the autopilot, says whether and in
// what time it finished them, with a par time, and writes each finished run
// to <out>/<level file name>.run.
//
//   rollavortex-autopilot [--out FOLDER] [--styles N] [--seconds N] [--trace]
//                         [LEVEL ...]
//
// A LEVEL is a level file (.tmx or an ASCII source), a folder of levels or a
// pack folder, or the name of one of the game's own levels; without any, the
// game's own levels are flown. With --styles N each level is flown in N
// styles (0 to N - 1) and the fastest run is kept. Exit status 1 when a level
// is broken or was not finished, 2 for a wrong command line.

#include <box2d/b2_body.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "autopilot/LevelFlight.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/level/Level.hpp"
#include "sim/level/LevelFolder.hpp"
#include "sim/level/LevelList.hpp"
#include "sim/level/Units.hpp"
#include "sim/play/LevelSimulation.hpp"
#include "sim/run/LevelStamp.hpp"
#include "sim/run/RunText.hpp"

namespace fs = std::filesystem;

namespace {

struct Options {
    std::string outFolder = ".";
    float maxSeconds = 300.0f;
    std::uint32_t styles = 1;
    int traceEvery = 0;  // frames between trace lines; 0: no trace
    std::vector<std::string> levels;
};

// A level to fly: one of the game's own (with its id) or a found one.
struct Flight {
    FoundLevel level;
    int levelId = 0;
};

bool readOptions(int argc, char** argv, Options& options) {
    constexpr int framesPerSecond = 60;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool valued = i + 1 < argc;
        if (argument == "--out" && valued) {
            options.outFolder = argv[++i];
        } else if (argument == "--seconds" && valued) {
            options.maxSeconds = std::strtof(argv[++i], nullptr);
        } else if (argument == "--styles" && valued) {
            options.styles = static_cast<std::uint32_t>(std::max(1, std::atoi(argv[++i])));
        } else if (argument == "--trace") {
            options.traceEvery = framesPerSecond;
        } else if (argument == "--trace-every" && valued) {
            options.traceEvery = std::max(1, std::atoi(argv[++i]));
        } else if (!argument.empty() && argument[0] != '-') {
            options.levels.push_back(argument);
        } else {
            return false;
        }
    }
    return options.maxSeconds > 0.0f;
}

Flight shippedFlight(const LevelEntry& entry, GameMode mode) {
    FoundLevel level;
    level.file = dataPath(entry.file);
    level.name = entry.name;
    level.mode = mode;
    return {level, entry.levelId};
}

// The flights a command line asks for; false when a name is no level at all.
bool flightsOf(const std::vector<std::string>& names, std::vector<Flight>& flights) {
    for (GameMode mode : {raceMode, puzzleMode}) {
        for (const LevelEntry& entry : levelsOf(mode)) {
            if (names.empty() || std::count(names.begin(), names.end(), entry.name) > 0) {
                flights.push_back(shippedFlight(entry, mode));
            }
        }
    }
    for (const std::string& name : names) {
        std::error_code error;
        if (fs::is_directory(name, error)) {
            for (FoundLevel& level : findLevels(name)) {
                flights.push_back({std::move(level), 0});
            }
        } else if (fs::exists(name, error)) {
            flights.push_back({examineLevelFile(name), 0});
        } else if (std::none_of(flights.begin(), flights.end(),
                                [&](const Flight& f) { return f.level.name == name; })) {
            std::fprintf(stderr, "%s: no such level file, folder or level of the game\n",
                         name.c_str());
            return false;
        }
    }
    return true;
}

// One line every so many frames: where the ball is and what is left to do;
// and every penalty.
AutopilotWatcher tracer(int every) {
    if (every <= 0) {
        return nullptr;
    }
    return [every, frames = 0](const LevelSimulation& simulation) mutable {
        if (simulation.level() == nullptr) {
            return;
        }
        const float cellUnits = cellPixels / pixelsPerUnit;
        const b2Vec2 at = simulation.level()->ball->body()->GetPosition();
        for (const ContactEvent& event : simulation.play().events) {
            if (event.kind == ContactEvent::Kind::penalty) {
                std::printf("  t=%6.2f penalty at tile (%.1f, %.1f)\n", simulation.raceClock(),
                            event.position.x / cellPixels, event.position.y / cellPixels);
            }
        }
        if (++frames % every != 0) {
            return;
        }
        const b2Vec2 speed = simulation.level()->ball->body()->GetLinearVelocity();
        std::printf(
            "  t=%6.2f tile=(%5.1f,%5.1f) v=(%5.1f,%5.1f) angle=%7.1f colour=%d "
            "targets=%d\n",
            simulation.raceClock(), at.x / cellUnits, -at.y / cellUnits, speed.x, speed.y,
            simulation.viewAngle(), colourIndex(simulation.ballColour()),
            simulation.colourTargetsLeft());
    };
}

double seconds(long long milliseconds) {
    return static_cast<double>(milliseconds) / 1000.0;
}

void reportStyle(std::uint32_t style, const RecordedRun& run) {
    if (run.finishMilliseconds < 0) {
        std::printf("  style %u: not finished after %zu frames\n", style, run.frameCount());
    } else {
        std::printf("  style %u: finished in %.3f s (%zu frames)\n", style,
                    seconds(run.finishMilliseconds), run.frameCount());
    }
    std::fflush(stdout);
}

bool writeFinishedRun(RecordedRun run, const Flight& flight, const Options& options) {
    stampLevelFile(run, flight.level.file.string(), flight.levelId);
    const fs::path path =
        fs::path(options.outFolder) / flight.level.file.stem().concat(".run").filename();
    if (!writeRunFile(path.string(), run)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("  run: %s\n", path.c_str());
    return true;
}

// Flies one level and says how it went; false when it is broken, was not
// finished or its run could not be written.
bool fly(const Flight& flight, const Options& options) {
    const FoundLevel& level = flight.level;
    const char* mode = level.mode ? modeName(*level.mode) : "no mode";
    const std::string pack = level.pack.empty() ? "" : level.pack + ": ";
    std::printf("%s%s (%s), %s\n", pack.c_str(), level.name.c_str(), mode, level.file.c_str());
    if (!level.playable()) {
        for (const LevelProblem& problem : level.problems) {
            std::printf("  broken: %s\n", problem.text().c_str());
        }
        return false;
    }
    FlightPlan plan{level.file.string(), level.name,         *level.mode,
                    options.styles,      options.maxSeconds, tracer(options.traceEvery),
                    reportStyle};
    const FlightReport report = flyLevelFile(plan);
    if (!report.finished) {
        std::printf("  result: not finished in %.0f s; the ball got stuck around tile %d, %d",
                    static_cast<double>(options.maxSeconds), report.stuckX, report.stuckY);
        if (*level.mode == puzzleMode) {
            std::printf(" with %d colour targets left", report.targetsLeft);
        }
        std::printf("\n");
        return false;
    }
    std::printf("  result: finished\n  time: %.3f s\n  par: %lld s\n",
                seconds(report.run.finishMilliseconds), report.parSeconds);
    return writeFinishedRun(report.run, flight, options);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::vector<Flight> flights;
    if (!readOptions(argc, argv, options) || !flightsOf(options.levels, flights)) {
        std::fprintf(stderr,
                     "usage: rollavortex-autopilot [--out FOLDER] [--styles N] [--seconds N] "
                     "[--trace] [LEVEL ...]\n");
        return 2;
    }
    std::error_code error;
    fs::create_directories(options.outFolder, error);
    int failed = 0;
    for (const Flight& flight : flights) {
        failed += fly(flight, options) ? 0 : 1;
    }
    return failed == 0 ? 0 : 1;
}
