#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <thread>

#include "RunServerTest.hpp"
#include "online/FormBody.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/client/HighscoreClient.hpp"
#include "online/client/HttpExchange.hpp"
#include "sim/run/ScoreText.hpp"

using namespace HighscoreProtocol;

namespace {

// Every test runs once against a SQLite file and once against PostgreSQL,
// through the game's own client where the game would ask.
class HighscoreServer : public RunServerTest {
  protected:
    void SetUp() override {
        RunServerTest::SetUp();
        start();
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
};

// A board the server keeps in a file that can be taken away.
using SqliteHighscoreServer = HighscoreServer;

}  // namespace

INSTANTIATE_TEST_SUITE_P(Stores, HighscoreServer, bothBackends(), backendName);
INSTANTIATE_TEST_SUITE_P(Sqlite, SqliteHighscoreServer, ::testing::Values(Backend::Sqlite),
                         backendName);

TEST_P(HighscoreServer, TablesListEachNamesBestFastestFirstAndANameIsTakenByAnyTime) {
    EXPECT_TRUE(client().checkName("racer"));
    EXPECT_TRUE(client().checkName("Mr. Fast, Jr"));
    submit("racer", 2, 20057, 31.25f);
    submit("Mr. Fast, Jr", 1, 275, 40.0f);
    submit("carol", 1, 250, 30.5f);
    submit("alice", 1, 250, 12.3456f);
    submit("dave", 1, 250, 30.5f);
    submit("bob", 1, 250, 75.5f);
    // A slower time keeps the older best; an equal one is no improvement, so
    // carol keeps her place before dave; a faster one replaces the best.
    submit("carol", 1, 250, 31.0f);
    submit("carol", 1, 250, 30.5f);
    submit("bob", 1, 250, 75.0f);
    submit("frank", 2, 20000, 600.25f);

    EXPECT_EQ(namesOn(1, 250), (std::vector<std::string>{"alice", "carol", "dave", "bob"}));
    EXPECT_EQ(namesOn(1, 275), std::vector<std::string>{"Mr. Fast, Jr"});
    EXPECT_EQ(namesOn(2, 20057), std::vector<std::string>{"racer"});
    EXPECT_EQ(namesOn(2, 20000), std::vector<std::string>{"frank"});

    HighscoreTable table = fetch(1, 250);
    ASSERT_EQ(table.tokens.size(), 16u);
    for (unsigned r = 0; r < table.recordCount(); ++r) {
        EXPECT_EQ(table.field(r, 0), std::to_string(r + 1));
        EXPECT_EQ(table.field(r, 1).size(), 10u) << "a YYYY-MM-DD date";
    }
    EXPECT_EQ(table.field(0, 3), "12.3456");
    EXPECT_EQ(table.field(1, 3), "30.5");
    EXPECT_EQ(table.field(3, 3), "75");
    EXPECT_EQ(fetch(2, 20000).field(0, 3), "600.25");

    EXPECT_FALSE(client().checkName("racer"));
    EXPECT_FALSE(client().checkName("Mr. Fast, Jr"));
    EXPECT_TRUE(client().checkName("Racer"));
    EXPECT_TRUE(client().checkName("racer2"));
    const std::string log = server.log();
    EXPECT_NE(log.find("chk.php 200"), std::string::npos) << log;
    EXPECT_NE(log.find("name=\"racer\" mode=2 level=20057 31.25s new best"), std::string::npos)
        << log;
    EXPECT_NE(log.find("kept older best"), std::string::npos) << log;
}

// One board through a kill -9, a restart and a second server: a kept table
// is at most a second old.
TEST_P(HighscoreServer, AnAnsweredTimeSurvivesKillMinus9ARestartAndShowsThroughAnotherServer) {
    ASSERT_EQ(post(kSubmitPath, submissionBody("alice", 1, 250, encodeTime(33.333f))).body, "OK\n");
    submit("bob", 2, 20057, 99.0f);
    const std::string before = tables();
    EXPECT_NE(before.find("\talice\t33.333\n"), std::string::npos) << before;

    server.killHard();
    start();
    EXPECT_EQ(tables(), before);
    EXPECT_EQ(server.stop(), 0);
    EXPECT_NE(server.log().find("stopped"), std::string::npos);
    start();
    EXPECT_EQ(tables(), before);
    EXPECT_FALSE(client().checkName("alice"));

    ServerProcess other(board, folder.file("other.log"));
    ASSERT_TRUE(other.start()) << other.log();
    EXPECT_TRUE(namesOn(1, 275).empty());
    HighscoreClient(other.address()).submitScore("carol", 1, 275, encodeTime(20.0f));
    std::vector<std::string> names;
    for (int wait = 0; wait < 30 && names.empty(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        names = namesOn(1, 275);
    }
    EXPECT_EQ(names, std::vector<std::string>{"carol"});
}

TEST_P(HighscoreServer, BadRequestsAreRefusedAndChangeNothing) {
    submit("alice", 1, 250, 20.0f);
    const std::string before = tables();
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
        {"POST", "/games/Rollavortex/other.php", "name=zed" + tail, 404},
    };
    // The game's own exchange, which reads an answer to HEAD without a body.
    const ServerAddress address = parseServerAddress(server.address());
    for (const Bad& request : bad) {
        SCOPED_TRACE(request.method + " " + request.body.substr(0, 80));
        std::string text = buildPostRequest(address, request.path, request.body);
        text.replace(0, 4, request.method);
        const HttpAnswer answer = exchange(address, text, sf::seconds(5));
        ASSERT_TRUE(answer.headerRead);
        EXPECT_EQ(answer.status, request.status);
        if (request.method != "HEAD") {
            EXPECT_EQ(answer.body.rfind("ERROR ", 0), 0u) << answer.body;
        }
    }

    EXPECT_EQ(tables(), before);
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
    EXPECT_EQ(refusals, bad.size()) << log;
}

TEST_P(SqliteHighscoreServer, ADeletedDatabaseFileTurnsHealthAndSubmissionsToErrors) {
    const std::string submission = submissionBody("al", 1, 250, encodeTime(20));
    EXPECT_EQ(get("/healthz").status, 200);
    EXPECT_EQ(post(kSubmitPath, submission).body, "OK\n");
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::filesystem::remove(board + suffix);
    }
    EXPECT_EQ(get("/healthz").status, 503);
    const std::string run = slurpFile(kCommittedRuns[0].file);
    for (const auto& [path, body] :
         {std::pair{kSubmitPath, submission},
          std::pair{kRunPath, submission + "&run=" + escapeFormValue(run)}}) {
        const auto answer = post(path, body);
        EXPECT_EQ(answer.status, 500) << path;
        EXPECT_EQ(answer.body, "ERROR storage\n") << path;
    }
    EXPECT_NE(server.log().find("was removed or replaced"), std::string::npos);
}

