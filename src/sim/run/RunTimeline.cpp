#include "sim/run/RunTimeline.hpp"

#include <algorithm>
#include <utility>

RunTimeline::RunTimeline(RecordedRun run, std::string bytes, Checkpoints checkpoints)
    : recorded(std::move(run)),
      levelBytes(std::move(bytes)),
      frameTimes(recorded.frameTimes),
      live(freshReplay()) {
    for (double at = 0.0; at < frameTimes.totalSeconds(); at += checkpointSeconds) {
        checkpointFrames.push_back(frameTimes.frameAt(at));
    }
    if (checkpoints == Checkpoints::kept) {
        worker = std::thread([this] { work(); });
    }
}

RunTimeline::~RunTimeline() {
    {
        const std::lock_guard guard(lock);
        stopping = true;
    }
    wake.notify_all();
    if (worker.joinable()) {
        worker.join();
    }
}

RunTimeline::Replay RunTimeline::freshReplay() const {
    Replay replay{std::make_unique<LevelSimulation>(recorded.mode, recorded.turnSpeeds),
                  RunCursor(recorded)};
    replay.simulation->loadLevelBytes(levelBytes);
    return replay;
}

std::vector<RunTimeline::Replay> RunTimeline::takeDiscarded() {
    const std::lock_guard guard(lock);
    return std::exchange(discarded, {});
}

void RunTimeline::playTo(Replay& replay, std::size_t frame) const {
    while (replay.cursor.frame() < frame && !replay.cursor.done()) {
        replay.cursor.playNext(*replay.simulation);
    }
}

bool RunTimeline::workerPlayTo(Replay& replay, std::size_t frame) {
    while (replay.cursor.frame() < frame && !replay.cursor.done()) {
        if (stopping) {
            return false;
        }
        replay.cursor.playNext(*replay.simulation);
    }
    return true;
}

FrameReport RunTimeline::playNext() {
    const FrameReport report = live.cursor.playNext(*live.simulation);
    movePlayhead();
    return report;
}

// The nearest simulation at or before the target goes on from where it
// stands: the live one, or a parked one (the live one is parked in its
// place, unless a checkpoint stands there already). When every one is past
// the target, a new one is built.
void RunTimeline::seek(std::size_t frame) {
    frame = std::min(frame, frameCount());
    bool rebuild = false;
    {
        const std::lock_guard guard(lock);
        std::optional<std::size_t> bestAt;
        if (this->frame() <= frame) {
            bestAt = this->frame();
        }
        std::optional<std::size_t> best;
        for (std::size_t i = 0; i < parked.size(); ++i) {
            const std::size_t at = parked[i].cursor.frame();
            if (at <= frame && (!bestAt || at > *bestAt)) {
                best = i;
                bestAt = at;
            }
        }
        if (best || !bestAt) {
            Replay old = std::move(live);
            if (best) {
                live = std::move(parked[*best]);
                parked.erase(parked.begin() + static_cast<std::ptrdiff_t>(*best));
            }
            (parkedAt(old.cursor.frame()) ? discarded : parked).push_back(std::move(old));
            rebuild = !best;
        }
    }
    // The pool changed even when the playhead stays in its checkpoint.
    wake.notify_all();
    takeDiscarded().clear();
    if (rebuild) {
        live = freshReplay();
    }
    playTo(live, frame);
    movePlayhead();
}

std::size_t RunTimeline::playheadCell() const {
    const auto after = std::upper_bound(checkpointFrames.begin(), checkpointFrames.end(), frame());
    return static_cast<std::size_t>(
        std::max<std::ptrdiff_t>(after - checkpointFrames.begin() - 1, 0));
}

void RunTimeline::movePlayhead() {
    const std::size_t now = playheadCell();
    {
        const std::lock_guard guard(lock);
        if (now == cell) {
            return;
        }
        cell = now;
    }
    wake.notify_all();
}

void RunTimeline::settle() {
    std::unique_lock guard(lock);
    idle.wait(guard, [this] { return !worker.joinable() || (!working && !missingCheckpoint()); });
}

std::vector<std::size_t> RunTimeline::parkedFrames() const {
    const std::lock_guard guard(lock);
    std::vector<std::size_t> frames;
    for (const Replay& replay : parked) {
        frames.push_back(replay.cursor.frame());
    }
    std::sort(frames.begin(), frames.end());
    return frames;
}

