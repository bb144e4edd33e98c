#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <regex>
#include <set>
#include <thread>

#include "LoopbackClient.hpp"
#include "ScoreStore.hpp"
#include "ServerBoards.hpp"
#include "ServerProcess.hpp"
#include "TempFolder.hpp"
#include "TestRuns.hpp"
#include "online/HighscoreProtocol.hpp"

// The queue of runs waiting for their verdict, against the real server: runs
// that cost half an hour of replay each keep no honest run waiting, a stop
// leaves them queued, a killed server verifies what it held after its
// restart, and servers sharing a PostgreSQL board verify each run once.

using namespace HighscoreProtocol;

namespace {

using Clock = std::chrono::steady_clock;

const std::string kBridgeRun = slurpFile(kCommittedRuns[1].file);
// Claimed by the runs that never finish: all but the whole half hour.
constexpr long long kHostileClaimMs = 1790000;

// Sends a request from `from` at once; the answer is read later.
std::unique_ptr<LoopbackClient> sendFrom(const ServerProcess& server, const std::string& from,
                                         const std::string& body) {
    auto client = std::make_unique<LoopbackClient>(server.listeningPort(), from);
    client->send(httpRequest("POST", kRunPath, body, false));
    return client;
}

LoopbackClient::Answer answerOf(LoopbackClient& client) {
    return client.readAnswer().value_or(LoopbackClient::Answer{});
}

// `variant` makes another text of it: the same run of the same name waits
// only once.
std::string hostileRun(const std::string& name, int variant = 0) {
    return runSubmission(name, 1, 275, neverFinishingRun(kBridgeRun, 107900 - variant),
                         kHostileClaimMs);
}

// Waits up to `seconds` until every name shows as verified on a table.
bool allVerified(const ServerProcess& server, const std::vector<std::string>& names,
                 double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
        std::string tables;
        for (const CommittedRun& level : kCommittedRuns) {
            tables +=
                answerTo(server.listeningPort(),
                         httpRequest("POST", kTablePath, tableQueryBody(level.mode, level.level)))
                    .body;
        }
        const bool all = std::all_of(names.begin(), names.end(), [&](const std::string& name) {
            return tables.find(" replay\t" + name + "\t") != std::string::npos;
        });
        if (all || Clock::now() > deadline) {
            return all;
        }
        // Four requests a round stay well under the server's limit per address.
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
    }
}

std::size_t pendingRuns(const std::string& board) {
    std::string error;
    const auto store = openScoreStore(board, error);
    return store ? store->pendingCount().value_or(0) : 0;
}

}  // namespace

TEST(RunQueueServer, HalfHourRunsFromTwelveAddressesKeepNoHonestRunWaiting) {
    TempFolder folder;
    ServerProcess server(folder.file("scores.db"), folder.file("server.log"));
    ASSERT_TRUE(server.start()) << server.log();
    std::vector<std::unique_ptr<LoopbackClient>> hostile;
    for (int i = 1; i <= 12; ++i) {
        hostile.push_back(
            sendFrom(server, "127.0.2." + std::to_string(i), hostileRun("h" + std::to_string(i))));
    }
    for (auto& client : hostile) {
        EXPECT_EQ(answerOf(*client).body, "OK queued\n");
    }

    const auto honestSent = Clock::now();
    auto honest = sendFrom(server, "127.0.2.13", runSubmission("honest", kBridgeRun));
    const std::string answer = answerOf(*honest).body;
    EXPECT_TRUE(answer == "OK verified\n" || answer == "OK queued\n") << answer;
    EXPECT_TRUE(allVerified(server, {"honest"}, 10));
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - honestSent).count(), 10.0);

    // Three runs may wait per address and per name; the fourth is refused.
    std::vector<std::unique_ptr<LoopbackClient>> more;
    for (const char* name : {"h1b", "h1c", "h1d"}) {
        more.push_back(sendFrom(server, "127.0.2.1", hostileRun(name)));
    }
    for (int i = 1; i <= 3; ++i) {
        more.push_back(sendFrom(server, "127.0.2." + std::to_string(20 + i), hostileRun("h2", i)));
    }
    std::multiset<std::string> answers;
    for (auto& client : more) {
        const auto reply = answerOf(*client);
        answers.insert(std::to_string(reply.status) + " " + reply.body);
    }
    EXPECT_EQ(answers,
              (std::multiset<std::string>{
                  "200 OK queued\n", "200 OK queued\n", "200 OK queued\n", "200 OK queued\n",
                  "429 ERROR too many runs from this address wait for their verdict\n",
                  "429 ERROR too many runs of this name wait for their verdict\n"}));

    // Sixteen runs of half an hour, most of them under way: the stop does not
    // wait for them, and they stay queued.
    const auto stopping = Clock::now();
    EXPECT_EQ(server.stop(), 0);
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - stopping).count(), 5.0);
    EXPECT_EQ(pendingRuns(folder.file("scores.db")), 16u);
}

