#include "autopilot/AutopilotRun.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "sim/level/PlayState.hpp"
#include "sim/play/LevelSimulation.hpp"

namespace {

constexpr int checkpointEvery = 30;  // frames
// A mishap is tried again from a checkpoint at least this many frames before
// it, so the ball has room to take another line.
constexpr int rewindFrames = 60;
constexpr int triesPerCheckpoint = 6;
constexpr float variationSeconds = 3.0f;
constexpr std::uint32_t triesPerStyle = 100000;
// Frames simulated in all, retries included, per frame of the game time allowed.
constexpr long long effortPerFrame = 12;

// A frame of a run in the making: its inputs, then its frame time.
struct PilotFrame {
    float frameTime = 0.0f;
    std::vector<PlayInput> inputs;
};

// The pilot's state at a frame of the run, and the best of the tries made
// from there: the one that went furthest before its own mishap.
struct Checkpoint {
    int frame = 0;
    Autopilot pilot;
    int tries = 0;
    int bestMishap = -1;
    std::vector<PilotFrame> bestFrames;  // from `frame` to the mishap
    Autopilot bestPilot;
};

bool penaltyCounted(const LevelSimulation& simulation) {
    const auto& events = simulation.play().events;
    return std::any_of(events.begin(), events.end(), [](const ContactEvent& event) {
        return event.kind == ContactEvent::Kind::penalty;
    });
}

// Plays a level like a player who may practise: when a penalty is taken or
// the ball gets stuck, the level is played again from a little earlier with
// the pilot flying a little differently, a few times, and the run goes on
// with the try that got furthest. Earlier states are reached by replaying the
// frames so far in a new simulation, which the determinism of the simulation
// makes exact. The result is an ordinary run of key events.
class Rehearsal {
  public:
    Rehearsal(const LevelSimulation& original, const AutopilotTuning& tuning, float frameTime)
        : map(original.play().tileMap),
          mode(original.mode()),
          speeds(original.turnSpeeds()),
          frameTime(frameTime),
          firstSeed(tuning.style * triesPerStyle),
          pilot(tuning) {}

    // True when the level was finished within the frame budget.
    bool fly(long long frameBudget) {
        restart();
        checkpoints.push_back(Checkpoint{0, pilot, 0, -1, {}, pilot});
        const long long effortBudget = frameBudget * effortPerFrame;
        while (static_cast<long long>(frames.size()) < frameBudget) {
            const int now = static_cast<int>(frames.size());
            if (now % checkpointEvery == 0 && checkpoints.back().frame < now) {
                checkpoints.push_back(Checkpoint{now, pilot, 0, -1, {}, pilot});
            }
            const int stuckBefore = pilot.timesStuck();
            PilotFrame frame{frameTime, pilot.nextFrame(*simulation, frameTime)};
            const FrameReport report = simulation->advance(frame.frameTime, frame.inputs);
            frames.push_back(std::move(frame));
            ++effort;
            if (report.finishedNow) {
                return true;
            }
            const bool mishap = penaltyCounted(*simulation) || pilot.timesStuck() > stuckBefore;
            if (mishap && now > acceptedUntil && effort < effortBudget) {
                retry(now);
            }
        }
        return false;
    }

    std::vector<PilotFrame> frames;

  private:
    void retry(int mishapFrame) {
        auto from = std::find_if(checkpoints.rbegin(), checkpoints.rend(), [&](const auto& c) {
            return c.frame <= mishapFrame - rewindFrames;
        });
        if (from == checkpoints.rend()) {
            acceptedUntil = mishapFrame;
            return;
        }
        Checkpoint& checkpoint = *from;
        const bool thisIsBest = mishapFrame > checkpoint.bestMishap;
        if (thisIsBest) {
            checkpoint.bestMishap = mishapFrame;
            checkpoint.bestFrames.assign(frames.begin() + checkpoint.frame, frames.end());
            checkpoint.bestPilot = pilot;
        }
        if (checkpoint.tries < triesPerCheckpoint) {
            ++checkpoint.tries;
            frames.resize(static_cast<std::size_t>(checkpoint.frame));
            pilot = checkpoint.pilot;
            pilot.vary(firstSeed + (++seed), variationSeconds);
        } else {
            // Out of tries: go on with the best one, mishap and all.
            acceptedUntil = checkpoint.bestMishap;
            if (thisIsBest) {
                return;
            }
            frames.resize(static_cast<std::size_t>(checkpoint.frame));
            frames.insert(frames.end(), checkpoint.bestFrames.begin(), checkpoint.bestFrames.end());
            pilot = checkpoint.bestPilot;
        }
        const int kept = checkpoint.frame;
        checkpoints.erase(std::remove_if(checkpoints.begin(), checkpoints.end(),
                                         [&](const Checkpoint& c) { return c.frame > kept; }),
                          checkpoints.end());
        restart();
    }

    // A new simulation brought to the end of the frames so far.
    void restart() {
        simulation = std::make_unique<LevelSimulation>(mode, speeds);
        simulation->buildLevel(map);
        for (const PilotFrame& frame : frames) {
            simulation->advance(frame.frameTime, frame.inputs);
        }
        effort += static_cast<long long>(frames.size());
    }

    TileMap map;
    GameMode mode;
    TurnSpeeds speeds;
    float frameTime;
    std::uint32_t firstSeed;  // styles practise with seeds of their own
    Autopilot pilot;
    std::unique_ptr<LevelSimulation> simulation;
    std::vector<Checkpoint> checkpoints;
    int acceptedUntil = -1;
    std::uint32_t seed = 0;
    long long effort = 0;
};

}  // namespace

void flyLevel(LevelSimulation& simulation, RecordedRun& run, const AutopilotTuning& tuning,
              float maxSeconds, float frameTime, const AutopilotWatcher& afterFrame) {
    run.finishMilliseconds = -1;
    Rehearsal rehearsal(simulation, tuning, frameTime);
    rehearsal.fly(std::llround(maxSeconds / frameTime));
    // The run found, played once more in the caller's simulation.
    for (const PilotFrame& frame : rehearsal.frames) {
        const FrameReport report = simulation.advance(frame.frameTime, frame.inputs);
        run.addFrame(frame.frameTime, frame.inputs);
        if (afterFrame) {
            afterFrame(simulation);
        }
        if (report.finishedNow) {
            run.finishMilliseconds = raceMilliseconds(simulation.raceClock());
            return;
        }
    }
}

RecordedRun flyLevel(const std::string& levelFile, const std::string& levelName, GameMode mode,
                     const AutopilotTuning& tuning, float maxSeconds, float frameTime,
                     const AutopilotWatcher& afterFrame) {
    RecordedRun run;
    run.levelName = levelName;
    run.levelFile = levelFile;
    run.mode = mode;
    LevelSimulation simulation(mode, TurnSpeeds());
    if (simulation.loadLevel(levelFile)) {
        flyLevel(simulation, run, tuning, maxSeconds, frameTime, afterFrame);
    }
    return run;
}