// Nearest the playhead first: its own checkpoint, those ahead of it, then
// those behind it, until there are maxParked: what seeks from here go back to.
std::vector<std::size_t> RunTimeline::wantedCheckpoints() const {
    std::vector<std::size_t> wanted;
    if (!checkpointFrames.empty()) {
        wanted.push_back(checkpointFrames[cell]);
    }
    for (std::size_t ahead = cell + 1;
         ahead <= cell + checkpointsAhead && ahead < checkpointFrames.size(); ++ahead) {
        wanted.push_back(checkpointFrames[ahead]);
    }
    for (std::size_t back = 1; back <= cell && wanted.size() < maxParked; ++back) {
        wanted.push_back(checkpointFrames[cell - back]);
    }
    return wanted;
}

bool RunTimeline::parkedAt(std::size_t frame) const {
    return std::any_of(parked.begin(), parked.end(),
                       [frame](const Replay& replay) { return replay.cursor.frame() == frame; });
}

std::optional<std::size_t> RunTimeline::missingCheckpoint() const {
    for (std::size_t frame : wantedCheckpoints()) {
        if (!parkedAt(frame)) {
            return frame;
        }
    }
    return std::nullopt;
}

// Simulations parked where no checkpoint is wanted, beyond maxParked, go:
// those furthest from the playhead first.
void RunTimeline::dropUnwanted() {
    const std::vector<std::size_t> wanted = wantedCheckpoints();
    const auto unwanted = [&wanted](const Replay& replay) {
        return std::find(wanted.begin(), wanted.end(), replay.cursor.frame()) == wanted.end();
    };
    const std::size_t here = checkpointFrames.empty() ? 0 : checkpointFrames[cell];
    const auto distance = [here](const Replay& replay) {
        const std::size_t at = replay.cursor.frame();
        return at > here ? at - here : here - at;
    };
    while (parked.size() > maxParked) {
        auto furthest = parked.end();
        for (auto it = parked.begin(); it != parked.end(); ++it) {
            if (unwanted(*it) &&
                (furthest == parked.end() || distance(*it) > distance(*furthest))) {
                furthest = it;
            }
        }
        if (furthest == parked.end()) {
            return;
        }
        discarded.push_back(std::move(*furthest));
        parked.erase(furthest);
    }
}

// The source of a missing checkpoint: the unwanted parked simulation nearest
// before it, else a new one while there is room, else room is made.
std::optional<RunTimeline::Job> RunTimeline::takeJob() {
    dropUnwanted();
    const std::optional<std::size_t> target = missingCheckpoint();
    if (!target) {
        return std::nullopt;
    }
    const std::vector<std::size_t> wanted = wantedCheckpoints();
    const auto isWanted = [&wanted](std::size_t frame) {
        return std::find(wanted.begin(), wanted.end(), frame) != wanted.end();
    };
    Job job{*target, std::nullopt};
    auto source = parked.end();
    for (auto it = parked.begin(); it != parked.end(); ++it) {
        const std::size_t at = it->cursor.frame();
        if (!isWanted(at) && at <= *target &&
            (source == parked.end() || at > source->cursor.frame())) {
            source = it;
        }
    }
    if (source != parked.end()) {
        job.source = std::move(*source);
        parked.erase(source);
        return job;
    }
    if (parked.size() >= maxParked) {
        const auto spare = std::find_if(parked.begin(), parked.end(), [&](const Replay& replay) {
            return !isWanted(replay.cursor.frame());
        });
        if (spare != parked.end()) {
            discarded.push_back(std::move(*spare));
            parked.erase(spare);
        }
    }
    return job;
}

// Simulations let go are destroyed, then the next missing checkpoint is
// built, outside the lock: seeks and the live frames go on meanwhile.
void RunTimeline::work() {
    std::unique_lock guard(lock);
    while (!stopping) {
        std::optional<Job> job = takeJob();
        std::vector<Replay> gone = std::exchange(discarded, {});
        if (!job && gone.empty()) {
            idle.notify_all();
            wake.wait(guard);
            continue;
        }
        working = true;
        guard.unlock();
        gone.clear();
        std::optional<Replay> built;
        if (job) {
            built = job->source ? std::move(job->source) : freshReplay();
        }
        const bool reached = built && workerPlayTo(*built, job->target);
        guard.lock();
        working = false;
        if (built) {
            (reached ? parked : discarded).push_back(std::move(*built));
        }
    }
    idle.notify_all();
}