TEST(HighscoreServerCommandLine, HelpBadOptionsAndAnUnusableDatabaseOrLevelFolder) {
    TempFolder folder;
    const std::string output = folder.file("out.txt");
    EXPECT_EQ(ServerProcess::runToEnd({"--help"}, output), 0);
    EXPECT_NE(slurpFile(output).find("--listen HOST:PORT"), std::string::npos);
    EXPECT_NE(slurpFile(output).find("--levels DIR"), std::string::npos);

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--port", "1"}, {"--listen", "127.0.0.1:99999"}, {"--levels"}}) {
        EXPECT_EQ(ServerProcess::runToEnd(bad, output), 2) << bad[0];
    }
    const struct {
        std::vector<std::string> options;
        const char* says;
    } unusable[] = {
        {{"--db", folder.file("no/such/folder/scores.db")}, "cannot open database"},
        {{"--db", "postgresql://nobody@/none?host=" + folder.file("nowhere")},
         "cannot open database postgresql://"},
        {{"--db", folder.file("s.db"), "--levels", folder.file("nowhere")},
         "nowhere: no such folder"},
    };
    for (const auto& [options, says] : unusable) {
        std::vector<std::string> arguments = {"--listen", "127.0.0.1:0"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        EXPECT_EQ(ServerProcess::runToEnd(arguments, output), 1) << says;
        EXPECT_NE(slurpFile(output).find(says), std::string::npos) << slurpFile(output);
    }

    // The copy only ever fills a PostgreSQL board.
    EXPECT_EQ(ServerProcess::runToEnd({"--import-sqlite", folder.file("old.db")}, output), 2);
    EXPECT_NE(slurpFile(output).find("give --db postgresql://"), std::string::npos);
}
