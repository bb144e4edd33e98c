#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "RunServerTest.hpp"
#include "online/FormBody.hpp"
#include "sim/run/ScoreText.hpp"

// A record's run in other hands: fetched and posted again under another name,
// at a sharper claimed time, or with its comments, level name and time-ms
// changed, it is refused and the tables stay as they were. Changed in a key
// that alters nothing, it is another run that replays alike: it is kept at
// the replayed time, which ties with its owner's and so ranks behind it.

using namespace HighscoreProtocol;

namespace {

using RunTheft = RunServerTest;

// Rows of a table answer: "position TAB day TAB name TAB seconds".
std::vector<std::smatch> rowsOf(const std::string& table) {
    static const std::regex row("(\\d+)\t[^\t]*\t([^\t]*)\t([^\n]*)\n");
    return {std::sregex_iterator(table.begin(), table.end(), row), std::sregex_iterator()};
}

}  // namespace

TEST_P(RunTheft, ACopiedRunNeverRanksAboveItsOwner) {
    start();
    const CommittedRun& labyrinth = kCommittedRuns[0];
    const std::string run = slurpFile(labyrinth.file);
    ASSERT_EQ(post(kRunPath, runSubmission("owner", labyrinth, run)).body, "OK verified\n");
    const std::string where = tableQueryBody(1, 250);
    const std::string stolen = post(kRunFetchPath, where + "&position=1").body;
    ASSERT_FALSE(stolen.empty());
    const std::string before = tables();

    // 18.0496 s is the record's 18.050 to the millisecond, and faster.
    const std::string sharper = encodeTime(18.0496f);
    std::string dressed = std::regex_replace(run, std::regex("level: [^\n]+"), "level: Mine");
    dressed = "# my own run\n" +
              std::regex_replace(dressed, std::regex("time-ms: \\d+"), "time-ms: 18049");
    const struct {
        const char* what;
        std::string body;
    } copies[] = {
        {"at a sharper time",
         submissionBody("thief", 1, 250, sharper) + "&run=" + escapeFormValue(stolen)},
        {"under a second name", runSubmission("second", labyrinth, run)},
        {"with a comment, a level name and a time-ms of its own",
         submissionBody("thief", 1, 250, sharper) + "&run=" + escapeFormValue(dressed)},
    };
    for (const auto& copy : copies) {
        const auto answer = post(kRunPath, copy.body);
        EXPECT_EQ(answer.status, 400) << copy.what;
        EXPECT_EQ(answer.body, "ERROR run already on the board\n") << copy.what;
    }
    EXPECT_EQ(tables(), before);
    // The owner's own run sent again (a game whose answer got lost) is fine.
    EXPECT_EQ(post(kRunPath, runSubmission("owner", labyrinth, run)).body, "OK verified\n");
    EXPECT_EQ(tables(), before);

    // A key let go of that was never held: another run, replayed alike.
    const std::string altered = withHarmlessReleases(stolen, 1);
    ASSERT_NE(altered, stolen);
    EXPECT_EQ(post(kRunPath,
                   submissionBody("thief", 1, 250, sharper) + "&run=" + escapeFormValue(altered))
                  .body,
              "OK verified\n");
    const auto rows = rowsOf(post(kTablePath, where).body);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][2], "owner");
    EXPECT_EQ(rows[1][2], "thief");
    EXPECT_EQ(rows[1][3], rows[0][3]) << "kept at the replayed time, not the claimed one";
    EXPECT_NE(rows[1][3], "18.0496");
}

TEST_P(RunTheft, StoredRunsComeBackByteForByteWhateverTheirCommentsHeld) {
    start();
    const CommittedRun& fortified = kCommittedRuns[2];
    const std::string run = slurpFile(fortified.file);
    // A NUL and bytes that are not UTF-8, in a comment and in the level's name.
    const std::string odd("\0\xff\xfe", 3);
    const std::string sent = std::regex_replace(run, std::regex("level: [^\n]+"),
                                                "# " + odd + "\nlevel: Fortified " + odd);
    ASSERT_NE(sent.find(odd), std::string::npos);
    ASSERT_EQ(post(kRunPath, runSubmission("bytes", fortified, sent)).body, "OK verified\n");
    // Kept as the server writes the run: the committed file without its
    // comment line.
    EXPECT_EQ(post(kRunFetchPath, tableQueryBody(2, 20000) + "&position=1").body,
              run.substr(run.find('\n') + 1));
}

INSTANTIATE_TEST_SUITE_P(Stores, RunTheft, bothBackends(), backendName);
