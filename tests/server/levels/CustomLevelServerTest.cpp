#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "RunServerTest.hpp"
#include "online/HighscoreTable.hpp"
#include "online/client/HighscoreClient.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/run/ScoreText.hpp"

// Levels the server keeps beside the game's own four, named by the SHA-256 of
// their file: the operator's folder of levels (--levels). The Tour of its
// data folder is met in the run verification tests.

using namespace HighscoreProtocol;

namespace {

namespace fs = std::filesystem;

// First Roll as an operator's level of its own: another title (one the board
// must escape), so other bytes and another hash, and the same map.
const std::string kOperatorTitle = "Operator's <Roll> & \"Co\"";
const std::string kOperatorLevel = std::regex_replace(
    slurpFile("data/levels/tour/FirstRoll.tmx"), std::regex("value=\"First Roll\""),
    "value=\"Operator&apos;s &lt;Roll&gt; &amp; &quot;Co&quot;\"");
const std::string kOperatorHash = sha256Hex(kOperatorLevel);
const LevelIdentity kOperatorLevelId = LevelIdentity::ofFile(kOperatorHash);
// The committed run of First Roll stamped for the operator's copy, and what
// the server keeps of it: the level named as the server's folder has it.
const std::string kOperatorRun =
    withHeader(slurpFile("levels/packs/tour/runs/FirstRoll.run"), "level-sha256", kOperatorHash);
const std::string kOperatorCanonical =
    withHeader(withHeader(kOperatorRun, "level", kOperatorTitle), "file", "mine/Roll.tmx");

using CustomLevelServer = RunServerTest;
INSTANTIATE_TEST_SUITE_P(Backends, CustomLevelServer, bothBackends(), backendName);

}  // namespace

