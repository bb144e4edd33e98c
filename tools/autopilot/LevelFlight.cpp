#include "autopilot/LevelFlight.hpp"

#include <box2d/b2_body.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "sim/level/Level.hpp"
#include "sim/level/Units.hpp"
#include "sim/play/LevelSimulation.hpp"

namespace {

constexpr long long parPercent = 125;
constexpr float stuckWindowSeconds = 30.0f;
constexpr float cellUnits = cellPixels / pixelsPerUnit;

// Where the ball was, tile by tile, frame by frame.
class BallTiles {
  public:
    void see(const LevelSimulation& simulation) {
        if (simulation.level() == nullptr || simulation.level()->ball == nullptr) {
            return;
        }
        const b2Vec2 at = simulation.level()->ball->body()->GetPosition();
        // A cell's body sits at its cell's number times the cell's size.
        tiles.emplace_back(static_cast<int>(std::lround(at.x / cellUnits)),
                           static_cast<int>(std::lround(-at.y / cellUnits)));
        targetsLeft = simulation.colourTargetsLeft();
    }

    // The tile seen most often in the last `frames` frames.
    std::pair<int, int> mostSeen(std::size_t frames) const {
        std::map<std::pair<int, int>, int> counts;
        const std::size_t first = tiles.size() > frames ? tiles.size() - frames : 0;
        for (std::size_t i = first; i < tiles.size(); ++i) {
            ++counts[tiles[i]];
        }
        const auto most = std::max_element(counts.begin(), counts.end(),
                                           [](auto& a, auto& b) { return a.second < b.second; });
        return most == counts.end() ? std::pair{-1, -1} : most->first;
    }

    void clear() { tiles.clear(); }

    int targetsLeft = 0;

  private:
    std::vector<std::pair<int, int>> tiles;
};

}  // namespace

long long parSeconds(long long milliseconds) {
    const long long withMargin = milliseconds * parPercent;
    constexpr long long unit = 1000 * 100;
    return (withMargin + unit - 1) / unit;
}

FlightReport flyLevelFile(const FlightPlan& plan) {
    FlightReport report;
    BallTiles seen;
    const AutopilotWatcher watch = [&](const LevelSimulation& simulation) {
        seen.see(simulation);
        if (plan.trace) {
            plan.trace(simulation);
        }
    };
    for (std::uint32_t style = 0; style < std::max<std::uint32_t>(plan.styles, 1); ++style) {
        AutopilotTuning tuning;
        tuning.style = style;
        seen.clear();
        RecordedRun tried = flyLevel(plan.levelFile, plan.levelName, plan.mode, tuning,
                                     plan.maxSeconds, autopilotFrameTime, watch);
        if (plan.styleDone) {
            plan.styleDone(style, tried);
        }
        const bool finished = tried.finishMilliseconds >= 0;
        if (!finished && !report.finished) {
            const auto [x, y] = seen.mostSeen(
                static_cast<std::size_t>(std::lround(stuckWindowSeconds / autopilotFrameTime)));
            report.stuckX = x;
            report.stuckY = y;
            report.targetsLeft = seen.targetsLeft;
            report.run = std::move(tried);
        } else if (finished &&
                   (!report.finished || tried.finishMilliseconds < report.run.finishMilliseconds)) {
            report.finished = true;
            report.run = std::move(tried);
        }
    }
    if (report.finished) {
        report.parSeconds = parSeconds(report.run.finishMilliseconds);
    }
    return report;
}
