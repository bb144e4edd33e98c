#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <thread>

#include "ServerBoards.hpp"
#include "ServerProcess.hpp"
#include "TempFolder.hpp"
#include "online/FormBody.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/client/HighscoreClient.hpp"
#include "online/client/HttpExchange.hpp"
#include "sim/run/ScoreText.hpp"

using namespace HighscoreProtocol;

namespace {

const sf::Time kTimeout = sf::seconds(5);

struct Level {
    int mode;
    int id;
};
const Level kLevels[] = {{1, 250}, {1, 275}, {2, 20000}, {2, 20057}};

// Every test runs once against a SQLite file and once against PostgreSQL.
class HighscoreServer : public ::testing::TestWithParam<Backend> {
  protected:
    // The tests send more than a player's burst of requests from one address.
    void SetUp() override {
        ASSERT_FALSE(board.empty()) << testCluster().error();
        ASSERT_TRUE(server.start({"--rate-burst", "1000"})) << server.log();
    }

    HighscoreClient client() const { return HighscoreClient(server.address()); }

    void submit(const std::string& name, int mode, int level, float seconds) const {
        client().submitScore(name, mode, level, encodeTime(seconds));
    }

    HighscoreTable fetch(int mode, int level) const {
        HighscoreTable table;
        client().fetchTable(mode, level, table);
        return table;
    }

    // The names of a level's table, in table order.
    std::vector<std::string> namesOn(int mode, int level) const {
        const HighscoreTable table = fetch(mode, level);
        std::vector<std::string> names;
        for (unsigned r = 0; r < table.recordCount(); ++r) {
            names.push_back(table.field(r, 2));
        }
        return names;
    }

    // A raw request, so that the tests can send what the game never would.
    HttpAnswer send(const std::string& method, std::string_view path,
                    const std::string& body) const {
        const ServerAddress address = parseServerAddress(server.address());
        std::string request = buildPostRequest(address, path, body);
        request.replace(0, 4, method);
        return exchange(address, request, kTimeout);
    }

    // Every table as the server sends it.
    std::string allTables() const {
        std::string text;
        for (const Level& level : kLevels) {
            text += client().post(kTablePath, tableQueryBody(level.mode, level.id)) + "|";
        }
        return text;
    }

