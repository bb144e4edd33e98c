#include <gtest/gtest.h>

#include "StoreFixtures.hpp"

// The queue of runs waiting for their verdict, SQLite and PostgreSQL alike:
// its caps, leases that keep a run one server's at a time, and verdicts that
// are recorded once and keep one run on the board under one name.

namespace {

class RunQueueStore : public StoreTest {
  protected:
    static PendingRun run(const std::string& client, const std::string& name,
                          const std::string& text) {
        return {0, client, {name, 1, 250, 20.5f}, "2024-05-01", text, "id of " + text, 0, ""};
    }
    // Takes the first run offered (none when none is), as `owner` of this
    // machine ("host/...").
    std::optional<PendingRun> take(const std::string& owner, std::int64_t now) {
        return store->takeRun({owner, now, now + 1000, "host/"},
                              [](const std::vector<PendingRun>&) { return std::size_t{0}; });
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Backends, RunQueueStore, bothBackends(), backendName);

TEST_P(RunQueueStore, CapsCountPerClientPerNameAndInAll) {
    const QueueCaps caps{2, 2, 4};
    const struct {
        PendingRun run;
        QueueOutcome outcome;
    } steps[] = {
        {run("a", "al", "r1"), QueueOutcome::Queued},
        {run("a", "al", "r1"), QueueOutcome::AlreadyQueued},
        {run("a", "bo", "r2"), QueueOutcome::Queued},
        {run("a", "cy", "r3"), QueueOutcome::ClientFull},
        {run("b", "al", "r4"), QueueOutcome::Queued},
        {run("c", "al", "r5"), QueueOutcome::NameFull},
        {run("c", "cy", "r6"), QueueOutcome::Queued},
        {run("d", "di", "r7"), QueueOutcome::QueueFull},
    };
    std::int64_t firstId = 0;
    for (const auto& step : steps) {
        const QueueAnswer answer = store->queueRun(step.run, caps);
        EXPECT_EQ(answer.outcome, step.outcome) << step.run.run << " " << store->lastError();
        firstId = firstId ? firstId : answer.id;
        if (step.outcome == QueueOutcome::AlreadyQueued) {
            EXPECT_EQ(answer.id, firstId);
        }
    }
    EXPECT_EQ(store->pendingCount(), 4u);
}

TEST_P(RunQueueStore, ARunIsOneServersUntilItsLeaseRunsOutOrItIsLetGoOfAndItsVerdictCountsOnce) {
    const QueueCaps caps;
    ASSERT_EQ(store->queueRun(run("a", "al", "r1"), caps).outcome, QueueOutcome::Queued);
    ASSERT_EQ(store->queueRun(run("b", "bo", "r1"), caps).outcome, QueueOutcome::Queued);

    // Server one takes the oldest; server two, another machine, gets the next.
    const auto first = take("one/1/x", 1000);
    const auto second = take("two/2/y", 1000);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->claim.name, "al");
    EXPECT_EQ(first->run, "r1");
    EXPECT_EQ(first->attempts, 1);
    EXPECT_EQ(second->claim.name, "bo");
    EXPECT_EQ(take("two/2/y", 1500)->id, 0) << "nothing left while the leases hold";

    // Renewed, al's run stays one's; once it runs out, two takes it over, and
    // one's verdict no longer counts.
    ASSERT_TRUE(store->renewRuns("one/1/x", {first->id}, 3000));
    EXPECT_EQ(take("two/2/y", 2500)->id, 0);
    const auto takenOver = take("two/2/y", 3500);
    ASSERT_TRUE(takenOver);
    EXPECT_EQ(takenOver->id, first->id);
    EXPECT_EQ(takenOver->attempts, 2);
    EXPECT_EQ(store->recordVerdict(*first, "one/1/x", 18.5f, ""), VerdictOutcome::Lost);

