#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "RunServerTest.hpp"
#include "online/HighscoreTable.hpp"
#include "online/client/HighscoreClient.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/run/ScoreText.hpp"

// Levels the server keeps beside the game's own four, named by the SHA-256 of
// their file: the Tour of its data folder, and the operator's folder of
// levels (--levels).

using namespace HighscoreProtocol;

namespace {

namespace fs = std::filesystem;

const char* const kTourRuns[] = {"BreakThrough", "ColourKeep", "ColourLesson", "FirstRoll",
                                 "GrandTour",    "Hop",        "Prism",        "RopeWalk"};

std::string tourRun(const std::string& level) {
    return slurpFile("levels/packs/tour/runs/" + level + ".run");
}

std::string headerValue(const std::string& run, const std::string& key) {
    std::smatch match;
    std::regex_search(run, match, std::regex("\n" + key + ": ([^\n]*)\n"));
    return match.empty() ? "" : match[1].str();
}

std::string withHeader(const std::string& run, const std::string& key, const std::string& value) {
    return std::regex_replace(run, std::regex("\n" + key + ": [^\n]*\n"),
                              "\n" + key + ": " + value + "\n");
}

int modeOf(const std::string& run) {
    return std::stoi(headerValue(run, "mode"));
}

LevelIdentity levelOf(const std::string& run) {
    return LevelIdentity::ofFile(headerValue(run, "level-sha256"));
}

// First Roll as an operator's level of its own: another title (one the board
// must escape), so other bytes and another hash, and the same map.
const std::string kOperatorTitle = "Operator's <Roll> & \"Co\"";
const std::string kOperatorLevel = std::regex_replace(
    slurpFile("data/levels/tour/FirstRoll.tmx"), std::regex("value=\"First Roll\""),
    "value=\"Operator&apos;s &lt;Roll&gt; &amp; &quot;Co&quot;\"");
const std::string kOperatorHash = sha256Hex(kOperatorLevel);
// The committed run of First Roll stamped for the operator's copy, and what
// the server keeps of it: the level named as the server's folder has it.
const std::string kOperatorRun = withHeader(tourRun("FirstRoll"), "level-sha256", kOperatorHash);
const std::string kOperatorCanonical =
    withHeader(withHeader(kOperatorRun, "level", kOperatorTitle), "file", "mine/Roll.tmx");

class CustomLevelServer : public RunServerTest {
  protected:
    void SetUp() override {
        RunServerTest::SetUp();
        fs::create_directories(levels / "mine");
        writeFileBytes((levels / "mine" / "Roll.tmx").string(), kOperatorLevel);
        writeFileBytes((levels / "mine" / "pack.txt").string(), "name: Mine\nRoll.tmx\n");
        writeFileBytes((levels / "Broken.tmx").string(), "<map>no level</map>");
    }

    LoopbackClient::Answer get(const std::string& target) const {
        return send(httpRequest("GET", target, {}, false));
    }

    const fs::path levels = folder.path() / "levels";
};

INSTANTIATE_TEST_SUITE_P(Backends, CustomLevelServer, bothBackends(), backendName);

}  // namespace

TEST_P(CustomLevelServer, EveryTourRunVerifiesByItsHashAndComesBackAsCommitted) {
    start();
    for (const char* level : kTourRuns) {
        SCOPED_TRACE(level);
        const std::string run = tourRun(level);
        ASSERT_FALSE(run.empty());
        const int mode = modeOf(run);
        EXPECT_EQ(verdictOf(runSubmission("bot", mode, levelOf(run), run, recordedMs(run))).body,
                  "OK verified\n");
        const std::string where = tableQueryBody(mode, levelOf(run));
        EXPECT_TRUE(std::regex_search(post(kTablePath, where).body,
                                      std::regex("^1\t\\d{4}-\\d\\d-\\d\\d replay\tbot\t")));
        EXPECT_EQ(post(kRunFetchPath, where + "&position=1").body, run);
    }
}

