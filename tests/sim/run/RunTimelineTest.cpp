// A replay sought anywhere stands exactly where a straight replay stood after
// as many frames, whichever simulation the seek went on from: the live one, a
// parked checkpoint, or a new one.
#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <vector>

#include "ShippedRun.hpp"
#include "sim/run/RunReplay.hpp"
#include "sim/run/RunTimeline.hpp"
#include "sim/run/RunTimes.hpp"

namespace {

struct Move {
    enum Kind { seekSeconds, seekFrame, play, settle } kind;
    double amount;  // seconds from here, a frame, or frames to play
};

// Back and forth as a viewer goes: 5 s steps, to the start and the end,
// single frames, beyond either end, and again where it already stands.
const std::vector<Move> viewing = {
    {Move::play, 400},         {Move::seekSeconds, -5.0}, {Move::seekSeconds, 5.0},
    {Move::seekFrame, 1e9},    {Move::settle, 0},         {Move::seekSeconds, -5.0},
    {Move::seekSeconds, -5.0}, {Move::play, 1},           {Move::seekSeconds, 5.0},
    {Move::seekFrame, 0},      {Move::play, 3},           {Move::seekFrame, 777},
    {Move::seekFrame, 777},    {Move::seekSeconds, -100}, {Move::seekSeconds, 12.5},
    {Move::settle, 0},         {Move::seekSeconds, -2.5}, {Move::seekSeconds, -0.01},
    {Move::play, 30},          {Move::seekSeconds, 60},
};

void apply(RunTimeline& timeline, const Move& move) {
    const RunTimes& times = timeline.times();
    switch (move.kind) {
        case Move::seekSeconds:
            timeline.seek(times.frameAt(times.secondsAt(timeline.frame()) + move.amount));
            break;
        case Move::seekFrame:
            timeline.seek(static_cast<std::size_t>(std::min(move.amount, 1e9)));
            break;
        case Move::play:
            for (int i = 0; i < static_cast<int>(move.amount); ++i) {
                timeline.playNext();
            }
            break;
        case Move::settle:
            timeline.settle();
            break;
    }
}

}  // namespace

TEST(RunTimes, SecondsAndFramesAgreeWithPlainSums) {
    struct Case {
        const char* what;
        std::vector<float> frameTimes;
    };
    std::vector<float> long60(700, 1.0f / 60.0f);
    std::vector<float> mixed;
    for (int i = 0; i < 600; ++i) {
        mixed.push_back(i % 7 == 0 ? 0.0f : static_cast<float>(1 + i % 5) / 1024.0f);
    }
    for (const Case& c :
         {Case{"empty", {}}, Case{"one", {0.25f}}, Case{"a block", std::vector<float>(256, 0.5f)},
          Case{"60 Hz over blocks", long60}, Case{"mixed with empty frames", mixed}}) {
        SCOPED_TRACE(c.what);
        const RunTimes times(c.frameTimes);
        double sum = 0.0;
        for (std::size_t frame = 0; frame <= c.frameTimes.size(); ++frame) {
            ASSERT_EQ(times.secondsAt(frame), sum) << frame;
            const std::size_t found = times.frameAt(sum);
            // The first frame starting then: an empty frame before starts then too.
            ASSERT_LE(found, frame);
            ASSERT_EQ(times.secondsAt(found), sum) << frame;
            if (frame < c.frameTimes.size()) {
                sum += c.frameTimes[frame];
            }
        }
        EXPECT_EQ(times.totalSeconds(), sum);
        EXPECT_EQ(times.frameAt(-1.0), 0u);
        EXPECT_EQ(times.frameAt(sum + 1.0), c.frameTimes.size());
        EXPECT_EQ(times.secondsAt(c.frameTimes.size() + 5), sum);
    }
}

TEST(RunTimeline, EverySeekStandsWhereAStraightReplayStoodAndCheckpointsStayBehindThePlayhead) {
    const ShippedRun shipped = loadShippedRun("TheLabyrinth");
    const std::vector<std::uint64_t> hashes = straightHashes(shipped);
    ASSERT_NE(hashes[500], hashes[900]);
    for (RunTimeline::Checkpoints kept :
         {RunTimeline::Checkpoints::kept, RunTimeline::Checkpoints::none}) {
        SCOPED_TRACE(kept == RunTimeline::Checkpoints::kept ? "checkpoints" : "no checkpoints");
        RunTimeline timeline(shipped.run, shipped.levelBytes, kept);
        ASSERT_EQ(timeline.simulation().stateHash(), hashes[0]);
        for (std::size_t i = 0; i < viewing.size(); ++i) {
            apply(timeline, viewing[i]);
            ASSERT_EQ(timeline.simulation().stateHash(), hashes[timeline.frame()])
                << "move " << i << " to frame " << timeline.frame();
        }
        EXPECT_TRUE(timeline.atEnd()) << "the last move went past the end";
        EXPECT_EQ(timeline.frame(), shipped.run.frameCount());
    }

    // Settled at the end, the worker has parked every checkpoint of a short run;
    // without checkpoints nothing is parked but what seeks left behind.
    const RunTimes times(shipped.run.frameTimes);
    std::vector<std::size_t> expected;
    for (double at = 0.0; at < times.totalSeconds(); at += RunTimeline::checkpointSeconds) {
        expected.push_back(times.frameAt(at));
    }
    ASSERT_LE(expected.size(), RunTimeline::maxParked);

    RunTimeline timeline(shipped.run, shipped.levelBytes);
    timeline.seek(shipped.run.frameCount());
    timeline.settle();
    EXPECT_EQ(timeline.parkedFrames(), expected);
    // A seek back takes a checkpoint out and parks the live simulation; the
    // worker puts the checkpoint back.
    timeline.seek(expected[3] + 5);
    timeline.settle();
    std::vector<std::size_t> withEnd = expected;
    withEnd.push_back(shipped.run.frameCount());
    EXPECT_EQ(timeline.parkedFrames(), withEnd);

    RunTimeline plain(shipped.run, shipped.levelBytes, RunTimeline::Checkpoints::none);
    plain.seek(900);
    plain.settle();
    EXPECT_TRUE(plain.parkedFrames().empty());
    plain.seek(100);
    EXPECT_EQ(plain.parkedFrames(), std::vector<std::size_t>{900});
}
