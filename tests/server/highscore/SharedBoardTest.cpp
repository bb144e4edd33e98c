#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ServerBoards.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/client/HighscoreClient.hpp"
#include "sim/base/PlainDecimal.hpp"
#include "sim/run/ScoreText.hpp"

// Servers behind a load balancer share one PostgreSQL board: no submission
// may be lost, and the tables must read as one server's on a SQLite file
// would, taking the same submissions from as many threads, equal times in the
// order they arrived at any of the servers.

namespace {

constexpr int kPlayers = 200;
constexpr int kRuns = 10;
constexpr int kClientThreads = 16;
constexpr int kTied = 20;
constexpr int kSubmissions = kPlayers * kRuns + kTied;
const int kLevelIds[] = {250, 275, 20000, 20057};

int modeOf(int levelId) {
    return levelId < 1000 ? 1 : 2;
}

// Player p rides level p % 4; its runs take every offset 0 to 9 once, in an
// order of its own, so its best, 10 + p / 2 s, differs from everyone else's.
float runSeconds(int player, int run) {
    return 10.0f + 0.5f * static_cast<float>(player) + static_cast<float>((7 * run + player) % 10);
}

using Servers = std::vector<const ServerProcess*>;

// Each player's runs in order, players in parallel, two thirds of the runs to
// the first server (a balancer is never quite even); meanwhile the tied
// players come in one after the other, alternating between the servers.
// Returns how many were answered OK.
int submitAll(const Servers& servers) {
    const auto send = [&](int server, const std::string& name, int levelId, float seconds) {
        const HighscoreClient client(servers[server % servers.size()]->address());
        return client.post(HighscoreProtocol::kSubmitPath,
                           HighscoreProtocol::submissionBody(name, modeOf(levelId), levelId,
                                                             encodeTime(seconds))) == "OK\n";
    };
    std::atomic<int> answered{0};
    std::vector<std::thread> clients;
    for (int t = 0; t < kClientThreads; ++t) {
        clients.emplace_back([&, t] {
            for (int p = t; p < kPlayers; p += kClientThreads) {
                for (int r = 0; r < kRuns; ++r) {
                    answered += send((p + r) % 3 == 0, "p" + std::to_string(p), kLevelIds[p % 4],
                                     runSeconds(p, r));
                }
            }
        });
    }
    for (int i = 0; i < kTied; ++i) {
        answered += send(i, "tie" + std::to_string(i), 275, 5.0f);
    }
    for (std::thread& client : clients) {
        client.join();
    }
    return answered;
}

// The tied players first, as they came, then every player at its best.
std::string expectedTable(int level) {
    std::string text;
    int position = 0;
    for (int i = 0; level == 1 && i < kTied; ++i) {
        text += std::to_string(++position) + " tie" + std::to_string(i) + " 5\n";
    }
    for (int p = level; p < kPlayers; p += 4) {
        text += std::to_string(++position) + " p" + std::to_string(p) + " " +
                plainDecimal(10.0f + 0.5f * static_cast<float>(p)) + "\n";
    }
    return text;
}

}  // namespace

TEST(SharedPostgresBoard, TwoServersLoseNothingAndOrderAsOneOnAFile) {
    TempFolder folder;
    const std::string shared = testCluster().createDatabase();
    ASSERT_FALSE(shared.empty()) << testCluster().error();
    ServerProcess first(shared, folder.file("a.log"));
    ServerProcess second(shared, folder.file("b.log"));
    ServerProcess alone(folder.file("single.db"), folder.file("single.log"));
    for (ServerProcess* server : {&first, &second, &alone}) {
        // All the players come from one address; every table read must see
        // the other server's writes.
        ASSERT_TRUE(
            server->start({"--rate-limit", "1000000", "--rate-burst", "1000000",
                           "--max-connections-per-address", "100000", "--table-cache-ms", "0"}))
            << server->log();
    }
    ASSERT_EQ(submitAll({&first, &second}), kSubmissions);
    ASSERT_EQ(submitAll({&alone}), kSubmissions);

    for (int level = 0; level < 4; ++level) {
        const int id = kLevelIds[level];
        EXPECT_EQ(shownTable(first, modeOf(id), id), expectedTable(level)) << id;
        EXPECT_EQ(shownTable(second, modeOf(id), id), expectedTable(level)) << id;
        EXPECT_EQ(shownTable(alone, modeOf(id), id), expectedTable(level)) << id;
    }
}