TEST_P(CustomLevelServer, AnOperatorsLevelGetsATableAndAVerifiedRunBesideTheOldIds) {
    start({"--levels", levels.string()});
    const LevelIdentity level = LevelIdentity::ofFile(kOperatorHash);
    EXPECT_EQ(post(kSubmitPath, submissionBody("plain", 1, level, encodeTime(60))).body, "OK\n");
    EXPECT_EQ(
        verdictOf(runSubmission("bot", 1, level, kOperatorRun, recordedMs(kOperatorRun))).body,
        "OK verified\n");
    const std::string where = tableQueryBody(1, level);
    EXPECT_TRUE(std::regex_search(
        post(kTablePath, where).body,
        std::regex("^1\t[-0-9]+ replay\tbot\t7\\.95\\d*\n2\t[-0-9]+\tplain\t60\n$")));
    EXPECT_EQ(post(kRunFetchPath, where + "&position=1").body, kOperatorCanonical);

    // The game's own levels keep their ids and tables apart.
    EXPECT_EQ(post(kTablePath, tableQueryBody(1, 250)).body, "");
    EXPECT_EQ(post(kSubmitPath, submissionBody("old", 1, 250, encodeTime(20))).body, "OK\n");
    EXPECT_TRUE(std::regex_search(post(kTablePath, tableQueryBody(1, 250)).body,
                                  std::regex("^1\t[-0-9]+\told\t20\n$")));

    // The game reads both as tables.
    const HighscoreClient game(server.address());
    HighscoreTable table;
    EXPECT_EQ(game.fetchTable(1, level, table), TableAnswer::table);
    EXPECT_EQ(table.recordCount(), 2u);

    const std::string log = server.log();
    EXPECT_NE(log.find("Broken.tmx left out: "), std::string::npos) << log;
    EXPECT_NE(log.find("1 custom levels from " + levels.string()), std::string::npos) << log;
}

TEST_P(CustomLevelServer, TheBoardListsCustomLevelsByNameEscapedWithTheirHashAndShowsTheirRecords) {
    start({"--levels", levels.string()});
    post(kSubmitPath,
         submissionBody("ann", 1, LevelIdentity::ofFile(kOperatorHash), encodeTime(9)));
    const std::string escaped = "Operator&#39;s &lt;Roll&gt; &amp; &quot;Co&quot;";
    const std::string front = get("/").body;
    EXPECT_NE(front.find("<h3>Tour</h3>"), std::string::npos);
    EXPECT_NE(front.find("<a href=\"/table/1/" + kOperatorHash + "\">" + escaped + "</a>"),
              std::string::npos)
        << front;
    EXPECT_EQ(front.find("<Roll>"), std::string::npos);

    const auto table = get("/table/1/" + kOperatorHash);
    EXPECT_EQ(table.status, 200);
    EXPECT_NE(table.body.find("Mine: " + escaped), std::string::npos) << table.body;
    EXPECT_NE(table.body.find("SHA-256 " + kOperatorHash), std::string::npos);
    EXPECT_NE(table.body.find("<td class=\"name\">ann</td>"), std::string::npos);
    for (const std::string& missing :
         {"/table/2/" + kOperatorHash, "/table/1/" + std::string(64, 'a'),
          "/table/1/" + kOperatorHash.substr(1), std::string("/table/01/250")}) {
        EXPECT_EQ(get(missing).status, 404) << missing;
    }

    // A verified record of the operator's level has its page with the map
    // drawn from the server's copy, and its run downloads under the file's name.
    ASSERT_EQ(verdictOf(runSubmission("bot", 1, LevelIdentity::ofFile(kOperatorHash), kOperatorRun,
                                      recordedMs(kOperatorRun)))
                  .body,
              "OK verified\n");
    const std::string record = "/run/1/" + kOperatorHash + "/1";
    const std::string tableWithMap = get("/table/1/" + kOperatorHash).body;
    EXPECT_NE(tableWithMap.find("<svg class=\"map\""), std::string::npos);
    EXPECT_NE(tableWithMap.find("href=\"" + record + "\""), std::string::npos) << tableWithMap;
    const auto page = get(record);
    ASSERT_EQ(page.status, 200);
    EXPECT_NE(page.body.find("<polyline"), std::string::npos);
    const auto run = get(record + "/" + sha256Hex(kOperatorCanonical) + ".run");
    EXPECT_EQ(run.status, 200);
    EXPECT_EQ(run.body, kOperatorCanonical);
    EXPECT_NE(run.headers.find("filename=\"Roll-1-bot.run\""), std::string::npos) << run.headers;
}

