#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "sim/play/LevelSimulation.hpp"
#include "sim/run/RecordedRun.hpp"
#include "sim/run/RunReplay.hpp"
#include "sim/run/RunTimes.hpp"

// A recorded run that plays forward frame by frame and seeks to any frame,
// exactly: after a seek to frame F the simulation is, bit for bit, the one a
// straight replay has after F frames, since every simulation here was played
// from the level's build through the run's own frames.
//
// A physics world cannot be copied, so a seek cannot go back to a copy of an
// earlier moment. Instead simulations are parked at checkpoints, one every
// checkpointSeconds of game time, and a seek takes the parked simulation (or
// the live one) nearest before its target and plays it on from there: it
// costs at most checkpointSeconds of game time to replay (about 50 ms on the
// slowest committed run) instead of a replay from the start.
//
// A worker thread parks them: the checkpoints around the playhead, nearest
// first, at most maxParked simulations at once. It moves an old checkpoint
// that is no longer wanted forward to a new one, or builds a new simulation
// and plays it from the start. A simulation belongs to one thread at a time
// and passes between them under the lock; the live one is the caller's alone.
// Two simulations share nothing (Box2D's own global state is kept per thread
// by the patch we build it with), so the worker steps its worlds while the
// caller plays and draws.
class RunTimeline {
  public:
    static constexpr double checkpointSeconds = 2.0;
    // Checkpoints wanted ahead of the playhead: a seek 5 s forward finds one
    // within checkpointSeconds of its target.
    static constexpr std::size_t checkpointsAhead = 3;
    // Simulations parked at once: with those ahead, the checkpoint the
    // playhead is in and 12 behind it, about 25 s back.
    static constexpr std::size_t maxParked = 16;

    enum class Checkpoints { kept, none };

    // The run must be one of the level in `levelBytes`, of this physics
    // (the caller has checked its header). The live simulation starts as the
    // level was built, before the first frame.
    RunTimeline(RecordedRun run, std::string levelBytes,
                Checkpoints checkpoints = Checkpoints::kept);
    // Stops the worker within a frame of its replay.
    ~RunTimeline();
    RunTimeline(const RunTimeline&) = delete;
    RunTimeline& operator=(const RunTimeline&) = delete;

    const RecordedRun& run() const { return recorded; }
    const RunTimes& times() const { return frameTimes; }
    // The live simulation: the state after frame() frames.
    const LevelSimulation& simulation() const { return *live.simulation; }
    std::size_t frame() const { return live.cursor.frame(); }
    std::size_t frameCount() const { return recorded.frameCount(); }
    bool atEnd() const { return live.cursor.done(); }

    // Plays the next frame into the live simulation; nothing at the end.
    FrameReport playNext();
    // Brings the live simulation to the state after `frame` frames (at most
    // the whole run) without anything to show for the frames in between.
    void seek(std::size_t frame);

    // Tests and benchmarks: waits until the worker has parked every
    // checkpoint it wants now, and the frames they are parked at.
    void settle();
    std::vector<std::size_t> parkedFrames() const;

  private:
    struct Replay {
        std::unique_ptr<LevelSimulation> simulation;
        RunCursor cursor;
    };
    // What the worker does next: play `source` (a parked simulation taken
    // out of the pool, or a new one when empty) on to `target`.
    struct Job {
        std::size_t target = 0;
        std::optional<Replay> source;
    };

    Replay freshReplay() const;
    // Simulations let go under the lock, to be destroyed outside it.
    std::vector<Replay> takeDiscarded();
    // The caller's replay on to `frame` (at most the run's end).
    void playTo(Replay& replay, std::size_t frame) const;
    // The worker's: false when stopped first.
    bool workerPlayTo(Replay& replay, std::size_t frame);
    // The checkpoint the playhead is in: checkpointFrames[cell] <= frame().
    std::size_t playheadCell() const;
    void movePlayhead();

    // --- Under the lock ---
    std::vector<std::size_t> wantedCheckpoints() const;
    bool parkedAt(std::size_t frame) const;
    std::optional<std::size_t> missingCheckpoint() const;
    std::optional<Job> takeJob();
    void dropUnwanted();
    void work();

    RecordedRun recorded;
    std::string levelBytes;
    RunTimes frameTimes;
    std::vector<std::size_t> checkpointFrames;  // by cell: the frame at cell * checkpointSeconds
    Replay live;

    mutable std::mutex lock;
    std::condition_variable wake;  // the worker: the playhead moved or the pool changed
    std::condition_variable idle;  // settle(): the worker has nothing to do
    std::size_t cell = 0;          // the playhead's, as the worker last heard it
    std::vector<Replay> parked;
    std::vector<Replay> discarded;
    bool working = false;
    std::atomic<bool> stopping = false;
    // Last: started once everything above exists, joined first.
    std::thread worker;
};
