#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#include "PostgresCluster.hpp"
#include "ServerProcess.hpp"
#include "TempFolder.hpp"
#include "online/HighscoreClient.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/PlainDecimal.hpp"
#include "online/ScoreText.hpp"

// Several servers behind a load balancer share one PostgreSQL board: no
// submission may be lost and the tables must read as one server would give
// them, equal times in the order they arrived at any of the servers.

namespace {

constexpr int kPlayers = 200;
constexpr int kRunsEach = 10;
constexpr int kClientThreads = 16;
// Players who all finish in the same time, one after the other.
constexpr int kTiedPlayers = 20;
constexpr float kTiedSeconds = 5.0f;

struct Level {
    int mode;
    int id;
};
const Level kLevels[] = {{1, 250}, {1, 275}, {2, 20000}, {2, 20057}};

// Run r of player p: its runs visit every offset 0 to 9 once, in an order of
// its own, so its best time is 10 + p / 2 s, distinct from every other
// player's, and arrives at a different run for each player.
float runSeconds(int player, int run) {
    return 10.0f + 0.5f * static_cast<float>(player) +
           static_cast<float>((7 * run + player) % kRunsEach);
}

// One row of a table as the player sees it; the day is left out, as two runs
// may straddle midnight.
using Table = std::vector<std::string>;

Table tableOf(const std::string& address, const Level& level) {
    HighscoreTable table;
    HighscoreClient(address).fetchTable(level.mode, level.id, table);
    Table rows;
    for (unsigned r = 0; r < table.recordCount(); ++r) {
        rows.push_back(table.field(r, 0) + " " + table.field(r, 2) + " " + table.field(r, 3));
    }
    return rows;
}

// Sends every submission through `servers`, each player's runs in order but
// spread over the servers, players in parallel; meanwhile the tied players
// come in one after the other, alternating between the servers. Returns how
// many were answered OK.
int submitAll(const std::vector<std::unique_ptr<ServerProcess>>& servers) {
    const auto send = [&](int server, const std::string& name, const Level& level, float seconds) {
        const HighscoreClient client(servers[server % servers.size()]->address());
        const std::string body =
            HighscoreProtocol::submissionBody(name, level.mode, level.id, encodeTime(seconds));
        return client.post(HighscoreProtocol::kSubmitPath, body) == "OK\n";
    };
    std::atomic<int> answered{0};
    std::vector<std::thread> clients;
    for (int t = 0; t < kClientThreads; ++t) {
        clients.emplace_back([&, t] {
            for (int p = t; p < kPlayers; p += kClientThreads) {
                for (int r = 0; r < kRunsEach; ++r) {
                    // A balancer is never quite even: two thirds go to the
                    // first server.
                    const int server = (p + r) % 3 == 0 ? 1 : 0;
                    answered +=
                        send(server, "p" + std::to_string(p), kLevels[p % 4], runSeconds(p, r));
                }
            }
        });
    }
    for (int i = 0; i < kTiedPlayers; ++i) {
        answered += send(i, "tie" + std::to_string(i), kLevels[1], kTiedSeconds);
    }
    for (std::thread& client : clients) {
        client.join();
    }
    return answered;
}

// What any correct board holds after submitAll: the tied players first, in
// the order they came, then every player at its best, fastest first.
Table expectedTable(int levelIndex) {
    std::vector<std::pair<float, std::string>> rows;
    if (levelIndex == 1) {
        for (int i = 0; i < kTiedPlayers; ++i) {
            rows.emplace_back(kTiedSeconds, "tie" + std::to_string(i));
        }
    }
    for (int p = levelIndex; p < kPlayers; p += 4) {
        rows.emplace_back(10.0f + 0.5f * static_cast<float>(p), "p" + std::to_string(p));
    }
    Table table;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        table.push_back(std::to_string(i + 1) + " " + rows[i].second + " " +
                        plainDecimal(rows[i].first));
    }
    return table;
}

}  // namespace

TEST(SharedPostgresBoard, TwoServersLoseNothingAndOrderAsOne) {
    PostgresCluster& cluster = testCluster();
    TempFolder folder;
    const std::string shared = cluster.createDatabase();
    const std::string single = cluster.createDatabase();
    ASSERT_FALSE(shared.empty() || single.empty()) << cluster.error();

    std::vector<std::unique_ptr<ServerProcess>> balanced;
    for (const char* log : {"a.log", "b.log"}) {
        balanced.push_back(std::make_unique<ServerProcess>(shared, folder.file(log)));
        ASSERT_TRUE(balanced.back()->start()) << balanced.back()->log();
    }
    std::vector<std::unique_ptr<ServerProcess>> alone;
    alone.push_back(std::make_unique<ServerProcess>(single, folder.file("single.log")));
    ASSERT_TRUE(alone.back()->start()) << alone.back()->log();

    const auto begin = std::chrono::steady_clock::now();
    ASSERT_EQ(submitAll(balanced), kPlayers * kRunsEach + kTiedPlayers);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::printf("%d submissions through two servers in %.2f s\n",
                kPlayers * kRunsEach + kTiedPlayers, seconds);
    ASSERT_EQ(submitAll(alone), kPlayers * kRunsEach + kTiedPlayers);

    for (int l = 0; l < 4; ++l) {
        const Table viaA = tableOf(balanced[0]->address(), kLevels[l]);
        EXPECT_EQ(viaA, expectedTable(l)) << "level " << kLevels[l].id;
        EXPECT_EQ(tableOf(balanced[1]->address(), kLevels[l]), viaA);
        EXPECT_EQ(tableOf(alone[0]->address(), kLevels[l]), viaA);
    }
}