    TempFolder folder;
    const std::string board = newBoard(GetParam(), folder);
    ServerProcess server{board, folder.file("server.log")};
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Stores, HighscoreServer, bothBackends(), backendName);

TEST_P(HighscoreServer, NameIsFreeUntilItHoldsATimeOnAnyLevel) {
    EXPECT_TRUE(client().checkName("racer"));
    EXPECT_TRUE(client().checkName("Mr. Fast, Jr"));

    submit("racer", 2, 20057, 31.25f);
    submit("Mr. Fast, Jr", 1, 275, 40.0f);

    EXPECT_FALSE(client().checkName("racer"));
    EXPECT_FALSE(client().checkName("Mr. Fast, Jr"));
    EXPECT_TRUE(client().checkName("Racer"));
    EXPECT_TRUE(client().checkName("racer2"));

    const std::string log = server.log();
    EXPECT_NE(log.find("chk.php 200"), std::string::npos) << log;
    EXPECT_NE(log.find("name=\"racer\" mode=2 level=20057 31.25s new best"), std::string::npos)
        << log;
}

TEST_P(HighscoreServer, TablesListFastestFirstPerLevelWithTiesInArrivalOrder) {
    submit("carol", 1, 250, 30.5f);
    submit("alice", 1, 250, 12.3456f);
    submit("dave", 1, 250, 30.5f);
    submit("bob", 1, 250, 75.5f);
    submit("erin", 1, 275, 5.0f);
    submit("frank", 2, 20000, 600.25f);

    EXPECT_EQ(namesOn(1, 250), (std::vector<std::string>{"alice", "carol", "dave", "bob"}));
    EXPECT_EQ(namesOn(1, 275), std::vector<std::string>{"erin"});
    EXPECT_EQ(namesOn(2, 20000), std::vector<std::string>{"frank"});
    EXPECT_TRUE(namesOn(2, 20057).empty());

    HighscoreTable table = fetch(1, 250);
    ASSERT_EQ(table.tokens.size(), 16u);
    for (unsigned r = 0; r < table.recordCount(); ++r) {
        EXPECT_EQ(table.field(r, 0), std::to_string(r + 1));
        EXPECT_EQ(table.field(r, 1).size(), 10u) << "a YYYY-MM-DD date";
    }
    EXPECT_EQ(table.field(0, 3), "12.3456");
    table.findOwnRecord("dave", 5);
    EXPECT_EQ(table.ownRecord, 2);
    const std::string row = table.rowText(3);
    EXPECT_EQ(row.substr(0, 16), "     4. 1:15.500");
    EXPECT_EQ(row.substr(row.size() - 5), "  bob");
    EXPECT_EQ(fetch(2, 20000).rowText(0).substr(0, 17), "     1. 10:00.250");
}

TEST_P(HighscoreServer, OnlyAFasterTimeReplacesTheBest) {
    submit("alice", 1, 250, 20.0f);
    submit("bob", 1, 250, 20.0f);
    submit("alice", 1, 250, 25.0f);
    // An equal time is no improvement: alice keeps her place before bob.
    submit("alice", 1, 250, 20.0f);
    EXPECT_EQ(namesOn(1, 250), (std::vector<std::string>{"alice", "bob"}));
    EXPECT_EQ(fetch(1, 250).field(0, 3), "20");

    submit("bob", 1, 250, 19.5f);
    const HighscoreTable table = fetch(1, 250);
    EXPECT_EQ(table.recordCount(), 2u);
    EXPECT_EQ(table.field(0, 2), "bob");
    EXPECT_EQ(table.field(0, 3), "19.5");
    EXPECT_NE(server.log().find("kept older best"), std::string::npos);
}

TEST_P(HighscoreServer, TablesSurviveARestart) {
    submit("alice", 1, 275, 42.125f);
    submit("bob", 2, 20057, 99.0f);
    const std::string before = allTables();

    EXPECT_EQ(server.stop(), 0);
    EXPECT_NE(server.log().find("stopped"), std::string::npos);
    ASSERT_TRUE(server.start()) << server.log();

    EXPECT_EQ(allTables(), before);
    EXPECT_FALSE(client().checkName("alice"));
}

TEST_P(HighscoreServer, ATimeSentThroughAnotherServerShowsOnceTheKeptTableIsOld) {
    ServerProcess other(board, folder.file("other.log"));
    ASSERT_TRUE(other.start()) << other.log();
    EXPECT_TRUE(namesOn(1, 250).empty());
    HighscoreClient(other.address()).submitScore("alice", 1, 250, encodeTime(20.0f));
    // A table is kept for at most a second.
    std::vector<std::string> names;
    for (int wait = 0; wait < 30 && names.empty(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        names = namesOn(1, 250);
    }
    EXPECT_EQ(names, std::vector<std::string>{"alice"});
}

TEST_P(HighscoreServer, AnAnsweredSubmissionSurvivesKillMinus9) {
    const HttpAnswer answer =
        send("POST", kSubmitPath, submissionBody("alice", 1, 250, encodeTime(33.333f)));
    ASSERT_TRUE(answer.complete);
    ASSERT_EQ(answer.status, 200);
    ASSERT_EQ(answer.body, "OK\n");

    server.killHard();
    ASSERT_TRUE(server.start()) << server.log();

    const HighscoreTable table = fetch(1, 250);
    ASSERT_EQ(table.recordCount(), 1u);
    EXPECT_EQ(table.field(0, 2), "alice");
    EXPECT_EQ(table.field(0, 3), "33.333");
}

TEST_P(HighscoreServer, BadRequestsAreRefusedAndChangeNothing) {
    submit("alice", 1, 250, 20.0f);
    const std::string before = allTables();
    const std::string score = encodeTime(10.0f);
    const std::string tail = "&mode=1&level=250&score=" + score;

    struct Bad {
        std::string method;
        std::string_view path;
        std::string body;
        int status = 400;
    };
    // One refusal per way in: the field rules themselves are the request
    // parser's, covered case by case in the online unit tests.
    const std::vector<Bad> bad = {
        {"POST", kSubmitPath, "name=zed" + tail + "&pad=" + std::string(2000, 'x'), 413},
        {"POST", kSubmitPath, "name=zed&mode=2&level=250&score=" + score},
        {"POST", kSubmitPath, "name=z\xc3\xa4" + tail},
        {"POST", kSubmitPath, "name=zed&mode=1&level=250&score=2 " + score.substr(2) + "?"},
        {"POST", kNameCheckPath, "name=zed%0A"},
        {"POST", kTablePath, "&mode=1&level=999"},
        {"GET", kTablePath, "&mode=1&level=250"},
        {"DELETE", kSubmitPath, "name=alice" + tail},
        {"HEAD", kTablePath, ""},
    };
    for (const Bad& request : bad) {
        const HttpAnswer answer = send(request.method, request.path, request.body);
        ASSERT_TRUE(answer.headerRead) << request.method << " " << request.body.substr(0, 80);
        EXPECT_EQ(answer.status, request.status)
            << request.method << " " << request.body.substr(0, 80);
        if (request.method != "HEAD") {
            EXPECT_EQ(answer.body.rfind("ERROR ", 0), 0u) << answer.body;
        }
    }
    // A body that claims to be huge is refused before it is read.
    const ServerAddress address = parseServerAddress(server.address());
    std::string claim = buildPostRequest(address, kSubmitPath, "name=zed" + tail);
    claim.replace(claim.find("Content-Length: ") + 16, 2, "50000000");
    EXPECT_EQ(exchange(address, claim, kTimeout).status, 413);

    EXPECT_EQ(allTables(), before);
    EXPECT_TRUE(client().checkName("zed"));
    // Each refusal is logged, beyond a few a second as a count.
    server.stop();
    std::size_t refusals = 0;
    const std::string log = server.log();
    for (std::size_t at = log.find(" refused: "); at != std::string::npos;
         at = log.find(" refused: ", at + 1)) {
        ++refusals;
    }
    const std::regex summary("(\\d+) more refusals");
    for (auto line = std::sregex_iterator(log.begin(), log.end(), summary);
         line != std::sregex_iterator(); ++line) {
        refusals += std::stoul((*line)[1]);
    }
    EXPECT_EQ(refusals, bad.size() + 1) << log;
}

TEST_P(HighscoreServer, UnknownPathIsNotFound) {
    const HttpAnswer answer = send("POST", "/games/Rollavortex/other.php", "name=zed");
    EXPECT_EQ(answer.status, 404);
    EXPECT_TRUE(client().checkName("zed"));
}

TEST_P(HighscoreServer, SimultaneousSubmissionsAreAllKept) {
    constexpr int kThreads = 4;
    constexpr int kEach = 10;
    std::vector<std::thread> players;
    for (int t = 0; t < kThreads; ++t) {
        players.emplace_back([this, t] {
            for (int i = 0; i < kEach; ++i) {
                submit("p" + std::to_string(t) + "x" + std::to_string(i), 2, 20000,
                       10.0f + static_cast<float>(i * kThreads + t));
            }
        });
    }
    for (std::thread& player : players) {
        player.join();
    }
    const HighscoreTable table = fetch(2, 20000);
    ASSERT_EQ(table.recordCount(), unsigned{kThreads * kEach});
    for (unsigned r = 0; r < table.recordCount(); ++r) {
        EXPECT_EQ(table.field(r, 3), std::to_string(10 + r));
    }
}

TEST(HighscoreServerCommandLine, HelpBadOptionsAndAnUnusableDatabase) {
    TempFolder folder;
    const std::string output = folder.file("out.txt");
    EXPECT_EQ(ServerProcess::runToEnd({"--help"}, output), 0);
    EXPECT_NE(slurpFile(output).find("--listen HOST:PORT"), std::string::npos);

    EXPECT_EQ(ServerProcess::runToEnd({"--port", "1"}, output), 2);
    EXPECT_EQ(ServerProcess::runToEnd({"--listen", "127.0.0.1:99999"}, output), 2);
    EXPECT_EQ(
        ServerProcess::runToEnd(
            {"--listen", "127.0.0.1:0", "--db", folder.file("no/such/folder/scores.db")}, output),
        1);
    EXPECT_NE(slurpFile(output).find("cannot open database"), std::string::npos);
    EXPECT_EQ(ServerProcess::runToEnd(
                  {"--db", "postgresql://nobody@/none?host=" + folder.file("nowhere")}, output),
              1);
    EXPECT_NE(slurpFile(output).find("cannot open database postgresql://"), std::string::npos);

    // The copy only ever fills a PostgreSQL board.
    EXPECT_EQ(ServerProcess::runToEnd({"--import-sqlite", folder.file("old.db")}, output), 2);
    EXPECT_NE(slurpFile(output).find("give --db postgresql://"), std::string::npos);
}

TEST(HighscoreServerHealth, ADeletedDatabaseFileTurnsHealthAndSubmissionsToErrors) {
    TempFolder folder;
    const std::string board = folder.file("scores.db");
    ServerProcess server(board, folder.file("server.log"));
    ASSERT_TRUE(server.start()) << server.log();
    const ServerAddress address = parseServerAddress(server.address());
    const auto get = [&](const std::string& path) {
        std::string request = buildPostRequest(address, path, "");
        request.replace(0, 4, "GET");
        return exchange(address, request, kTimeout);
    };
    const HighscoreClient client(server.address());
    const std::string submission = submissionBody("al", 1, 250, encodeTime(20));
    const std::string run = slurpFile("levels/runs/TheLabyrinth.run");
    EXPECT_EQ(get("/healthz").status, 200);
    EXPECT_EQ(client.post(kSubmitPath, submission), "OK\n");

    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::filesystem::remove(board + suffix);
    }
    EXPECT_EQ(get("/healthz").status, 503);
    for (const auto& [path, body] :
         {std::pair{kSubmitPath, submission},
          std::pair{kRunPath, submission + "&run=" + escapeFormValue(run)}}) {
        const HttpAnswer answer =
            exchange(address, buildPostRequest(address, path, body), kTimeout);
        EXPECT_EQ(answer.status, 500) << path;
        EXPECT_EQ(answer.body, "ERROR storage\n") << path;
    }
    EXPECT_NE(server.log().find("was removed or replaced"), std::string::npos);
}