    // Verified: al's time; bo's copy of the same run is refused.
    EXPECT_EQ(store->recordVerdict(*takenOver, "two/2/y", 18.5f, ""), VerdictOutcome::NewBest);
    EXPECT_EQ(store->recordVerdict(*second, "two/2/y", 18.5f, ""),
              VerdictOutcome::RunOfAnotherName);
    EXPECT_EQ(store->queueRun(run("c", "al", "r1"), caps).outcome, QueueOutcome::AlreadyVerified);
    EXPECT_EQ(store->queueRun(run("c", "cy", "r1"), caps).outcome, QueueOutcome::RunOfAnotherName);
    EXPECT_EQ(store->pendingCount(), 0u);

    ASSERT_EQ(store->queueRun(run("d", "di", "r2"), caps).outcome, QueueOutcome::Queued);
    const auto taken = take("host/1/x", 1000);
    ASSERT_TRUE(taken && taken->id != 0);
    // Another process of this machine is offered it, lease and all, to judge
    // whether its holder is gone.
    std::vector<std::string> holders;
    store->takeRun({"host/2/y", 1500, 2500, "host/"}, [&](const std::vector<PendingRun>& offered) {
        for (const PendingRun& candidate : offered) {
            holders.push_back(candidate.takenBy);
        }
        return offered.size();
    });
    EXPECT_EQ(holders, std::vector<std::string>{"host/1/x"});
    // A stopping server lets go, and the take is not counted against the run.
    ASSERT_TRUE(store->releaseRuns("host/1/x"));
    const auto again = take("other/3/z", 1500);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->id, taken->id);
    EXPECT_EQ(again->attempts, 1);
    EXPECT_EQ(store->recordVerdict(*again, "other/3/z", std::nullopt, ""), VerdictOutcome::Refused);
    EXPECT_EQ(dumpBoard(*store),
              "1/250 al 18.5 2024-05-01 v\nverified 1/250 al 18.5 2024-05-01 r1\n");
}

TEST_P(RunQueueStore, ARouteIsKeptWithItsVerifiedRunAndGoesWithIt) {
    // Bytes as a route blob holds them: NULs and bytes above 127 come back.
    const std::string route("\x01\x00\x80\xff\x20\x00\x40\x01\x7f", 9);
    const struct {
        const char* name;
        const char* run;
        std::optional<float> seconds;
        std::string route;
        VerdictOutcome outcome;
        // al's verified best afterwards.
        const char* keptRun;
        std::string keptRoute;
    } steps[] = {
        {"al", "r1", 18.5f, route, VerdictOutcome::NewBest, "r1", route},
        // Slower: the faster run keeps its route.
        {"al", "r2", 19.0f, "slower", VerdictOutcome::Kept, "r1", route},
        // A faster run without a route leaves none of the old one behind.
        {"al", "r3", 17.0f, "", VerdictOutcome::NewBest, "r3", ""},
        {"al", "r4", 16.0f, "fastest", VerdictOutcome::NewBest, "r4", "fastest"},
        // A refusal keeps nothing of the run.
        {"bo", "r5", std::nullopt, "", VerdictOutcome::Refused, "r4", "fastest"},
    };
    std::int64_t now = 1000;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.run);
        ASSERT_EQ(store->queueRun(run("a", step.name, step.run), QueueCaps{}).outcome,
                  QueueOutcome::Queued);
        const auto taken = take("host/1/x", now += 10);
        ASSERT_TRUE(taken && taken->id != 0);
        EXPECT_EQ(store->recordVerdict(*taken, "host/1/x", step.seconds, step.route), step.outcome);
        const auto kept = store->verifiedBest(1, 250, "al");
        ASSERT_TRUE(kept) << store->lastError();
        EXPECT_EQ(kept->run, step.keptRun);
        EXPECT_EQ(kept->route, step.keptRoute);
    }
    const auto al = store->verifiedBest(1, 250, "al");
    EXPECT_EQ(al->seconds, 16.0);
    EXPECT_EQ(al->day, "2024-05-01");
    EXPECT_EQ(al->sha256, "id of r4");
    for (const auto& [level, name] : {std::pair{250, "bo"}, std::pair{275, "al"}}) {
        const auto none = store->verifiedBest(1, level, name);
        ASSERT_TRUE(none);
        EXPECT_EQ(none->run, "");
        EXPECT_EQ(none->route, "");
    }
}