TEST_P(CustomLevelServer, ALevelTheServerLacksIsNotOnThisServerForEveryRequestAndChangesNothing) {
    start();
    const LevelIdentity lacked = LevelIdentity::ofFile(kOperatorHash);
    const std::string tourHash = headerValue(tourRun("FirstRoll"), "level-sha256");
    const struct {
        std::string_view path;
        std::string body;
    } requests[] = {
        {kTablePath, tableQueryBody(1, lacked)},
        {kSubmitPath, submissionBody("ghost", 1, lacked, encodeTime(5))},
        {kRunPath, runSubmission("ghost", 1, lacked, kOperatorRun, recordedMs(kOperatorRun))},
        {kRunFetchPath, runQueryBody(1, lacked, 1)},
        // A level the server keeps, asked for in the other mode.
        {kSubmitPath, submissionBody("ghost", 2, LevelIdentity::ofFile(tourHash), encodeTime(5))},
    };
    for (const auto& request : requests) {
        const auto answer = post(request.path, request.body);
        EXPECT_EQ(answer.status, 404) << request.body.substr(0, 100);
        EXPECT_EQ(answer.body, std::string(kLevelNotOnServer) + "\n");
    }
    EXPECT_EQ(post(kNameCheckPath, nameCheckBody("ghost")).body, "OK\n");
    EXPECT_EQ(post(kTablePath, tableQueryBody(1, LevelIdentity::ofFile(tourHash))).body, "");
    HighscoreTable table;
    EXPECT_EQ(HighscoreClient(server.address()).fetchTable(1, lacked, table),
              TableAnswer::notOnServer);
}

TEST_P(CustomLevelServer, ALevelEditedUnderTheRunningServerIsAnotherLevelAfterARestart) {
    start({"--levels", levels.string()});
    const LevelIdentity level = LevelIdentity::ofFile(kOperatorHash);
    post(kSubmitPath, submissionBody("before", 1, level, encodeTime(30)));
    const std::string edited = kOperatorLevel + "\n";
    writeFileBytes((levels / "mine" / "Roll.tmx").string(), edited);

    // Its runs cannot be replayed on the file that is no longer there...
    const std::string body = runSubmission("bot", 1, level, kOperatorRun, recordedMs(kOperatorRun));
    EXPECT_EQ(post(kRunPath, body).status, 500);
    EXPECT_NE(post(kTablePath, tableQueryBody(1, level)).body, "");

    // ...and after a restart the edited file has a table of its own, while
    // the old one is kept for the day the old file comes back.
    ASSERT_EQ(server.stop(), 0);
    start({"--levels", levels.string()});
    EXPECT_EQ(post(kTablePath, tableQueryBody(1, level)).status, 404);
    EXPECT_EQ(post(kTablePath, tableQueryBody(1, LevelIdentity::ofFile(sha256Hex(edited)))).body,
              "");
    writeFileBytes((levels / "mine" / "Roll.tmx").string(), kOperatorLevel);
    ASSERT_EQ(server.stop(), 0);
    start({"--levels", levels.string()});
    EXPECT_TRUE(std::regex_search(post(kTablePath, tableQueryBody(1, level)).body,
                                  std::regex("^1\t[-0-9]+\tbefore\t30\n$")));
}

TEST(CustomLevelFolders, TheOptionIsInTheHelpAndAMissingFolderStopsTheServer) {
    TempFolder folder;
    const std::string output = folder.file("server.log");
    EXPECT_EQ(ServerProcess::runToEnd({"--help"}, output), 0);
    EXPECT_NE(slurpFile(output).find("--levels DIR"), std::string::npos);
    EXPECT_EQ(ServerProcess::runToEnd({"--levels"}, output), 2);

    EXPECT_EQ(ServerProcess::runToEnd({"--listen", "127.0.0.1:0", "--db", folder.file("s.db"),
                                       "--levels", folder.file("nowhere")},
                                      output),
              1);
    EXPECT_NE(slurpFile(output).find("nowhere: no such folder"), std::string::npos)
        << slurpFile(output);
}