TEST_P(CustomLevelServer, AnOperatorsLevelHasATableAndRecordsOnTheBoardAndAnEditIsAnotherLevel) {
    const fs::path levels = folder.path() / "levels";
    const std::string roll = (levels / "mine" / "Roll.tmx").string();
    fs::create_directories(levels / "mine");
    writeFileBytes(roll, kOperatorLevel);
    writeFileBytes((levels / "mine" / "pack.txt").string(), "name: Mine\nRoll.tmx\n");
    writeFileBytes((levels / "Broken.tmx").string(), "<map>no level</map>");
    start({"--levels", levels.string()});
    EXPECT_EQ(post(kSubmitPath, submissionBody("plain", 1, kOperatorLevelId, encodeTime(60))).body,
              "OK\n");
    // The board lists it by its name, escaped, and with its hash.
    const std::string escaped = "Operator&#39;s &lt;Roll&gt; &amp; &quot;Co&quot;";
    const std::string front = get("/").body;
    EXPECT_NE(front.find("<h3>Tour</h3>"), std::string::npos);
    EXPECT_NE(front.find("<a href=\"/table/1/" + kOperatorHash + "\">" + escaped + "</a>"),
              std::string::npos)
        << front;
    EXPECT_EQ(front.find("<Roll>"), std::string::npos);
    const auto page = get("/table/1/" + kOperatorHash);
    EXPECT_EQ(page.status, 200);
    EXPECT_NE(page.body.find("Mine: " + escaped), std::string::npos) << page.body;
    EXPECT_NE(page.body.find("SHA-256 " + kOperatorHash), std::string::npos);
    EXPECT_NE(page.body.find("<td class=\"name\">plain</td>"), std::string::npos);
    for (const std::string& missing :
         {"/table/2/" + kOperatorHash, "/table/1/" + std::string(64, 'a'),
          "/table/1/" + kOperatorHash.substr(1), std::string("/table/01/250")}) {
        EXPECT_EQ(get(missing).status, 404) << missing;
    }

    ASSERT_EQ(verdictOf(runSubmission("bot", kOperatorRun)).body, "OK verified\n");
    const std::string where = tableQueryBody(1, kOperatorLevelId);
    EXPECT_TRUE(std::regex_search(
        post(kTablePath, where).body,
        std::regex("^1\t[-0-9]+ replay\tbot\t7\\.95\\d*\n2\t[-0-9]+\tplain\t60\n$")));
    EXPECT_EQ(post(kRunFetchPath, where + "&position=1").body, kOperatorCanonical);
    HighscoreTable table;
    EXPECT_EQ(HighscoreClient(server.address()).fetchTable(1, kOperatorLevelId, table),
              TableAnswer::table);
    EXPECT_EQ(table.recordCount(), 2u);

    // The verified record's page draws the map from the server's copy, and
    // its run downloads under the file's name.
    const std::string record = "/run/1/" + kOperatorHash + "/1";
    const std::string tableWithMap = get("/table/1/" + kOperatorHash).body;
    EXPECT_NE(tableWithMap.find("<svg class=\"map\""), std::string::npos);
    EXPECT_NE(tableWithMap.find("href=\"" + record + "\""), std::string::npos) << tableWithMap;
    EXPECT_NE(get(record).body.find("<polyline"), std::string::npos);
    const auto run = get(record + "/" + sha256Hex(kOperatorCanonical) + ".run");
    EXPECT_EQ(run.status, 200);
    EXPECT_EQ(run.body, kOperatorCanonical);
    EXPECT_NE(run.headers.find("filename=\"Roll-1-bot.run\""), std::string::npos) << run.headers;

    // The game's own levels keep their ids and tables apart.
    EXPECT_EQ(post(kTablePath, tableQueryBody(1, 250)).body, "");
    EXPECT_EQ(post(kSubmitPath, submissionBody("old", 1, 250, encodeTime(20))).body, "OK\n");
    EXPECT_TRUE(std::regex_search(post(kTablePath, tableQueryBody(1, 250)).body,
                                  std::regex("^1\t[-0-9]+\told\t20\n$")));

    const std::string log = server.log();
    EXPECT_NE(log.find("Broken.tmx left out: "), std::string::npos) << log;
    EXPECT_NE(log.find("1 custom levels from " + levels.string()), std::string::npos) << log;

    // Edited under the running server, it is another level after a restart;
    // the old file's table is kept while the server lacks its level, and no
    // request reaches it.
    const std::string kept = post(kTablePath, where).body;
    const std::string edited = kOperatorLevel + "\n";
    writeFileBytes(roll, edited);

    // Its runs cannot be replayed on the file that is no longer there...
    EXPECT_EQ(post(kRunPath, runSubmission("bot2", withHarmlessReleases(kOperatorRun, 1))).status,
              500);
    EXPECT_EQ(post(kTablePath, where).body, kept);

    // ...and after a restart the edited file has a table of its own, while
    // the old one is kept for the day the old file comes back.
    ASSERT_EQ(server.stop(), 0);
    start({"--levels", levels.string()});
    EXPECT_EQ(post(kTablePath, tableQueryBody(1, LevelIdentity::ofFile(sha256Hex(edited)))).body,
              "");
    const LevelIdentity tour = levelOfRun(slurpFile("levels/packs/tour/runs/FirstRoll.run"));
    const std::pair<std::string_view, std::string> lacked[] = {
        {kTablePath, where},
        {kSubmitPath, submissionBody("ghost", 1, kOperatorLevelId, encodeTime(5))},
        {kRunPath, runSubmission("ghost", kOperatorRun)},
        {kRunFetchPath, runQueryBody(1, kOperatorLevelId, 1)},
        // A level the server keeps, asked for in the other mode.
        {kSubmitPath, submissionBody("ghost", 2, tour, encodeTime(5))},
    };
    for (const auto& [path, body] : lacked) {
        const auto answer = post(path, body);
        EXPECT_EQ(answer.status, 404) << body.substr(0, 100);
        EXPECT_EQ(answer.body, std::string(kLevelNotOnServer) + "\n");
    }
    EXPECT_EQ(post(kNameCheckPath, nameCheckBody("ghost")).body, "OK\n");
    EXPECT_EQ(post(kTablePath, tableQueryBody(1, tour)).body, "");
    writeFileBytes(roll, kOperatorLevel);
    ASSERT_EQ(server.stop(), 0);
    start({"--levels", levels.string()});
    EXPECT_EQ(post(kTablePath, where).body, kept);
}