TEST(RunQueueServer, AServerKilledWithRunsWaitingVerifiesThemAfterItsRestart) {
    TempFolder folder;
    const std::string board = folder.file("scores.db");
    ServerProcess server(board, folder.file("server.log"));
    // One replay at a time, and it goes to a run that never finishes: the
    // others wait in the queue.
    ASSERT_TRUE(
        server.start({"--verify-threads", "1", "--verify-replays", "1", "--verify-wait-ms", "0"}))
        << server.log();
    ASSERT_EQ(answerOf(*sendFrom(server, "127.0.3.1", hostileRun("slow"))).body, "OK queued\n");
    std::vector<std::string> waiting;
    for (std::size_t i = 0; i < 5; ++i) {
        const std::string run = slurpFile(kCommittedRuns[i % 4].file);
        const std::string name = "r" + std::to_string(i);
        EXPECT_EQ(
            answerOf(*sendFrom(server, "127.0.3." + std::to_string(2 + i),
                               runSubmission(name, i < 4 ? run : withHarmlessReleases(run, 1))))
                .body,
            "OK queued\n");
        waiting.push_back(name);
    }
    server.killHard();
    EXPECT_EQ(pendingRuns(board), 6u);

    ASSERT_TRUE(server.start({"--verify-wait-ms", "0"})) << server.log();
    EXPECT_TRUE(allVerified(server, waiting, 60)) << server.log();
    EXPECT_EQ(pendingRuns(board), 1u) << "the run that never finishes, replaying again";
}

TEST(RunQueueServer, ServersSharingAPostgresBoardVerifyEachRunOnce) {
    const std::string board = testCluster().createDatabase();
    ASSERT_FALSE(board.empty()) << testCluster().error();
    TempFolder folder;
    ServerProcess first(board, folder.file("first.log"));
    ServerProcess second(board, folder.file("second.log"));
    // One replay at a time each, of The Rope Bridge (over half a second of
    // CPU): neither server can take the whole queue before the other polls.
    for (ServerProcess* server : {&first, &second}) {
        ASSERT_TRUE(server->start({"--verify-wait-ms", "0", "--verify-replays", "1"}))
            << server->log();
    }

    // Eight runs, each another text, sent to the two servers in turn.
    std::vector<std::string> names;
    for (int i = 0; i < 8; ++i) {
        const std::string run = withHarmlessReleases(kBridgeRun, i);
        const std::string name = "n" + std::to_string(i);
        const ServerProcess& through = i % 2 == 0 ? first : second;
        EXPECT_EQ(answerOf(*sendFrom(through, "127.0.4." + std::to_string(1 + i),
                                     runSubmission(name, run)))
                      .body,
                  "OK queued\n");
        names.push_back(name);
    }
    // A machine busy with other work slows the replays down a lot.
    EXPECT_TRUE(allVerified(first, names, 60)) << first.log() << second.log();

    // Every verdict is in the log of the server that recorded it.
    std::multiset<std::string> verdicts;
    const std::regex verified("run (\\d+) [^\n]* verified at");
    for (const ServerProcess* server : {&first, &second}) {
        const std::string log = server->log();
        const auto begin = std::sregex_iterator(log.begin(), log.end(), verified);
        EXPECT_NE(begin, std::sregex_iterator()) << "this server verified none";
        for (auto match = begin; match != std::sregex_iterator(); ++match) {
            verdicts.insert((*match)[1]);
        }
    }
    EXPECT_EQ(verdicts.size(), 8u);
    EXPECT_EQ(std::set<std::string>(verdicts.begin(), verdicts.end()).size(), 8u);
}
